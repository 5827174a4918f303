// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator.h"
#include "recordingservices.h"
#include "transcript.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace tavoro {
namespace {

struct RunResult {
    std::string out;
    int status = -1;
};

const std::string Keys = std::string("'") + TAVORO_KEYS_PATH + "'";

// Runs a shell command line with the real key runner in it, so that argument and standard input
// handling are covered too.
RunResult run(const std::string& commandLine)
{
    RunResult result;
    const std::string command = commandLine + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const char* const Last12Plus3 =
    R"({"key":"=","beeps":1,"message":null,"dblTotal":15,"dblNewNum":0,"strEntry":"",)"
    R"("strPendingOp":"=","strTapeLine":"+ 3","strTapeRule":"-----------------------",)"
    R"("lblDisplay":"15","lblNewNum":"","lblOp":"","lblNewNumVisible":false,"lblOpVisible":false,)"
    R"("lblSpacer1Visible":false,"lstEntered":["   12","+ 3","-----------------------","=  15"]})";

TEST(KeyRunner, PrintsOneLinePerPress)
{
    for (const std::string& commandLine : {Keys + " 1 2 + 3 =", "printf '1 2\\n+ 3\\t=' | " + Keys}) {
        SCOPED_TRACE(commandLine);
        const RunResult result = run(commandLine);
        EXPECT_EQ(result.status, 0);
        std::size_t lines = 0;
        std::size_t lastStart = 0;
        for (std::size_t i = 0; i + 1 < result.out.size(); ++i) {
            if (result.out[i] == '\n') {
                ++lines;
                lastStart = i + 1;
            }
        }
        EXPECT_EQ(lines + 1, 5u);
        EXPECT_EQ(result.out.substr(lastStart), std::string(Last12Plus3) + "\n");
    }
}

TEST(KeyRunner, UnknownKeyPressesNothing)
{
    const RunResult result = run(Keys + " 1 + Q 2");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "tavoro-keys: unknown key 'Q'\n");
}

TEST(Transcript, RecordsMessagesAndEscapes)
{
    RecordingServices services;
    Calculator calc(services);
    calc.hideNewNumberBar();
    calc.cmdOp_Click(0);
    const std::string message = "a \"quoted\" \\ text\n";
    const std::string line = transcriptLine("+", services.beeps, &message, calc);
    EXPECT_NE(line.find(R"("beeps":1,"message":"a \"quoted\" \\ text\u000a","dblTotal":0,)"),
              std::string::npos)
        << line;
}

TEST(Transcript, NumbersReadBackExactly)
{
    RecordingServices services;
    Calculator calc(services);
    for (int index : {1, 11, 1})
        calc.cmdDigit_Click(index);
    calc.cmdOp_Click(3);
    calc.cmdDigit_Click(3);
    calc.cmdOp_Click(5); // 1.1 / 3
    const std::string line = transcriptLine("=", 0, nullptr, calc);
    const auto at = line.find("\"dblTotal\":") + 11;
    EXPECT_EQ(std::stod(line.substr(at)), 1.1 / 3);
}

} // namespace
} // namespace tavoro
