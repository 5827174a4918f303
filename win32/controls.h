// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers over Windows' own controls, shared by both windows: creating a child control (one
// of a design row, too), reading and setting texts (UTF-8 inside the program, UTF-16 at this edge).

#include "calculatordesign.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace tavoro {

// A child control of `parent` of Windows' class `className` with identifier `id`, hidden until
// shown; placed by its window's layout.
HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, DWORD exStyle, int id);

// The control of a design row as Windows' own control (owner-drawn buttons for the keys, static
// controls for the labels, edit controls for the text boxes, an owner-drawn list box for the
// tape), with its caption, alignment and visibility, identifier `id`.
HWND createDesignControl(HWND parent, const ControlDesign& row, int id);

std::wstring windowText(HWND window);
void setWindowText(HWND window, std::string_view text);
// The text of item `index` of a list box; empty for an item it does not have.
std::wstring listBoxItem(HWND list, long index);

} // namespace tavoro
