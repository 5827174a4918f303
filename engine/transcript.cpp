// SPDX-License-Identifier: GPL-3.0-or-later
#include "transcript.h"

#include <charconv>

namespace tavoro {

std::optional<Key> parseKey(std::string_view name)
{
    for (int index : DigitIndices) {
        if (digitCaption(index) == name)
            return Key{Key::Kind::Digit, index};
    }
    for (int index : OperatorIndices) {
        if (operatorCaption(index) == name)
            return Key{Key::Kind::Operator, index};
    }
    if (name == "CA")
        return Key{Key::Kind::ClearAll};
    if (name == "CE")
        return Key{Key::Kind::ClearError};
    if (name == "CE2")
        return Key{Key::Kind::ClearError2};
    return std::nullopt;
}

void press(Calculator& calculator, const Key& key)
{
    switch (key.kind) {
    case Key::Kind::Digit:
        calculator.cmdDigit_Click(key.index);
        break;
    case Key::Kind::Operator:
        calculator.cmdOp_Click(key.index);
        break;
    case Key::Kind::ClearAll:
        calculator.lblClearAll_Click();
        break;
    case Key::Kind::ClearError:
        calculator.lblClearError_Click();
        break;
    case Key::Kind::ClearError2:
        calculator.lblClearError2_Click();
        break;
    }
}

namespace {

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char Hex[] = "0123456789abcdef";
                out += "\\u00";
                out += Hex[(c >> 4) & 0xF];
                out += Hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

// The shortest text that reads back as the same double. The engine never stores an infinity or
// a NaN, which JSON could not carry.
std::string jsonNumber(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const char* jsonBool(bool value) { return value ? "true" : "false"; }

} // namespace

std::string transcriptLine(std::string_view key, int beeps, const std::string* message,
                           const Calculator& calculator)
{
    const CalculatorState& s = calculator.state();
    const DisplayState& d = calculator.display();
    std::string line = "{\"key\":" + jsonString(key);
    line += ",\"beeps\":" + std::to_string(beeps);
    line += ",\"message\":" + (message ? jsonString(*message) : std::string("null"));
    line += ",\"dblTotal\":" + jsonNumber(s.dblTotal);
    line += ",\"dblNewNum\":" + jsonNumber(s.dblNewNum);
    line += ",\"strEntry\":" + jsonString(s.strEntry);
    line += ",\"strPendingOp\":" + jsonString(s.strPendingOp);
    line += ",\"strTapeLine\":" + jsonString(s.strTapeLine);
    line += ",\"strTapeRule\":" + jsonString(s.strTapeRule);
    line += ",\"lblDisplay\":" + jsonString(d.lblDisplay);
    line += ",\"lblNewNum\":" + jsonString(d.lblNewNum);
    line += ",\"lblOp\":" + jsonString(d.lblOp);
    line += ",\"lblNewNumVisible\":";
    line += jsonBool(d.lblNewNumVisible);
    line += ",\"lblOpVisible\":";
    line += jsonBool(d.lblOpVisible);
    line += ",\"lblSpacer1Visible\":";
    line += jsonBool(d.lblSpacer1Visible);
    line += ",\"lstEntered\":[";
    for (std::size_t i = 0; i < d.lstEntered.size(); ++i) {
        if (i > 0)
            line += ',';
        line += jsonString(d.lstEntered[i]);
    }
    line += "]}";
    return line;
}

} // namespace tavoro
