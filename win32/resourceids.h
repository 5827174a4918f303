// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identifiers of the resources the Win32 front end adds to each program (read by the resource
// compiler too). The version record and the icon group 1 come from startup/windows/program.rc.in.

// The logo picture, the committed JPEG as it is.
#define TAVORO_LOGO_RESOURCE 101
