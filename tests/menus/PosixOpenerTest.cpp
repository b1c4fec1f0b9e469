// The POSIX document opener, run against a stand-in "xdg-open" script found through PATH:
// it is started detached and not waited for, leaves no child behind, and reports failures.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXOpenDocument.h"
#include "platform/posix/PXPosixDocumentOpener.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

// Records its argument, its standard streams and its session into "marker", then holds on
// until "release" appears (10 s at most) and leaves "done".
const char* const FakeOpener =
    "#!/bin/sh\n"
    "PATH=/usr/bin:/bin\n"
    "d=$(dirname \"$0\")\n"
    "in=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2)\n"
    "sid=$(cut -d' ' -f6 /proc/$$/stat)\n"
    "printf '%s\\n%s\\n%s\\n%s\\n%s\\n' \"$1\" \"$in\" \"$out\" \"$err\" \"$sid\" > \"$d/marker.tmp\"\n"
    "mv \"$d/marker.tmp\" \"$d/marker\"\n"
    "i=0\n"
    "while [ ! -e \"$d/release\" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i+1)); done\n"
    ": > \"$d/done\"\n";

class PosixOpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* path = std::getenv("PATH");
        m_hadPath = path != nullptr;
        m_path = m_hadPath ? path : "";
        setenv("PATH", bin.Path().c_str(), 1);
        g_settings = &settings;
    }
    void TearDown() override
    {
        if (m_hadPath) {
            setenv("PATH", m_path.c_str(), 1);
        } else {
            unsetenv("PATH");
        }
        g_settings = nullptr;
    }
    void InstallOpener(const std::string& script, mode_t mode = 0755)
    {
        bin.Write("xdg-open", script);
        ASSERT_EQ(chmod((bin.Path() / "xdg-open").c_str(), mode), 0);
    }
    // Waits (bounded) for a file the opener writes.
    bool WaitFor(const std::string& name)
    {
        for (int i = 0; i < 1000; ++i) {
            if (std::filesystem::exists(bin.Path() / name)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    TempDir bin;
    TempDir data;
    FakeSettingsManager settings{data.Folder()};

private:
    bool m_hadPath = false;
    std::string m_path;
};

TEST_F(PosixOpenerTest, StartsTheOpenerDetachedWithoutWaiting)
{
    InstallOpener(FakeOpener);
    const std::string target = "/some folder/Shardfall/about.html";
    ASSERT_EQ(PXPosixOpenDocument(target), 1);

    // The call is back while the opener is still holding on, and no child of ours is left
    // to reap: the opener belongs to the system.
    ASSERT_TRUE(WaitFor("marker"));
    EXPECT_FALSE(std::filesystem::exists(bin.Path() / "done"));
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    const std::string expected = target + "\n/dev/null\n/dev/null\n/dev/null\n";
    const std::string marker = bin.Read("marker");
    ASSERT_EQ(marker.substr(0, expected.size()), expected);
    const long session = std::atol(marker.c_str() + expected.size());
    EXPECT_GT(session, 0);
    EXPECT_NE(session, static_cast<long>(getsid(0)));

    bin.Write("release", "");
    EXPECT_TRUE(WaitFor("done"));
}

TEST_F(PosixOpenerTest, FailureToStartIsLoggedAndReported)
{
    struct Case {
        const char* what;
        const char* script;  // none: no opener in PATH
        mode_t mode;
    };
    const Case cases[] = {
        {"no opener in PATH", nullptr, 0755},
        {"opener not executable", "#!/bin/sh\nexit 0\n", 0644},
        {"opener cannot be exec'd", "#!/nonexistent/interpreter\n", 0755},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(bin.Path() / "xdg-open");
        std::filesystem::remove(data.Path() / "log.txt");
        if (c.script != nullptr) {
            InstallOpener(c.script, c.mode);
        }
        EXPECT_EQ(PXPosixOpenDocument("https://shardfall.example/"), 0) << c.what;
        EXPECT_NE(data.Read("log.txt").find("xdg-open"), std::string::npos) << c.what;
        errno = 0;
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << c.what;
    }
}

TEST_F(PosixOpenerTest, InstallPublishesHandlerAndProgramFolder)
{
    const PXDocumentHandler previousHandler = GetDocumentHandler();
    const std::string previousFolder = GetProgramFolder();

    PXPosixInstallDocumentOpener();
    EXPECT_EQ(GetDocumentHandler(), &PXPosixOpenDocument);
    const std::string expected = std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
    EXPECT_EQ(GetProgramFolder(), expected);
    EXPECT_EQ(PXPosixProgramFolder(), expected);

    SetDocumentHandler(previousHandler);
    SetProgramFolder(previousFolder);
}

}  // namespace
