// SPDX-License-Identifier: GPL-3.0-or-later
// tavoro-keys: drives the calculator engine without a window.
//
//   tavoro-keys 1 2 + 3 =        keys as arguments
//   echo "1 2 + 3 =" | tavoro-keys   or whitespace-separated on standard input
//
// It starts from the window's state after loading, answers every message box at once and prints
// one JSON line per press (see transcript.h). Unknown keys are reported before anything is pressed.

#include "recordingservices.h"
#include "transcript.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> names(argv + 1, argv + argc);
    if (names.empty()) {
        for (std::string word; std::cin >> word;)
            names.push_back(word);
    }

    std::vector<tavoro::Key> keys;
    for (const std::string& name : names) {
        const auto key = tavoro::parseKey(name);
        if (!key) {
            std::cerr << "tavoro-keys: unknown key '" << name << "'\n";
            return 2;
        }
        keys.push_back(*key);
    }

    tavoro::RecordingServices services;
    tavoro::Calculator calculator(services);
    calculator.hideNewNumberBar();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        services.reset();
        tavoro::press(calculator, keys[i]);
        const std::string* message = services.messages.empty() ? nullptr : &services.messages.back();
        std::cout << tavoro::transcriptLine(names[i], services.beeps, message, calculator) << '\n';
    }
    return 0;
}
