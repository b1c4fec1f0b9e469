// The sfsim tool replays the built-in player's games alike from the same seed and refuses
// bad arguments.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Runs a shell command and returns its standard output; `status` gets the exit status.
std::string Capture(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    int raw = pclose(pipe);
    status = (raw >= 0 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::string Sfsim(const std::string& arguments, int& status)
{
    return Capture(std::string(SF_BINARY_DIR "/tools/sfsim ") + arguments + " 2>/dev/null", status);
}

TEST(Replay, SfsimRunsTwiceAlike)
{
    int status1 = 0, status2 = 0;
    std::string first = Sfsim("--seed 42 --difficulty 1 --games 3", status1);
    std::string second = Sfsim("--seed 42 --difficulty 1 --games 3", status2);
    ASSERT_EQ(status1, 0);
    ASSERT_EQ(status2, 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3);
    // Another seed plays other games.
    int status3 = 0;
    EXPECT_NE(Sfsim("--seed 43 --difficulty 1 --games 3", status3), first);
}

TEST(Replay, SfsimPinnedGame)
{
    int status = 0;
    std::string output = Sfsim("--seed 7 --difficulty 0 --games 1", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(output, "game 1: score 52466 level 29 removed 645 chain 9 frames 52909 over\n");
}

TEST(Replay, SfsimRefusesBadArguments)
{
    const char* cases[] = {"--difficulty 3", "--games 0", "--seed -1", "--seed", "--seed 12x", "--colour 2"};
    for (const char* arguments : cases) {
        int status = 0;
        std::string output = Sfsim(arguments, status);
        EXPECT_EQ(status, 2) << arguments;
        EXPECT_TRUE(output.empty()) << arguments;
    }
}

}  // namespace
