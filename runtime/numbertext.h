// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between numbers and text, the way the calculator shows and reads them.
// Plain C++ only and independent of the process locale: the decimal separator is always ".".

#include <string>
#include <string_view>

namespace tavoro {

// The value of the longest leading decimal number in `text` (digits with at most one point;
// a leading point starts the fraction). Reading stops at the first character that cannot
// continue the number, a second point included. An empty number or "." alone is 0. The result
// is the double nearest to the decimal value; a value beyond the double range gives +infinity.
double valueOfText(std::string_view text);

// The display form of a number: like C's "%.15G" (at most 15 significant digits, no trailing
// zeros, exponent form "1E+15" / "1E-05" outside 1E-05 <= |x| < 1E+15). Negative zero is "0".
std::string plainText(double value);

// The tape form: a sign position (" " or "-") followed by the plain text of the magnitude.
// Negative zero counts as zero: " 0".
std::string signedText(double value);

} // namespace tavoro
