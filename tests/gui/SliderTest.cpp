// The "slider" element: its keys with their repairs, the value grid, the pointer's press and
// drag through a scene (the hold, clamping past the ends, one notice per change, the release
// that clicks nothing), the keys and pad through the scene's focus, what it draws with
// colours and images, focused or not, and the change sound.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/gui/PXDialogClasses.h"
#include "engine/gui/PXEntity2DGUISlider.h"
#include "tests/gui/FocusProbe.h"
#include "tests/gui/GuiFixture.h"

namespace {

constexpr uint16_t Red = Rgb(31, 0, 0);
constexpr uint16_t Green = Rgb(0, 31, 0);
constexpr uint16_t Blue = Rgb(0, 0, 31);
constexpr uint16_t White = Rgb(31, 31, 31);
constexpr uint16_t Grey = Rgb(16, 16, 16);

constexpr size_t ChangeSamples = 120;

// A scene that records the value of every slider change it hears.
class CountingScene : public PXEntity2DScene {
public:
    using PXEntity2DScene::PXEntity2DScene;
    bool OnElementChanged(PXEntity2DGUIElement* element) override
    {
        auto* slider = dynamic_cast<PXEntity2DGUISlider*>(element);
        changes.push_back(slider ? slider->GetValue() : INT_MIN);
        return true;
    }
    std::vector<int32_t> changes;
};

class CountingSceneType : public PXEntity2DSceneType {
public:
    using PXEntity2DSceneType::PXEntity2DSceneType;
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<CountingScene>(this); }
};

PXEntityTypePrototypeFor<CountingSceneType> s_countingScenePrototype;

struct RecordingListener : PXElementChangeListener {
    bool OnElementChanged(PXEntity2DGUIElement* element) override
    {
        changed.push_back(element);
        return true;
    }
    std::vector<PXEntity2DGUIElement*> changed;
};

// The plain slider of most tests: 200 x 16 with an 8 x 16 knob, so the knob's centre runs
// from x + 4 to x + 196 (192 pixels for 0..100).
const char* const PlainKeys = "Size = 200, 16\nKnobSize = 8, 16\nTrackCol = 255, 0, 0, 255\n"
                              "FillCol = 0, 255, 0, 255\nKnobCol = 0, 0, 255, 255\n"
                              "KnobFocusCol = 255, 255, 255, 255\nChangeSound = change.wav\n";

class SliderTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        ASSERT_TRUE(registry.RegisterPrototype(&s_countingScenePrototype, "countscene"));
        ASSERT_TRUE(registry.RegisterPrototype(&s_focusProbePrototype, "focusprobe"));
        WriteSound("change.wav", ChangeSamples);
    }

    PXEntity2DGUISlider* MakeSlider(const std::string& keys)
    {
        auto* slider = Create<PXEntity2DGUISlider>(
            Define("class = slider\ntype = S" + std::to_string(++m_count) + "\n" + keys));
        slider->SetPosition(PXPoint{100, 100});
        slider->Update(0.0f);
        return slider;
    }

    // A scene of two plain sliders, A at (100, 100) and B below it at (100, 200), and a
    // focus probe under A's track at (100, 300).
    CountingScene* MakeScene()
    {
        if (m_scenes++ == 0) {
            Define(std::string("class = slider\ntype = Plain\n") + PlainKeys);
            Define("class = focusprobe\ntype = Box\nSize = 80, 40\n");
        }
        auto* scene =
            Create<CountingScene>(Define("class = countscene\ntype = Sc" + std::to_string(m_scenes) +
                                         "\nNumGUIElements = 3\n"
                                         "GUIElement1Ent = slider, Plain\nGUIElement1Pos = 100, 100\n"
                                         "GUIElement2Ent = slider, Plain\nGUIElement2Pos = 100, 200\n"
                                         "GUIElement3Ent = focusprobe, Box\nGUIElement3Pos = 100, 300\n"),
                                  PXKind::Scene);
        scene->Update(0.0f);
        return scene;
    }
    PXEntity2DGUISlider* SliderOf(CountingScene* scene, size_t index)
    {
        return dynamic_cast<PXEntity2DGUISlider*>(scene->SceneType()->ElementsInDefinitionOrder().at(index));
    }

    void Redraw(PXEntity2DGUIElement* element)
    {
        ClearScreen();
        DirtyAll();
        element->Draw();
    }

    int m_count = 0;
    int m_scenes = 0;
};

