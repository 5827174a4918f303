// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What screen readers and other assistive tools (AT-SPI on Linux, through Qt's accessibility
// support) learn about the calculator window: a spoken name for every key, clear label, text box,
// display bar and the tape; the tool tips as descriptions; the keys, the clear labels and the text
// boxes with a "press" action that runs their click at once; the display bars' text through the
// text interface; each tape line as it is added; and after every press, the words a screen reader
// says of what changed (announce()), as an announcement where Qt has them (6.8 on), else
// through a hidden notification.
//
// Qt's own interfaces serve the menus and the tape; the keys, labels and text boxes get ours, whose
// text offsets are characters (accessibletext.h). Every AT-SPI call passes a guard of ours before
// it reaches Qt's bridge (atspiguard.h).

class QLabel;
struct QMetaObject;
class QString;
class QWidget;

namespace tavoro {

// Installs the accessible interfaces of the keys (every push button), the design labels, the text
// boxes and the announcer, and the guard in front of the AT-SPI bridge. Qt keeps the interface it
// first made for a widget, so this must run before the first of them is created; repeated calls
// do nothing.
void installAccessibleInterfaces();

// Presents the windows of `windowClass`, a plain QWidget subclass, as windows. Qt takes such a
// widget for a mere filler, which screen readers neither name as a window nor announce when it
// opens. Call it before the first such window is created.
void presentAsWindow(const QMetaObject& windowClass);

// Gives the controls of the calculator window's client area their names in words. The text boxes'
// names follow their tool tips, which change with the tape's state ("show entries tape",
// "hide entries tape"). Lines added to the tape are reported from now on.
void nameControlsForAssistiveTools(QWidget* client);

// Sets a display label's caption and, when it changed, tells assistive tools the old text went
// and the new text came.
void setDisplayText(QLabel* label, const QString& text);

// Has the screen reader say `words`, what a press changed, through a hidden notification of
// `window`, whose accessible name holds them: as an announcement of it where Qt has them, else
// by showing it to assistive tools. Call it once the window shows what the press did.
void announce(QWidget* window, const QString& words);

} // namespace tavoro
