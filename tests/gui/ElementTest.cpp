// The element base: visibility and disabled rules, fades, the pulse, tint and tooltip
// properties, the type's keys and the tooltip hover with its delay and strict bounds, which
// the keyboard/pad focus raises as the mouse does.
#include <gtest/gtest.h>

#include "tests/gui/GuiFixture.h"

namespace {

class ElementTest : public GuiTest {
protected:
    PXEntity2DGUIElement* MakeElement(const std::string& extraKeys = "")
    {
        PXEntityRef ref =
            Define("class = 2DGUIElement\ntype = Area" + std::to_string(++m_count) + "\n" + extraKeys);
        return Create<PXEntity2DGUIElement>(ref);
    }

private:
    int m_count = 0;
};

TEST_F(ElementTest, TypeReadsTooltipKeysWithTheirDefaults)
{
    auto* plain = MakeElement();
    auto* plainType = static_cast<PXEntity2DGUIElementType*>(plain->GetType());
    EXPECT_EQ("", plainType->GetToolTip());
    EXPECT_EQ(12, plainType->GetToolTipPos().x);
    EXPECT_EQ(24, plainType->GetToolTipPos().y);
    EXPECT_TRUE(plainType->IsToolTipRelative());
    EXPECT_EQ(0u, plainType->GetImageLoadFlags());

    auto* set =
        MakeElement("tooltip = \"Start a new game\"\ntooltippos = 5, -7\ntooltiprelative = 0\ndither 1\n");
    auto* setType = static_cast<PXEntity2DGUIElementType*>(set->GetType());
    EXPECT_EQ("Start a new game", setType->GetToolTip());
    EXPECT_EQ(5, setType->GetToolTipPos().x);
    EXPECT_EQ(-7, setType->GetToolTipPos().y);
    EXPECT_FALSE(setType->IsToolTipRelative());
    EXPECT_EQ(0x10u, setType->GetImageLoadFlags());
    EXPECT_TRUE(setType->IsA(PXKind::GuiElement));
    EXPECT_TRUE(setType->IsA(PXKind::Unknown));
    EXPECT_FALSE(setType->IsA(PXKind::Button));
}

TEST_F(ElementTest, HidingDisablesAndClearsAlphaShowingEnablesAndRestoresAlpha)
{
    auto* e = MakeElement();
    e->FadeOut(1000.0f);
    e->SetVisible(false);
    EXPECT_FALSE(e->IsVisible());
    EXPECT_TRUE(e->IsDisabled());
    EXPECT_EQ(0, e->GetAlpha());
    EXPECT_EQ(0.0f, e->GetFadeSpeed());

    e->SetVisible(true);
    EXPECT_TRUE(e->IsVisible());
    EXPECT_FALSE(e->IsDisabled());
    EXPECT_EQ(255, e->GetAlpha());

    // Showing a visible element keeps its alpha and its disabled flag.
    e->SetAlpha(90);
    e->SetDisabled(true);
    e->SetVisible(true);
    EXPECT_EQ(90, e->GetAlpha());
    EXPECT_TRUE(e->IsDisabled());
}

TEST_F(ElementTest, FadeInRisesAboutFourPerFrameAndStopsAtOpaque)
{
    auto* e = MakeElement();
    e->SetVisible(false);
    e->FadeIn(1000.0f);
    int frames = 0;
    int last = e->GetAlpha();
    while (e->GetFadeSpeed() != 0.0f && frames < 200) {
        e->Update(16.0f);
        ++frames;
        const int rise = e->GetAlpha() - last;
        if (e->GetAlpha() < 255) {
            EXPECT_GE(rise, 4) << "frame " << frames;
            EXPECT_LE(rise, 5) << "frame " << frames;
        }
        last = e->GetAlpha();
        EXPECT_TRUE(e->IsVisible());
    }
    EXPECT_EQ(255, e->GetAlpha());
    EXPECT_EQ(0.0f, e->GetFadeSpeed());
    // 255 / (255 / 1000 * 16) frames, give or take the last partial one.
    EXPECT_NEAR(63, frames, 1);
    EXPECT_FALSE(e->IsDisabled());
}

TEST_F(ElementTest, SlowFadeInFromInvisibleStillArrives)
{
    // 0.41 alpha per frame: a fade that dropped fractions would never leave alpha 0 and
    // would hide the element for good.
    auto* e = MakeElement();
    e->SetVisible(false);
    e->FadeIn(10000.0f);
    for (int i = 0; i < 700; ++i)
        e->Update(16.0f);
    EXPECT_TRUE(e->IsVisible());
    EXPECT_EQ(255, e->GetAlpha());
    EXPECT_EQ(0.0f, e->GetFadeSpeed());
}

TEST_F(ElementTest, FadeOutEndsHiddenAndDisabled)
{
    auto* e = MakeElement();
    e->FadeOut(500.0f);
    for (int i = 0; i < 100 && e->GetFadeSpeed() != 0.0f; ++i)
        e->Update(16.0f);
    EXPECT_EQ(0, e->GetAlpha());
    EXPECT_FALSE(e->IsVisible());
    EXPECT_TRUE(e->IsDisabled());
    EXPECT_EQ(0.0f, e->GetFadeSpeed());
}

TEST_F(ElementTest, PulseStartsAtItsFloorAndRunsATriangleWave)
{
    auto* e = MakeElement();
    e->StartPulse(1000.0f);  // 2 * 95 / 1000 = 0.19 per ms
    EXPECT_TRUE(e->IsPulsing());

    struct Step {
        float ms;
        int alpha;
    };
    const Step steps[] = {
        {10.0f, 160},                  // from 0, below the floor: clamps to 160 and turns upward
        {100.0f, 179},                 // 160 + 19
        {400.0f, 255},                 // overshoots the ceiling: clamps and turns down
        {100.0f, 236}, {500.0f, 160},  // undershoots the floor: clamps and turns up
        {50.0f, 169},
    };
    for (const Step& s : steps) {
        e->Update(s.ms);
        EXPECT_EQ(s.alpha, e->GetAlpha()) << "after " << s.ms << " ms";
    }

    e->StartPulse(0.0f);
    EXPECT_FALSE(e->IsPulsing());
    EXPECT_EQ(255, e->GetAlpha());
    EXPECT_EQ(0.0f, e->GetPulseValue());
}

TEST_F(ElementTest, TintPropertiesRoundTripAndOtherIdsAreNotHandled)
{
    auto* e = MakeElement();
    const int32_t ids[] = {PXGuiProp::TintAlpha, PXGuiProp::TintRed, PXGuiProp::TintBlue,
                           PXGuiProp::TintGreen};
    int32_t value = 10;
    for (int32_t id : ids) {
        EXPECT_TRUE(e->SetProperty(id, value));
        int32_t out = -1;
        EXPECT_TRUE(e->GetProperty(id, &out));
        EXPECT_EQ(value, out);
        value += 40;
    }
    EXPECT_EQ(MakeColor(50, 130, 90, 10), e->GetTint());
    int32_t out = 0;
    EXPECT_FALSE(e->SetProperty(6, 1));
    EXPECT_FALSE(e->GetProperty(6, &out));
    EXPECT_FALSE(e->SetAltProperty(PXGuiProp::TintRed, 1));
}

TEST_F(ElementTest, TooltipTextIsSharedByEveryElementOfTheType)
{
    PXEntityRef ref = Define("class = 2DGUIElement\ntype = Shared\ntooltip = old\n");
    auto* a = Create<PXEntity2DGUIElement>(ref);
    auto* b = Create<PXEntity2DGUIElement>(ref);
    EXPECT_TRUE(a->SetStringProperty(PXGuiProp::ToolTip, "new"));
    std::string text;
    EXPECT_TRUE(b->GetStringProperty(PXGuiProp::ToolTip, &text));
    EXPECT_EQ("new", text);
}

TEST_F(ElementTest, TooltipNeedsTheMouseStrictlyInside)
{
    auto* e = MakeElement("tooltip = Hint\n");
    e->SetRect(100, 50, 40, 20);
    struct Case {
        int32_t x, y;
        bool inside;
    };
    const Case cases[] = {
        {120, 60, true},  {101, 51, true},  {139, 69, true},  {100, 60, false},
        {140, 60, false}, {120, 50, false}, {120, 70, false},
    };
    for (const Case& c : cases) {
        host.requests.clear();
        MoveMouse(c.x, c.y);
        e->Update(0.0f);  // a fresh hover for each case
        e->Update(300.0f);
        e->Update(300.0f);
        EXPECT_EQ(c.inside ? 1u : 0u, host.requests.size()) << c.x << "," << c.y;
        MoveMouse(-100, -100);
        e->Update(0.0f);
    }
}

TEST_F(ElementTest, TooltipWaitsPastHalfASecondThenRepeatsEveryFrame)
{
    auto* e = MakeElement("tooltip = Hint\n");
    e->SetRect(0, 0, 50, 50);
    MoveMouse(10, 20);
    e->Update(250.0f);
    e->Update(250.0f);  // exactly 500: not yet
    EXPECT_TRUE(host.requests.empty());
    e->Update(1.0f);
    ASSERT_EQ(1u, host.requests.size());
    EXPECT_EQ(e, host.requests[0].owner);
    EXPECT_EQ("Hint", host.requests[0].text);
    EXPECT_EQ(10 + 12, host.requests[0].x);
    EXPECT_EQ(20 + 24, host.requests[0].y);
    e->Update(16.0f);
    EXPECT_EQ(2u, host.requests.size());

    // Leaving resets the timer.
    MoveMouse(200, 200);
    e->Update(16.0f);
    MoveMouse(10, 20);
    e->Update(400.0f);
    EXPECT_EQ(2u, host.requests.size());
}

TEST_F(ElementTest, FocusRaisesTheTooltipAfterTheDelayAtTheElementsCentre)
{
    auto* e = MakeElement("tooltip = Hint\n");
    e->SetRect(100, 50, 40, 20);
    // A bare element never takes the focus and ignores every action.
    EXPECT_FALSE(e->CanTakeFocus());
    EXPECT_EQ(PXActionResult::Ignored, e->OnInputAction(PXInputAction::Press));

    e->SetFocused(true);
    e->Update(250.0f);
    e->Update(250.0f);
    EXPECT_TRUE(host.requests.empty());
    e->Update(1.0f);
    ASSERT_EQ(1u, host.requests.size());
    // As if the mouse rested on the centre (120, 60).
    EXPECT_EQ(120 + 12, host.requests[0].x);
    EXPECT_EQ(60 + 24, host.requests[0].y);

    // Losing the focus restarts the delay.
    e->SetFocused(false);
    e->Update(16.0f);
    e->SetFocused(true);
    e->Update(400.0f);
    EXPECT_EQ(1u, host.requests.size());
}

TEST_F(ElementTest, TooltipPositionAbsoluteWhenNotRelative)
{
    auto* e = MakeElement("tooltip = Hint\ntooltippos = 300, 400\ntooltiprelative = 0\n");
    e->SetRect(0, 0, 50, 50);
    MoveMouse(10, 20);
    e->Update(600.0f);
    ASSERT_EQ(1u, host.requests.size());
    EXPECT_EQ(300, host.requests[0].x);
    EXPECT_EQ(400, host.requests[0].y);
}

TEST_F(ElementTest, NoTooltipWhenHiddenEmptyOrWithoutAScene)
{
    auto* empty = MakeElement();
    empty->SetRect(0, 0, 50, 50);
    auto* hidden = MakeElement("tooltip = Hint\n");
    hidden->SetRect(0, 0, 50, 50);
    hidden->SetVisible(false);
    MoveMouse(10, 10);
    empty->Update(600.0f);
    hidden->Update(600.0f);
    EXPECT_TRUE(host.requests.empty());
    EXPECT_EQ(0.0f, hidden->GetHoverMs());

    auto* shown = MakeElement("tooltip = Hint\n");
    shown->SetRect(0, 0, 50, 50);
    g_toolTipHostFinder = nullptr;
    shown->Update(600.0f);  // no current scene: nothing to call, nothing breaks
    EXPECT_TRUE(host.requests.empty());
}

TEST_F(ElementTest, UpdateLoadsTheType)
{
    auto* e = MakeElement();
    EXPECT_FALSE(e->GetType()->IsLoaded());
    EXPECT_TRUE(e->Update(16.0f));
    EXPECT_TRUE(e->GetType()->IsLoaded());
}

}  // namespace
