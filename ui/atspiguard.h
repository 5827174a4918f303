// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code of ours in front of Qt's AT-SPI bridge. Qt 6.4's bridge trusts every call an assistive
// tool makes, and some calls froze or crashed the program, or wrote outside a text, before any
// accessible interface of ours was asked anything. The guard sees each call first: it refuses
// calls whose arguments Qt would read past, answers the calls Qt answers wrongly or never, and
// passes everything else on to Qt unchanged.

namespace tavoro {

// Puts the guard in front of Qt's bridge as soon as the bridge starts (when an assistive tool
// switches accessibility on), and at once if it runs already. Where there is no AT-SPI bridge
// (the offscreen platform, no accessibility bus) it does nothing. Repeated calls do nothing more.
void guardAssistiveToolCalls();

} // namespace tavoro
