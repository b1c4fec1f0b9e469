// Event records and their queue.
#include <gtest/gtest.h>

#include "engine/core/PXEvent.h"

namespace {

TEST(EventQueue, FirstInFirstOutAndNeverDrops)
{
    PXEventQueue queue;
    for (int i = 0; i < 10000; ++i)
        queue.Push(EventKeyDown, i);
    EXPECT_EQ(queue.Size(), 10000u);
    PXEvent event;
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(queue.Pop(event));
        ASSERT_EQ(event.type, EventKeyDown);
        ASSERT_EQ(event.value, i);
    }
    EXPECT_FALSE(queue.Pop(event));
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(EventQueue, MousePositionsKeepTheirSign)
{
    struct Case { int x, y; };
    for (Case c : {Case{0, 0}, Case{639, 479}, Case{-5, 12}, Case{300, -1}, Case{-32768, 32767}}) {
        int32_t packed = PackMousePosition(c.x, c.y);
        EXPECT_EQ(MouseX(packed), c.x);
        EXPECT_EQ(MouseY(packed), c.y);
    }
}

TEST(EventQueue, HighCharactersArriveAsNegativeCodes)
{
    EXPECT_EQ(CharKeyCode('a'), 97);
    EXPECT_EQ(CharKeyCode(27), KeyEscape);
    EXPECT_EQ(CharKeyCode(0xE9), -23);
    EXPECT_EQ(CharKeyCode(0xFF), -1);
    EXPECT_EQ(CharKeyCode(0x80), -128);
}

}  // namespace
