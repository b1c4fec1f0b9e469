// SDL events become the engine's input events as a window would deliver them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sdl/PXSDLEventTranslator.h"

namespace {

std::vector<PXEvent> Drain(PXEventQueue& queue)
{
    std::vector<PXEvent> events;
    PXEvent e;
    while (queue.Pop(e))
        events.push_back(e);
    return events;
}

SDL_Event Key(Uint32 type, SDL_Keycode sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event Text(const char* utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    return e;
}

SDL_Event Window(Uint8 which)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    return e;
}

TEST(EventTranslator, SpecialKeysGoDownAndUp)
{
    struct Case { SDL_Keycode sym; int32_t code; };
    const Case cases[] = {
        {SDLK_UP, 256}, {SDLK_DOWN, 257}, {SDLK_RIGHT, 258}, {SDLK_LEFT, 259},
        {SDLK_LCTRL, 260}, {SDLK_RCTRL, 260}, {SDLK_LSHIFT, 261}, {SDLK_RSHIFT, 261},
        {SDLK_PAGEUP, 262}, {SDLK_PAGEDOWN, 263}, {SDLK_HOME, 264}, {SDLK_END, 265},
        {SDLK_F1, 268}, {SDLK_F7, 274}, {SDLK_F12, 279},
    };
    PXSDLEventTranslator translator;
    for (const Case& c : cases) {
        PXEventQueue queue;
        translator.Translate(Key(SDL_KEYDOWN, c.sym), queue);
        translator.Translate(Key(SDL_KEYUP, c.sym), queue);
        auto events = Drain(queue);
        ASSERT_EQ(events.size(), 2u) << c.sym;
        EXPECT_EQ(events[0].type, EventKeyDown);
        EXPECT_EQ(events[0].value, c.code);
        EXPECT_EQ(events[1].type, EventKeyUp);
        EXPECT_EQ(events[1].value, c.code);
    }
}

TEST(EventTranslator, ControlCharactersOnlyOnPress)
{
    struct Case { SDL_Keycode sym; int32_t code; };
    const Case cases[] = {{SDLK_ESCAPE, 27}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}};
    PXSDLEventTranslator translator;
    for (const Case& c : cases) {
        PXEventQueue queue;
        translator.Translate(Key(SDL_KEYDOWN, c.sym), queue);
        translator.Translate(Key(SDL_KEYUP, c.sym), queue);
        auto events = Drain(queue);
        ASSERT_EQ(events.size(), 1u) << c.sym;
        EXPECT_EQ(events[0].type, EventKeyDown);
        EXPECT_EQ(events[0].value, c.code);
    }
}

TEST(EventTranslator, LetterKeysComeOnlyAsText)
{
    PXSDLEventTranslator translator;
    PXEventQueue queue;
    translator.Translate(Key(SDL_KEYDOWN, SDLK_a), queue);
    translator.Translate(Key(SDL_KEYUP, SDLK_a), queue);
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(EventTranslator, TextBecomesSignExtendedBytes)
{
    struct Case { const char* utf8; std::vector<int32_t> codes; };
    const Case cases[] = {
        {"a", {97}},
        {"P s", {80, 32, 115}},
        {"\xC3\xA9", {-23}},            // e acute, U+00E9 = 0xE9
        {"\xC3\x89", {-55}},            // E acute, 0xC9
        {"\xC3\xBF", {-1}},             // U+00FF
        {"\xE2\x82\xAC", {-128}},       // euro sign: Windows-1252 0x80
        {"\xC2\x85", {}},               // C1 control: not a character of the code page
        {"x\xD0\x96\xF0\x9F\x98\x80y", {120, 121}},  // outside the code page: dropped
        {"\xC3", {}},                   // truncated sequence
        {"a\x80\xC3z", {97, 122}},      // stray continuation, lead cut short
    };
    PXSDLEventTranslator translator;
    for (const Case& c : cases) {
        PXEventQueue queue;
        translator.Translate(Text(c.utf8), queue);
        auto events = Drain(queue);
        ASSERT_EQ(events.size(), c.codes.size()) << c.utf8;
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].type, EventKeyDown);
            EXPECT_EQ(events[i].value, c.codes[i]);
        }
    }
}

TEST(EventTranslator, MouseButtonsCarryTheirPosition)
{
    PXSDLEventTranslator translator;
    PXEventQueue queue;
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    e.button.x = 300;
    e.button.y = 200;
    translator.Translate(e, queue);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_MIDDLE;
    translator.Translate(e, queue);
    auto events = Drain(queue);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].type, EventMouseMove);
    EXPECT_EQ(MouseX(events[0].value), 300);
    EXPECT_EQ(MouseY(events[0].value), 200);
    EXPECT_EQ(events[1].type, EventRightDown);
    EXPECT_EQ(events[3].type, EventMiddleUp);
}

TEST(EventTranslator, WindowEvents)
{
    PXSDLEventTranslator translator;
    PXEventQueue queue;
    EXPECT_EQ(translator.Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST), queue), PXWindowAction::None);
    EXPECT_EQ(translator.Translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED), queue), PXWindowAction::None);
    EXPECT_EQ(translator.Translate(Window(SDL_WINDOWEVENT_EXPOSED), queue), PXWindowAction::Repaint);
    EXPECT_EQ(translator.Translate(Window(SDL_WINDOWEVENT_SIZE_CHANGED), queue), PXWindowAction::Resized);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translator.Translate(quit, queue), PXWindowAction::Close);
    auto events = Drain(queue);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, EventDeactivate);
    EXPECT_EQ(events[1].type, EventActivate);
}

}  // namespace
