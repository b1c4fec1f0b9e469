// The pxapack program: pack a folder, list it, and cat every member back byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

struct ToolRun {
    int status;
    std::string output;
};

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ToolRun Pxapack(const std::vector<std::string>& args)
{
    std::string command = Quote(std::string(SF_BINARY_DIR) + "/tools/pxapack");
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " 2>/dev/null";
    ToolRun run{-1, std::string()};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0)
        run.output.append(chunk, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(PxapackToolTest, PacksListsAndCatsEveryMemberBack)
{
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary.push_back(static_cast<char>((i * 31) ^ (i >> 3)));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Shardfall/Images/Tri_Blue.img", binary},
        {"Shardfall/Sounds/Drop.wav", std::string("RIFF\0\0\r\n\xFF", 9)},
        {"Shardfall/empty.txt", ""},
        {"config.cfg", "ShowFPS 1\r\n"},
    };
    for (const auto& file : files)
        dir.Write("content/" + file.first, file.second);
    std::string archive = dir.Folder() + "out.pxa";

    ASSERT_EQ(Pxapack({"pack", archive, dir.Folder() + "content"}).status, 0);
    std::string first = dir.Read("out.pxa");

    ToolRun list = Pxapack({"list", archive});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.output,
              "Shardfall/Images/Tri_Blue.img\nShardfall/Sounds/Drop.wav\nShardfall/empty.txt\nconfig.cfg\n");
    for (const auto& file : files) {
        ToolRun cat = Pxapack({"cat", archive, file.first});
        EXPECT_EQ(cat.status, 0) << file.first;
        EXPECT_EQ(cat.output, file.second) << file.first;
    }
    // The archive's own lookup: any case, either slash.
    ToolRun folded = Pxapack({"cat", archive, "SHARDFALL\\sounds\\drop.WAV"});
    EXPECT_EQ(folded.status, 0);
    EXPECT_EQ(folded.output, files[1].second);
    EXPECT_EQ(Pxapack({"cat", archive, "Shardfall/missing"}).status, 1);

    // Packing the same folder again gives the same bytes.
    ASSERT_EQ(Pxapack({"pack", archive, dir.Folder() + "content/"}).status, 0);
    EXPECT_EQ(dir.Read("out.pxa"), first);
}

TEST(PxapackToolTest, RefusesBadArgumentsAndNonArchives)
{
    TempDir dir;
    dir.Write("plain.txt", "not an archive");
    EXPECT_EQ(Pxapack({}).status, 2);
    EXPECT_EQ(Pxapack({"unpack", "x"}).status, 2);
    EXPECT_EQ(Pxapack({"list", dir.Folder() + "plain.txt"}).status, 1);
    EXPECT_EQ(Pxapack({"list", dir.Folder() + "absent.pxa"}).status, 1);
    EXPECT_EQ(Pxapack({"cat", dir.Folder() + "plain.txt", "a"}).status, 1);
    EXPECT_EQ(Pxapack({"pack", dir.Folder() + "no/such/folder/out.pxa", dir.Folder()}).status, 1);
}

}  // namespace
