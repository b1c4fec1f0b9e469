// The command line: what each option line asks for, and what the program answers before
// the game starts (text and exit code).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/SFCommandLine.h"

namespace {

using Action = SFCommandLine::Action;

struct LineCase {
    std::vector<std::string> args;
    Action action;
    int32_t fullScreen;
    std::string dataFolder;
    std::string problem;  // a part of it
};

TEST(CommandLine, ReadsEveryOption)
{
    const LineCase cases[] = {
        {{}, Action::Play, -1, "", ""},
        {{"--windowed"}, Action::Play, 0, "", ""},
        {{"--fullscreen"}, Action::Play, 1, "", ""},
        {{"--fullscreen", "--windowed"}, Action::Play, 0, "", ""},
        {{"--data", "/opt/game data"}, Action::Play, -1, "/opt/game data", ""},
        {{"--data=/srv/sf", "--fullscreen"}, Action::Play, 1, "/srv/sf", ""},
        {{"--help"}, Action::Help, -1, "", ""},
        {{"-h"}, Action::Help, -1, "", ""},
        {{"--version"}, Action::Version, -1, "", ""},
        {{"--version", "--help"}, Action::Help, -1, "", ""},
        {{"--bogus"}, Action::Usage, -1, "", "unknown option: --bogus"},
        {{"--help", "extra"}, Action::Usage, -1, "", "unknown option: extra"},
        {{"--data"}, Action::Usage, -1, "", "--data needs a folder"},
        {{"--data="}, Action::Usage, -1, "", "--data needs a folder"},
        {{"--data", ""}, Action::Usage, -1, "", "--data needs a folder"},
    };
    for (const LineCase& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) {
            shown += "[" + a + "]";
        }
        SCOPED_TRACE(shown);
        const SFCommandLine line = SFParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        if (c.action == Action::Usage) {
            EXPECT_NE(line.problem.find(c.problem), std::string::npos) << line.problem;
            continue;
        }
        EXPECT_EQ(line.fullScreen, c.fullScreen);
        EXPECT_EQ(line.dataFolder, c.dataFolder);
    }
}

// The text written to a stream, read back.
class Captured {
public:
    Captured() : m_file(std::tmpfile()) {}
    ~Captured()
    {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    std::FILE* Get() const { return m_file; }
    std::string Text() const
    {
        std::string text;
        std::rewind(m_file);
        for (int c = std::fgetc(m_file); c != EOF; c = std::fgetc(m_file)) {
            text += static_cast<char>(c);
        }
        return text;
    }

private:
    std::FILE* m_file;
};

TEST(CommandLine, AnswersHelpVersionAndRefusalsBeforeTheGameStarts)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;  // a part of what reaches the output; empty: nothing does
        std::string err;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--data DIR", ""},
        {{"--version"}, 0, std::string("Shardfall ") + SF_VERSION + "\n", ""},
        {{"--nonsense"}, SFExitUsage, "", "unknown option: --nonsense"},
        {{"--windowed"}, -1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        Captured out, err;
        ASSERT_NE(out.Get(), nullptr);
        ASSERT_NE(err.Get(), nullptr);
        EXPECT_EQ(SFAnswerCommandLine(SFParseCommandLine(c.args), out.Get(), err.Get()), c.code);
        if (c.out.empty()) {
            EXPECT_EQ(out.Text(), "");
        } else {
            EXPECT_NE(out.Text().find(c.out), std::string::npos) << out.Text();
        }
        if (c.err.empty()) {
            EXPECT_EQ(err.Text(), "");
        } else {
            // A refused line also shows the usage, so the player sees what would work.
            EXPECT_NE(err.Text().find(c.err), std::string::npos) << err.Text();
            EXPECT_NE(err.Text().find("--help"), std::string::npos) << err.Text();
        }
    }
}

}  // namespace
