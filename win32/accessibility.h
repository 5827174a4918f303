// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What screen readers (Narrator, NVDA, JAWS) learn of the controls beyond their own text, through
// Dynamic Annotation (IAccPropServices): names in words for keys whose captions are symbols
// ("plus", "decimal point"), descriptions, the role of a label that serves as a key, and the
// displays as polite live regions whose changes are announced. Windows' standard controls expose
// everything else themselves (a button by its caption, a display by its text).

#include "comptr.h"

#include <oleacc.h>
#include <windows.h>

#include <string_view>
#include <vector>

namespace tavoro {

class Annotations {
public:
    // Needs COM initialised on the thread. Without the annotation service (a Windows or a Wine
    // that lacks it) every call does nothing: the controls keep their own names.
    Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void setName(HWND control, std::string_view name);
    void setDescription(HWND control, std::string_view description);
    // A label that serves as a key: presented as a push button.
    void setButtonRole(HWND control);
    // The control's text changes are announced politely, after what is being spoken.
    void setPoliteLiveRegion(HWND control);

    // Takes back every annotation set so far; the window calls it as its controls are destroyed.
    void clear();

    // Tells screen readers that the text of a live region has changed.
    static void announceChange(HWND control);

private:
    void remember(HWND control);

    ComPtr<IAccPropServices> m_service;
    std::vector<HWND> m_annotated;
};

} // namespace tavoro
