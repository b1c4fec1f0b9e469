// Runs the end-to-end scenario scripts against the built game; a script that finds its X
// tools missing exits 77 and the test is skipped.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int RunScript(const std::string& name, const std::string& arguments = "")
{
    const std::string command =
        "bash '" SF_SOURCE_DIR "/tests/e2e/" + name + "' '" SF_BINARY_DIR "/game' " + arguments + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(EndToEnd, WindowModesAndOrderlyShutdown)
{
    const int code = RunScript("window_modes.sh");
    if (code == 77) {
        GTEST_SKIP() << "Xvfb, openbox, xdotool, x11-utils or ImageMagick not installed";
    }
    EXPECT_EQ(code, 0);
}

TEST(EndToEnd, PlayerGoesThroughEveryScreenLosesAGameAndKeepsTheScore)
{
    const int code = RunScript("playthrough.sh");
    if (code == 77) {
        GTEST_SKIP() << "Xvfb, openbox, xdotool, x11-utils or ImageMagick not installed";
    }
    EXPECT_EQ(code, 0);
}

TEST(EndToEnd, FocusLossAfterFullScreenSwitchesPausesTheGame)
{
    const int code = RunScript("focus_after_fullscreen.sh");
    if (code == 77) {
        GTEST_SKIP() << "Xvfb, openbox, xdotool, x11-utils or ImageMagick not installed";
    }
    EXPECT_EQ(code, 0);
}

// A minute of the long soak (scripts/soak runs ten): only the sanitizer build, where the game
// runs with the leak check and every address and undefined-behaviour check.
#if defined(__SANITIZE_ADDRESS__)
TEST(EndToEnd, SoakMinuteStaysCleanAndFlat)
{
    const int code = RunScript("soak.sh", "60");
    if (code == 77) {
        GTEST_SKIP() << "Xvfb, openbox, xdotool, x11-utils or ImageMagick not installed";
    }
    EXPECT_EQ(code, 0);
}
#endif
