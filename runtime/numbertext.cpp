// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace tavoro {

double valueOfText(std::string_view text)
{
    std::size_t end = 0;
    bool seenPoint = false;
    bool seenNonZeroBeforePoint = false;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!seenPoint && c != '0')
                seenNonZeroBeforePoint = true;
        } else {
            break;
        }
    }
    const std::string_view number = text.substr(0, end);
    if (number.empty() || number == ".")
        return 0.0;

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // The text has no exponent, so a range error is an overflow exactly when a non-zero digit
        // stands before the point; otherwise the value is too small for even a subnormal double.
        return seenNonZeroBeforePoint ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return ec == std::errc() ? value : 0.0;
}

std::string plainText(double value)
{
    if (value == 0.0)
        return "0"; // also for -0, which "%G" would print as "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text;
}

std::string signedText(double value)
{
    std::string text(1, value < 0.0 ? '-' : ' ');
    text += plainText(std::fabs(value));
    return text;
}

} // namespace tavoro
