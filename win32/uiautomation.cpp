// SPDX-License-Identifier: GPL-3.0-or-later
#include "uiautomation.h"

#include <string>

namespace tavoro::uia {

FARPROC coreFunction(const char* name)
{
    // Loaded once and kept for the life of the process; by its full path in Windows' own folder,
    // never from the program's folder or the current one.
    static const HMODULE core = [] {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return HMODULE{};
        return LoadLibraryW((std::wstring(folder, length) + L"\\uiautomationcore.dll").c_str());
    }();
    return core != nullptr ? GetProcAddress(core, name) : nullptr;
}

} // namespace tavoro::uia
