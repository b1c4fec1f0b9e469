// The POSIX file manager's own name matching, which stands in for the case-insensitive
// search a Windows host does itself.
#include <gtest/gtest.h>

#include "platform/posix/PXPosixFileManager.h"

namespace {

TEST(PosixFileManagerTest, PatternsMatchWholeNamesWithoutCase)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.pxa", "Data.PXA", true}, {"*.pxa", "data.pxa.bak", false},
        {"*.*", "README", true},     {"*", "anything", true},
        {"a?c", "abc", true},        {"a?c", "ac", false},
        {"*.ent", ".ent", true},     {"x*y*z", "xaaybbz", true},
        {"x*y*z", "xaaybb", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PXPosixFileManager::MatchPattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

}  // namespace
