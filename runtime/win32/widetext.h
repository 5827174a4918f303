// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where text crosses between the program's UTF-8 (std::string, the engine's and the
// designs' texts) and Windows' UTF-16 (the W functions). Everything inside the program stays UTF-8;
// wide strings exist only at the edge, in the calls that take or give them.

#include <string>
#include <string_view>

namespace tavoro {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

} // namespace tavoro
