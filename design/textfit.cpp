// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfit.h"

#include <cmath>

namespace tavoro {

double fittingPointSize(double designPoints, int width, const std::function<int(double)>& widthAt)
{
    if (designPoints <= MinimumFitPoints || widthAt(designPoints) <= width)
        return designPoints;
    // The sizes below the design's, in quarter points: steps 0 (the minimum) to `top`. Find the
    // largest that fits by halving, with widthAt(step(low)) <= width < widthAt(step(high)).
    const auto step = [](int n) { return MinimumFitPoints + n * FitPointStep; };
    int low = 0;
    int high = static_cast<int>(std::ceil((designPoints - MinimumFitPoints) / FitPointStep));
    if (widthAt(step(low)) > width)
        return MinimumFitPoints;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (widthAt(step(middle)) <= width)
            low = middle;
        else
            high = middle;
    }
    return step(low);
}

namespace {

// The length of the UTF-8 character that starts at `text[at]`.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    std::size_t length = 1;
    while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

} // namespace

std::vector<std::string_view> wrapAnywhere(std::string_view line, int width,
    const std::function<int(std::string_view)>& widthOf)
{
    std::vector<std::string_view> rows;
    while (!line.empty()) {
        if (widthOf(line) <= width) {
            rows.push_back(line);
            return rows;
        }
        // The longest start of the line that fits, one character at least.
        std::size_t fits = characterLength(line, 0);
        for (std::size_t next = fits; next < line.size(); next += characterLength(line, next)) {
            const std::size_t longer = next + characterLength(line, next);
            if (widthOf(line.substr(0, longer)) > width)
                break;
            fits = longer;
        }
        rows.push_back(line.substr(0, fits));
        line.remove_prefix(fits);
    }
    if (rows.empty())
        rows.push_back(line);
    return rows;
}

} // namespace tavoro
