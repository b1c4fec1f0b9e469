// Window messages to engine events: clicks with their positions, the key table,
// sign-extended characters, activation, and mouse positions mapped through the letterboxed
// view into frame pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "engine/core/PXCodePage1252.h"
#include "platform/win32/PXWin32EventTranslator.h"

namespace {

std::vector<PXEvent> Drain(PXEventQueue& queue)
{
    std::vector<PXEvent> out;
    PXEvent e;
    while (queue.Pop(e))
        out.push_back(e);
    return out;
}

struct MessageCase {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    PXWin32WindowAction action;
    std::vector<PXEvent> events;
};

TEST(Win32EventTranslator, MessagesQueueTheirEvents)
{
    const std::vector<MessageCase> cases = {
        // A click brings its own position first.
        {"left down", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(30, 40)}, {EventLeftDown, 0}}},
        {"left up", WM_LBUTTONUP, 0, MAKELPARAM(639, 0), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(639, 0)}, {EventLeftUp, 0}}},
        {"right down", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(1, 2)}, {EventRightDown, 0}}},
        {"right up", WM_RBUTTONUP, 0, MAKELPARAM(320, 479), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(320, 479)}, {EventRightUp, 0}}},
        {"middle down", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 6), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(5, 6)}, {EventMiddleDown, 0}}},
        {"middle up", WM_MBUTTONUP, 0, MAKELPARAM(7, 8), PXWin32WindowAction::Handled,
         {{EventMouseMove, PackMousePosition(7, 8)}, {EventMiddleUp, 0}}},
        {"arrow up", WM_KEYDOWN, VK_UP, 0, PXWin32WindowAction::Handled, {{EventKeyDown, KeyArrowUp}}},
        {"shift up", WM_KEYUP, VK_SHIFT, 0, PXWin32WindowAction::Handled, {{EventKeyUp, KeyShift}}},
        {"page down", WM_KEYDOWN, VK_NEXT, 0, PXWin32WindowAction::Handled, {{EventKeyDown, KeyPageDown}}},
        {"home up", WM_KEYUP, VK_HOME, 0, PXWin32WindowAction::Handled, {{EventKeyUp, KeyHome}}},
        {"F7", WM_KEYDOWN, VK_F7, 0, PXWin32WindowAction::Handled, {{EventKeyDown, KeyF7}}},
        {"F12 up", WM_KEYUP, VK_F12, 0, PXWin32WindowAction::Handled, {{EventKeyUp, KeyF12}}},
        {"F10 as a system key", WM_SYSKEYDOWN, VK_F10, 0, PXWin32WindowAction::Handled, {{EventKeyDown, KeyF10}}},
        {"Alt+F4 stays the system's", WM_SYSKEYDOWN, VK_F4, 0, PXWin32WindowAction::Default, {}},
        {"a letter key has no key event", WM_KEYDOWN, 'A', 0, PXWin32WindowAction::Handled, {}},
        {"character", WM_CHAR, 'a', 0, PXWin32WindowAction::Handled, {{EventKeyDown, 'a'}}},
        {"Escape character", WM_CHAR, 27, 0, PXWin32WindowAction::Handled, {{EventKeyDown, KeyEscape}}},
        {"byte above 127 is negative", WM_CHAR, 0xE9, 0, PXWin32WindowAction::Handled, {{EventKeyDown, -23}}},
        {"activated", WM_ACTIVATEAPP, TRUE, 0, PXWin32WindowAction::Handled, {{EventActivate, 0}}},
        {"deactivated", WM_ACTIVATEAPP, FALSE, 0, PXWin32WindowAction::Handled, {{EventDeactivate, 0}}},
        {"paint", WM_PAINT, 0, 0, PXWin32WindowAction::Repaint, {}},
        {"close", WM_CLOSE, 0, 0, PXWin32WindowAction::Close, {}},
        {"other", WM_TIMER, 0, 0, PXWin32WindowAction::Default, {}},
    };
    const PXWin32EventTranslator translator;
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.what);
        PXEventQueue queue;
        EXPECT_EQ(translator.Translate(c.message, c.wParam, c.lParam, queue), c.action);
        const std::vector<PXEvent> got = Drain(queue);
        ASSERT_EQ(got.size(), c.events.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].type, c.events[i].type);
            EXPECT_EQ(got[i].value, c.events[i].value);
        }
    }
}

TEST(Win32EventTranslator, MousePositionsAreFramePixels)
{
    PXWin32EventTranslator translator;
    translator.SetView(PXLetterbox(1280, 1024, 640, 480), 640, 480);
    PXEventQueue queue;
    translator.Translate(WM_MOUSEMOVE, 0, MAKELPARAM(1279, 991), queue);
    translator.Translate(WM_MOUSEMOVE, 0, MAKELPARAM(0, 10), queue);  // in the top bar
    const std::vector<PXEvent> got = Drain(queue);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(MouseX(got[0].value), 639);
    EXPECT_EQ(MouseY(got[0].value), 479);
    EXPECT_EQ(MouseX(got[1].value), 0);
    EXPECT_LT(MouseY(got[1].value), 0);

    // A frame pixel sent to the client and read back is the same pixel, at any scale.
    for (int32_t x : {0, 1, 319, 639}) {
        const PXPoint client = translator.FrameToClient(x, 479 - x % 480);
        const PXPoint back = translator.ClientToFrame(client.x, client.y);
        EXPECT_EQ(back.x, x);
        EXPECT_EQ(back.y, 479 - x % 480);
    }
}

// The ANSI window types Windows-1252 bytes; they must be the characters the engine's
// table (which the SDL build converts typed text with and the fonts are drawn from) says
// they are, and arrive sign-extended like the SDL build's.
TEST(Win32EventTranslator, AnsiCharactersAgreeWithTheEnginesCodePage)
{
    const PXWin32EventTranslator translator;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        SCOPED_TRACE(byte);
        const char ansi = static_cast<char>(byte);
        WCHAR wide = 0;
        ASSERT_EQ(1, MultiByteToWideChar(1252, 0, &ansi, 1, &wide, 1));
        const uint32_t codePoint = CodePage1252ToUnicode(static_cast<unsigned char>(byte));
        // Windows maps the five unassigned bytes to the C1 controls of the same value.
        EXPECT_EQ(codePoint != 0 ? codePoint : static_cast<uint32_t>(byte), static_cast<uint32_t>(wide));
        PXEventQueue queue;
        translator.Translate(WM_CHAR, static_cast<WPARAM>(byte), 0, queue);
        const std::vector<PXEvent> got = Drain(queue);
        ASSERT_EQ(1u, got.size());
        EXPECT_EQ(static_cast<int8_t>(byte), got[0].value);
    }
}

}  // namespace