TEST_F(SliderTest, KeysGiveRangeStepValueAndPageWithRepairs)
{
    struct Case {
        const char* keys;
        int32_t min, max, step, page, value;
    };
    const Case cases[] = {
        {"", 0, 100, 1, 10, 0},
        {"Range = 10, 20\nValue = 15\n", 10, 20, 1, 1, 15},
        // A reversed range is swapped, an empty one refused.
        {"Range = 20, 10\nValue = 12\n", 10, 20, 1, 1, 12},
        {"Range = 5, 5\nValue = 7\n", 0, 100, 1, 10, 7},
        {"Step = 0\n", 0, 100, 1, 10, 0},
        {"Step = -3\n", 0, 100, 1, 10, 0},
        // The value is clamped and snapped to min + k x Step; max itself stays reachable.
        {"Range = 0, 10\nStep = 3\nValue = 8\n", 0, 10, 3, 3, 9},
        {"Range = 0, 10\nStep = 3\nValue = 10\n", 0, 10, 3, 3, 10},
        {"Range = 0, 10\nStep = 3\nValue = 11\n", 0, 10, 3, 3, 10},
        {"Range = 0, 10\nStep = 3\nValue = -4\n", 0, 10, 3, 3, 0},
        {"Range = -50, 50\nStep = 25\nValue = 12\n", -50, 50, 25, 25, 0},
        // The page: a tenth of the range in whole steps, or the given one in whole steps.
        {"Range = 0, 1000\nStep = 7\n", 0, 1000, 7, 98, 0},
        {"Step = 10\nPageStep = 25\n", 0, 100, 10, 30, 0},
        {"PageStep = -5\n", 0, 100, 1, 10, 0},
        // A step longer than the range leaves the two ends.
        {"Step = 500\nValue = 60\n", 0, 100, 100, 100, 100},
        // The widest range does not overflow.
        {"Range = -2000000000, 2000000000\nValue = 1999999999\nPageStep = 2147483647\n", -2000000000,
         2000000000, 1, 2147483647, 1999999999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        auto* slider = MakeSlider(c.keys);
        auto* type = static_cast<PXEntity2DGUISliderType*>(slider->GetType());
        EXPECT_EQ(c.min, slider->GetMin());
        EXPECT_EQ(c.max, slider->GetMax());
        EXPECT_EQ(c.step, slider->GetStep());
        EXPECT_EQ(c.page, type->GetPageStep());
        EXPECT_EQ(c.value, slider->GetValue());
        const std::pair<int32_t, int32_t> properties[] = {{PXSliderProp::Value, c.value},
                                                          {PXSliderProp::Min, c.min},
                                                          {PXSliderProp::Max, c.max},
                                                          {PXSliderProp::Step, c.step}};
        for (const auto& [id, expected] : properties) {
            int32_t property = INT_MIN;
            EXPECT_TRUE(slider->GetProperty(id, &property)) << id;
            EXPECT_EQ(expected, property) << id;
        }
    }
}

TEST_F(SliderTest, SizesAreCutAndTheRectFollowsThePosition)
{
    auto* defaults = MakeSlider("");
    EXPECT_EQ(100, defaults->GetWidth());
    EXPECT_EQ(16, defaults->GetHeight());
    auto* odd = MakeSlider("Size = -5, 99999\nKnobSize = 0, 3\n");
    EXPECT_EQ(1, odd->GetWidth());
    EXPECT_EQ(PXEntity2DGUISliderType::MaxSize, odd->GetHeight());
    const PXRect knob = odd->GetKnobRect();
    EXPECT_EQ(1, knob.right - knob.left);
    EXPECT_EQ(3, knob.bottom - knob.top);
    auto* plain = MakeSlider(PlainKeys);
    plain->SetPosition(PXPoint{40, 60});
    PXRect rect;
    plain->GetRect(&rect);
    EXPECT_EQ((PXRect{40, 240, 60, 76}), rect);
}

TEST_F(SliderTest, SetValueClampsAndSnapsAndOnlyTheHandNotifies)
{
    auto* slider = MakeSlider("Range = 0, 10\nStep = 3\nChangeSound = change.wav\n");
    RecordingListener listener;
    slider->SetChangeListener(&listener);
    const std::pair<int32_t, int32_t> cases[] = {{-5, 0},  {1, 0},       {2, 3},       {4, 3},
                                                 {5, 6},   {8, 9},       {9, 9},       {10, 10},
                                                 {99, 10}, {INT_MIN, 0}, {INT_MAX, 10}};
    for (const auto& c : cases) {
        slider->SetValue(c.first, false);
        EXPECT_EQ(c.second, slider->GetValue()) << c.first;
    }
    // The property sets as code does.
    EXPECT_TRUE(slider->SetProperty(PXSliderProp::Value, 4));
    EXPECT_EQ(3, slider->GetValue());
    EXPECT_TRUE(listener.changed.empty());
    EXPECT_EQ(0, PlaysOf(ChangeSamples));

    slider->SetValue(5, true);
    slider->SetValue(6, true);  // the same value: no change, no notice
    EXPECT_EQ(std::vector<PXEntity2DGUIElement*>{slider}, listener.changed);
    EXPECT_EQ(6, slider->GetValue());
    EXPECT_EQ(1, PlaysOf(ChangeSamples));
    slider->SetChangeListener(nullptr);
}

TEST_F(SliderTest, PressJumpsDragFollowsEvenOutsideAndTheReleaseClicksNothing)
{
    CountingScene* scene = MakeScene();
    PXEntity2DGUISlider* a = SliderOf(scene, 0);
    auto* probe = dynamic_cast<FocusProbe*>(scene->SceneType()->ElementsInDefinitionOrder().at(2));
    ASSERT_NE(nullptr, probe);

    // A press beside the slider is no press on it.
    PXPoint point{350, 108};
    g_leftButtonDown = 1;
    MoveMouse(point.x, point.y);
    EXPECT_FALSE(scene->OnMouseDown(&point, 1));
    EXPECT_EQ(nullptr, scene->GetPointerHolder());
    g_leftButtonDown = 0;
    scene->OnMouseUp(&point, 1);

    point = {152, 108};
    MoveMouse(point.x, point.y);
    g_leftButtonDown = 1;
    EXPECT_TRUE(scene->OnMouseDown(&point, 1));
    EXPECT_EQ(a, scene->GetPointerHolder());
    EXPECT_TRUE(a->IsDragging());
    EXPECT_EQ(a, scene->GetShownFocus());
    EXPECT_EQ(25, a->GetValue());

    struct Step {
        int32_t x, y;
        int32_t value;
    };
    // Below the slider, over the other one, past both ends, and still again.
    const Step steps[] = {{248, 300, 75}, {248, 210, 75}, {600, 108, 100}, {610, 40, 100},
                          {20, 108, 0},   {20, 108, 0},   {200, 400, 50}};
    for (const Step& step : steps) {
        MoveMouse(step.x, step.y);
        scene->Update(16.0f);
        EXPECT_EQ(step.value, a->GetValue()) << step.x << "," << step.y;
        EXPECT_EQ(a, scene->GetShownFocus()) << step.x << "," << step.y;
    }
    EXPECT_EQ(0, SliderOf(scene, 1)->GetValue());
    EXPECT_EQ((std::vector<int32_t>{25, 75, 100, 0, 50}), scene->changes);

    // Released over the probe: the value follows, the probe is not pressed.
    point = {152, 320};
    MoveMouse(point.x, point.y);
    g_leftButtonDown = 0;
    EXPECT_TRUE(scene->OnMouseUp(&point, 1));
    EXPECT_EQ(25, a->GetValue());
    EXPECT_FALSE(a->IsDragging());
    EXPECT_EQ(nullptr, scene->GetPointerHolder());
    EXPECT_EQ(0, probe->presses);
    EXPECT_EQ(6u, scene->changes.size());
    // Without a hold the same release presses the probe as before.
    scene->OnMouseUp(&point, 1);
    EXPECT_EQ(1, probe->presses);
    EXPECT_EQ(6, PlaysOf(ChangeSamples));
}

TEST_F(SliderTest, AHoldEndsWhenTheButtonIsLetGoUnseenOrTheSliderIsDisabled)
{
    struct Case {
        const char* name;
        void (*end)(CountingScene*, PXEntity2DGUISlider*);
    };
    const Case cases[] = {
        {"button up unseen",
         [](CountingScene* s, PXEntity2DGUISlider*) { g_leftButtonDown = 0, s->Update(16.0f); }},
        {"deactivated", [](CountingScene* s, PXEntity2DGUISlider*) { s->OnDeactivate(); }},
        {"disabled",
         [](CountingScene* s, PXEntity2DGUISlider* a) { a->SetDisabled(true), s->Update(16.0f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingScene* scene = MakeScene();
        PXEntity2DGUISlider* a = SliderOf(scene, 0);
        PXPoint point{200, 108};
        MoveMouse(point.x, point.y);
        g_leftButtonDown = 1;
        ASSERT_TRUE(scene->OnMouseDown(&point, 1));
        c.end(scene, a);
        EXPECT_FALSE(a->IsDragging());
        EXPECT_EQ(nullptr, scene->GetPointerHolder());
        // The pointer moving on moves nothing.
        g_leftButtonDown = 1;
        MoveMouse(296, 108);
        scene->Update(16.0f);
        EXPECT_EQ(50, a->GetValue());
        g_leftButtonDown = 0;
        // A disabled slider takes no press either.
        if (a->IsDisabled()) {
            EXPECT_FALSE(scene->OnMouseDown(&point, 1));
        }
    }
}

TEST_F(SliderTest, KeysStepTheFocusedSliderAndKeepTheFocusSideways)
{
    struct Case {
        int32_t start;
        int key;
        int32_t value;
        char focus;  // 'A', 'B'
    };
    const Case cases[] = {
        {50, KeyArrowRight, 51, 'A'},
        {50, KeyArrowLeft, 49, 'A'},
        // At the ends Left/Right are still the slider's: the focus does not move away.
        {0, KeyArrowLeft, 0, 'A'},
        {100, KeyArrowRight, 100, 'A'},
        {50, KeyHome, 0, 'A'},
        {50, KeyEnd, 100, 'A'},
        {50, KeyPageUp, 60, 'A'},
        {95, KeyPageUp, 100, 'A'},
        {50, KeyPageDown, 40, 'A'},
        {5, KeyPageDown, 0, 'A'},
        // Up/Down and Tab are the focus's.
        {50, KeyArrowDown, 50, 'B'},
        {50, KeyTab, 50, 'B'},
        {50, KeyArrowUp, 50, 'A'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " key " + std::to_string(c.key));
        const int playsBefore = PlaysOf(ChangeSamples);
        CountingScene* scene = MakeScene();
        PXEntity2DGUISlider* a = SliderOf(scene, 0);
        PXEntity2DGUISlider* b = SliderOf(scene, 1);
        a->SetValue(c.start, false);
        // The first Tab shows the focus on A.
        ASSERT_TRUE(scene->OnKeyDown(KeyTab));
        ASSERT_EQ(a, scene->GetShownFocus());
        EXPECT_TRUE(scene->OnKeyDown(c.key));
        EXPECT_EQ(c.value, a->GetValue());
        EXPECT_EQ(0, b->GetValue());
        EXPECT_EQ(c.focus == 'A' ? a : b, scene->GetShownFocus());
        EXPECT_EQ(c.focus == 'A', a->IsFocused());
        const std::vector<int32_t> expected =
            c.value == c.start ? std::vector<int32_t>{} : std::vector<int32_t>{c.value};
        EXPECT_EQ(expected, scene->changes);
        EXPECT_EQ(static_cast<int>(expected.size()), PlaysOf(ChangeSamples) - playsBefore);
    }
}

TEST_F(SliderTest, APadStepsTheSliderThroughTheSameFocus)
{
    CountingScene* scene = MakeScene();
    PXEntity2DGUISlider* a = SliderOf(scene, 0);
    a->SetValue(50, false);
    // The first shoulder shows the focus on A, the second walks it to B.
    ASSERT_TRUE(scene->OnPadDown(PadRightShoulder));
    ASSERT_TRUE(scene->OnPadDown(PadRightShoulder));
    ASSERT_EQ(SliderOf(scene, 1), scene->GetShownFocus());
    ASSERT_TRUE(scene->OnPadDown(PadUp));
    ASSERT_EQ(a, scene->GetShownFocus());
    EXPECT_TRUE(scene->OnPadDown(PadRight));
    EXPECT_TRUE(scene->OnPadDown(PadRight));
    EXPECT_TRUE(scene->OnPadDown(PadLeft));
    EXPECT_EQ(51, a->GetValue());
    EXPECT_EQ((std::vector<int32_t>{51, 52, 51}), scene->changes);
    EXPECT_EQ(a, scene->GetShownFocus());
    EXPECT_TRUE(scene->OnPadDown(PadDown));
    EXPECT_EQ(SliderOf(scene, 1), scene->GetShownFocus());
    EXPECT_EQ(3, PlaysOf(ChangeSamples));
}

TEST_F(SliderTest, HiddenOrDisabledItTakesNeitherFocusNorActions)
{
    auto* slider = MakeSlider(PlainKeys);
    slider->SetValue(50, false);
    EXPECT_TRUE(slider->CanTakeFocus());
    for (PXInputAction action : {PXInputAction::FocusUp, PXInputAction::FocusDown, PXInputAction::FocusNext,
                                 PXInputAction::FocusPrevious, PXInputAction::Press, PXInputAction::Back}) {
        EXPECT_EQ(PXActionResult::Ignored, slider->OnInputAction(action)) << static_cast<int>(action);
    }
    slider->SetDisabled(true);
    EXPECT_FALSE(slider->CanTakeFocus());
    EXPECT_EQ(PXActionResult::Ignored, slider->OnInputAction(PXInputAction::FocusRight));
    EXPECT_FALSE(slider->OnPointerDown(PXPoint{200, 108}));
    slider->SetDisabled(false);
    slider->SetVisible(false);
    EXPECT_FALSE(slider->CanTakeFocus());
    EXPECT_EQ(PXActionResult::Ignored, slider->OnInputAction(PXInputAction::End));
    EXPECT_EQ(50, slider->GetValue());
    EXPECT_EQ(0, PlaysOf(ChangeSamples));
}

TEST_F(SliderTest, DrawsTrackFillAndKnobAndTheFocusChangesTheLook)
{
    auto* slider = MakeSlider(PlainKeys);
    slider->SetValue(50, false);
    // The knob of value 50 spans x 196..203; the 4-pixel track rows 106..109.
    struct Probe {
        const char* what;
        int32_t x, y;
        uint16_t plain, focused;
    };
    const Probe probes[] = {
        {"fill left of the knob", 150, 107, Green, Green},
        {"track right of the knob", 250, 107, Red, Red},
        {"knob", 199, 101, Blue, White},
        {"knob over the track", 199, 107, Blue, White},
        {"above the track", 150, 103, 0, 0},
        {"outline top", 150, 100, 0, White},
        {"outline left", 100, 103, 0, White},
        {"outline right", 299, 103, 0, White},
        {"outline bottom", 250, 115, 0, White},
        {"outside", 305, 107, 0, 0},
    };
    Redraw(slider);
    for (const Probe& p : probes)
        EXPECT_EQ(p.plain, Pixel(p.x, p.y)) << p.what;
    slider->SetFocused(true);
    Redraw(slider);
    for (const Probe& p : probes)
        EXPECT_EQ(p.focused, Pixel(p.x, p.y)) << "focused " << p.what;

    // The pointer over it lights the knob too, without the outline.
    slider->SetFocused(false);
    MoveMouse(150, 108);
    slider->Update(16.0f);
    Redraw(slider);
    EXPECT_EQ(White, Pixel(199, 101));
    EXPECT_EQ(0, Pixel(150, 100));
}

TEST_F(SliderTest, AChangeRedrawsWhereTheKnobWasAndWhereItGoes)
{
    auto* slider = MakeSlider(PlainKeys);
    slider->SetValue(50, false);
    Redraw(slider);
    screen.ClearDirtyList();
    slider->SetValue(0, false);
    slider->Draw();
    EXPECT_EQ(Blue, Pixel(101, 101));
    // The old knob is gone: cleared and redrawn as track.
    EXPECT_EQ(0, Pixel(199, 101));
    EXPECT_EQ(Red, Pixel(199, 107));
    EXPECT_EQ(Red, Pixel(150, 107));
}

TEST_F(SliderTest, ImagesWinOverColours)
{
    WriteSolidImage("track.bmp", 200, 6, Grey);
    WriteSolidImage("knob.bmp", 10, 20, Blue);
    WriteSolidImage("lit.bmp", 10, 20, Green);
    struct Case {
        const char* name;
        const char* keys;
        uint16_t fill;  // left of the knob on the track
    };
    const Case cases[] = {
        {"track image alone", "", Grey},
        {"track image and a fill colour", "FillCol = 255, 0, 0, 255\n", Red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* slider =
            MakeSlider(std::string("Size = 200, 16\nTrackCol = 255, 255, 255, 255\n"
                                   "KnobCol = 255, 255, 255, 255\nKnobFocusCol = 255, 255, 255, 255\n"
                                   "TrackImageEnt = @ {\nclass = sprite\nimage = track.bmp\n}\n"
                                   "KnobImageEnt = @ {\nclass = sprite\nimage = knob.bmp\n}\n"
                                   "KnobFocusImageEnt = @ {\nclass = sprite\nimage = lit.bmp\n}\n") +
                       c.keys);
        slider->SetValue(50, false);
        slider->Update(0.0f);
        // The 10 x 20 knob image is centred on the 16 rows: rows 98..117, x 195..204.
        EXPECT_EQ((PXRect{195, 205, 98, 118}), slider->GetKnobRect());
        Redraw(slider);
        EXPECT_EQ(c.fill, Pixel(150, 106));
        EXPECT_EQ(Grey, Pixel(250, 106));
        EXPECT_EQ(0, Pixel(250, 104));  // the 6-pixel track: rows 105..110
        EXPECT_EQ(Blue, Pixel(200, 99));
        slider->SetFocused(true);
        Redraw(slider);
        EXPECT_EQ(Green, Pixel(200, 99));
    }
}

TEST_F(SliderTest, InADialogSceneTheInnerSceneHoldsThePointerAndHearsTheChanges)
{
    ASSERT_TRUE(PXRegisterDialogClasses(registry));
    ASSERT_TRUE(registry.RegisterPrototype(&g_2DScenePrototype, "2DScene"));
    Define(std::string("class = slider\ntype = Plain\n") + PlainKeys);
    Define("class = countscene\ntype = Inner\nNumGUIElements = 1\nGUIElement1Ent = slider, Plain\n"
           "GUIElement1Pos = 10, 10\n");
    Define("class = PXDialogScene\ntype = Holder\nSceneEnt = countscene, Inner\nWidth = 300\nHeight = 100\n");
    auto* outer = Create<PXEntity2DScene>(Define("class = 2DScene\ntype = Outer\n"), PXKind::Scene);
    auto holder =
        CreateEntityAs<PXSceneDialog>(&registry, PXEntityRef{"PXDialogScene", "Holder"}, PXKind::DialogBox);
    ASSERT_NE(nullptr, holder);
    holder->SetPosition(PXPoint{100, 100});
    auto* inner = dynamic_cast<CountingScene*>(holder->GetInnerScene());
    ASSERT_NE(nullptr, inner);
    outer->AddDialog(1, std::move(holder), nullptr, nullptr, true);
    outer->Update(16.0f);
    PXEntity2DGUISlider* slider = SliderOf(inner, 0);
    PXRect rect;
    slider->GetRect(&rect);

    // A press on the track's middle, a drag past its right end, and the release.
    PXPoint point{rect.left + 100, rect.top + 8};
    MoveMouse(point.x, point.y);
    g_leftButtonDown = 1;
    EXPECT_TRUE(outer->OnMouseDown(&point, 1));
    EXPECT_EQ(slider, inner->GetPointerHolder());
    MoveMouse(rect.right + 50, rect.top + 8);
    outer->Update(16.0f);
    g_leftButtonDown = 0;
    point = {rect.right + 50, rect.top + 8};
    EXPECT_TRUE(outer->OnMouseUp(&point, 1));
    EXPECT_EQ(nullptr, inner->GetPointerHolder());
    EXPECT_EQ((std::vector<int32_t>{50, 100}), inner->changes);
}

}  // namespace
