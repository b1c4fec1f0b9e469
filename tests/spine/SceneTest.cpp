// Scenes: the element list read from the definition, the draw order with its top layer,
// the dialog stack with modal routing and closing, message boxes, dialog scenes, tooltips,
// the cursor sprite and its timeout, and the element helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/gui/PXDialogClasses.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXGuiClasses.h"
#include "tests/spine/SpineFixture.h"

namespace {

class SceneTest : public SpineTest {
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        ASSERT_TRUE(OpenGameScreen("scene"));
        g_entityRegistry = &registry;
        PXRegisterGuiClasses(registry);
        registry.RegisterPrototype(&g_2DScenePrototype, "2DScene");
        RegisterTestClasses(registry);
        for (const char* name : {"a", "b", "c", "d", "e", "cursor"}) {
            Define(std::string("class = probe\ntype = ") + name + "\nSize 10, 10\n");
        }
        Define("class = probe\ntype = tiptext\nText 1\n");
        Define("class = testbox\ntype = box1\nSize 100, 50\n");
        Define("class = testbox\ntype = box2\nSize 100, 50\n");
        Define("class = testbox\ntype = taker\nSize 100, 50\nTakes 1\n");
        Define("class = testbox\ntype = msgbox\nSize 101, 51\n");
    }
    void TearDown() override
    {
        scene.reset();
        registry.ClearTypes();
        SpineTest::TearDown();
    }
    void Define(const std::string& text) { DefineIn(registry, text); }
    // Defines a new "2DScene" type from the given keys and makes a scene of it.
    PXEntity2DScene& Make(const std::string& keys)
    {
        const std::string name = "s" + std::to_string(++m_scenes);
        Define("class = 2DScene\ntype = " + name + "\n" + keys);
        std::unique_ptr<PXEntityBase> made = registry.CreateEntity("2DScene", name, PXKind::Scene);
        scene.reset(dynamic_cast<PXEntity2DScene*>(made.release()));
        EXPECT_NE(scene, nullptr);
        EventLog().clear();
        return *scene;
    }
    std::unique_ptr<PXSceneDialog> Box(const std::string& name)
    {
        std::unique_ptr<PXEntityBase> made = registry.CreateEntity("testbox", name, PXKind::DialogBox);
        return std::unique_ptr<PXSceneDialog>(dynamic_cast<PXSceneDialog*>(made.release()));
    }
    std::vector<std::string> Elements()
    {
        std::vector<std::string> out;
        for (const PXSceneElement& e : scene->SceneType()->GetElements()) {
            out.push_back((e.entity ? static_cast<Probe*>(e.entity.get())->Name() : "-") + "/" +
                          std::to_string(e.priority));
        }
        return out;
    }
    static std::vector<std::string> Drawn()
    {
        std::vector<std::string> out;
        for (const std::string& line : EventLog()) {
            if (line.rfind("draw:", 0) == 0) {
                out.push_back(line.substr(5));
            }
        }
        return out;
    }

    PXEntityRegistry registry;
    std::unique_ptr<PXEntity2DScene> scene;

private:
    int m_scenes = 0;
};

TEST_F(SceneTest, ElementsAreSortedByPriorityKeepingDefinitionOrder)
{
    Make("NumGUIElements 6\n"
         "GUIElement1Ent probe, a\nGUIElement1Priority 600\n"
         "GUIElement2Ent probe, b\nGUIElement2Priority 10\nGUIElement2Pos 5, 6\n"
         "GUIElement3Ent probe, c\nGUIElement3Priority 10\n"
         "GUIElement4Ent probe, d\nGUIElement4Priority 1200\n"
         "GUIElement5Ent probe, e\nGUIElement5Priority -3\n"
         "GUIElement6Ent probe, nosuch\n");
    // The unknown element keeps its record without an entity; 1200 becomes 999.
    EXPECT_EQ(Elements(), (std::vector<std::string>{"e/-3", "-/0", "b/10", "c/10", "a/600", "d/999"}));
    const auto& elements = scene->SceneType()->GetElements();
    PXPoint at;
    elements[2].entity->GetPosition(&at);
    EXPECT_EQ(at.x, 5);
    EXPECT_EQ(at.y, 6);
    elements[3].entity->GetPosition(&at);  // no Pos key: (0, 0)
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

// A scene type that keeps two of its records by name, as the game's scene types do.
class SlotSceneType : public PXEntity2DSceneType {
public:
    explicit SlotSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
    {
        first = AddSlot("Late", *block);
        second = AddSlot("Early", *block);
    }
    int first = -1;
    int second = -1;
};

TEST_F(SceneTest, SlotsKeepNamingTheirRecordsAfterThePrioritySort)
{
    const std::string text = "NumGUIElements 1\nGUIElement1Ent probe, a\nGUIElement1Priority 50\n"
                             "LateEnt probe, late\nLateEntPriority 900\n"
                             "EarlyEnt probe, early\nEarlyEntPriority 5\n";
    PXDefinitionBlock block;
    ASSERT_TRUE(block.LoadFromText(text.data(), text.size()));
    SlotSceneType type(&block);
    ASSERT_TRUE(type.Load(false));
    ASSERT_NE(type.SlotRecord(type.first), nullptr);
    ASSERT_NE(type.SlotRecord(type.second), nullptr);
    EXPECT_EQ(type.SlotRecord(type.first)->ref.typeName, "late");
    EXPECT_EQ(type.SlotRecord(type.second)->ref.typeName, "early");
    EXPECT_EQ(type.GetElements().front().ref.typeName, "early");
    EXPECT_EQ(type.SlotRecord(-1), nullptr);
    EXPECT_EQ(type.SlotRecord(2), nullptr);
}

TEST_F(SceneTest, ElementCountIsClampedToSixtyFour)
{
    struct Case {
        const char* count;
        size_t expected;
    };
    for (const Case& c : {Case{"NumGUIElements 100\n", 64u}, Case{"NumGUIElements -4\n", 0u}, Case{"", 0u}}) {
        std::string keys = c.count;
        for (int i = 1; i <= 100; ++i) {
            keys += "GUIElement" + std::to_string(i) + "Ent probe, a\n";
        }
        PXDefinitionBlock block;
        block.LoadFromText(keys.data(), keys.size());
        PXEntity2DSceneType type(&block);
        EXPECT_EQ(type.GetElements().size(), c.expected) << c.count;
    }
}

TEST_F(SceneTest, TypeKeysAndDefaults)
{
    PXEntity2DSceneType plain(nullptr);
    EXPECT_EQ(plain.GetTransitionStyle(), -1);
    EXPECT_EQ(plain.GetCursor(), nullptr);
    EXPECT_EQ(plain.GetToolTipColor(), MakeColor(64, 96, 180, 255));
    EXPECT_EQ(plain.GetMessageBoxRef(), (PXEntityRef{"PXMessageBox", "messagebox"}));
    EXPECT_EQ(plain.GetInputBoxRef(), (PXEntityRef{"PXInputBox", "inputbox"}));
    EXPECT_TRUE(plain.IsA(PXKind::Scene));
    EXPECT_FALSE(plain.IsA(PXKind::GuiElement));

    const std::string text = "TransType 2\nCursorMoveTimeOut 300\nMessageBoxEnt testbox, msgbox\n"
                             "CursorEntPos 3, 4\n";
    PXDefinitionBlock block;
    block.LoadFromText(text.data(), text.size());
    PXEntity2DSceneType type(&block);
    EXPECT_EQ(type.GetTransitionStyle(), 2);
    EXPECT_EQ(type.GetCursorTimeout(), 300);
    EXPECT_EQ(type.GetMessageBoxRef(), (PXEntityRef{"testbox", "msgbox"}));
    ASSERT_NE(type.GetCursor(), nullptr);  // always made from a definition
    EXPECT_EQ(type.GetCursor()->priority, 1000);
    EXPECT_EQ(type.GetCursor()->x, 3);
    EXPECT_TRUE(type.GetCursor()->ref.IsEmpty());
}

// Unload lets go of every element entity and a later Load makes them again, in the sorted
// order and at their places, for a scene that is still shown (the game does this when it
// leaves a scene and comes back).
TEST_F(SceneTest, UnloadThenLoadMakesTheElementsAgain)
{
    PXEntity2DScene& shown = Make("NumGUIElements 2\nGUIElement1Ent probe, a\nGUIElement1Priority 20\n"
                                  "GUIElement2Ent probe, b\nGUIElement2Pos 7, 8\n"
                                  "CursorEnt probe, cursor\nToolTipTextEnt probe, tiptext\n");
    PXEntity2DSceneType* type = shown.SceneType();
    ASSERT_TRUE(type->IsLoaded());
    ASSERT_NE(type->GetToolTipText(), nullptr);

    ASSERT_TRUE(type->Unload());
    EXPECT_FALSE(type->IsLoaded());
    EXPECT_EQ(Elements(), (std::vector<std::string>{"-/0", "-/20"}));
    EXPECT_EQ(type->GetCursorEntity(), nullptr);
    EXPECT_EQ(type->GetToolTipText(), nullptr);
    EXPECT_TRUE(type->Unload());  // a second Unload has nothing left to release

    ASSERT_TRUE(type->Load(false));
    EXPECT_TRUE(type->IsLoaded());
    EXPECT_EQ(Elements(), (std::vector<std::string>{"b/0", "a/20"}));
    PXPoint at;
    type->GetElements()[0].entity->GetPosition(&at);
    EXPECT_EQ(at.x, 7);
    EXPECT_EQ(at.y, 8);
    EXPECT_NE(type->GetCursorEntity(), nullptr);
    EXPECT_NE(type->GetToolTipText(), nullptr);
    screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
    shown.Update(16.0f);
    shown.Draw();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{"b", "a", "cursor"}));
}

// A definition that leads back into the type being loaded (the shape a fuzzer found: a
// button whose picture is the scene that holds it) is refused with a log line naming the
// type; the rest loads and runs.
TEST_F(SceneTest, DefinitionsThatLeadBackIntoTheirOwnTypeAreRefused)
{
    struct Case {
        const char* what;
        std::vector<std::string> definitions;
        PXEntityRef made;
        uint32_t kind;
        const char* logged;
    };
    const Case cases[] = {
        {"a scene's button shows the scene",
         {"class = button\ntype = loopbtn\nMainImageEnt = 2DScene, loop\n",
          "class = 2DScene\ntype = loop\nNumGUIElements 3\nGUIElement1Ent probe, a\nGUIElement1Priority 5\n"
          "GUIElement2Ent button, loopbtn\nGUIElement3Ent probe, b\nGUIElement3Priority 1\n"},
         {"2DScene", "loop"},
         PXKind::Scene,
         "2DScene, loop - reached again while it loads."},
        {"a button is its own picture",
         {"class = button\ntype = selfbtn\nMainImageEnt = button, selfbtn\n"},
         {"button", "selfbtn"},
         PXKind::GuiElement,
         "button, selfbtn - reached again while it loads."},
        {"a text is its own font",
         {"class = text\ntype = selftext\nFontEnt = text, selftext\nDefaultText = x\n"},
         {"text", "selftext"},
         PXKind::GuiElement,
         "text, selftext - reached again while it loads."},
        {"a dialog frame's title is the dialog box that holds the frame",
         {"class = PXVectorFrame\ntype = loopframe\nHasTitle = 1\nTitleTextEnt = PXDialogBox, loopbox\n",
          "class = PXDialogBox\ntype = loopbox\nFrameEnt = PXVectorFrame, loopframe\nWidth = 100\nHeight = 60\n"},
         {"PXDialogBox", "loopbox"},
         PXKind::GuiElement,
         "PXDialogBox, loopbox - reached again while it loads."},
        {"two multi-line texts are each other's font",
         {"class = MultiText\ntype = m1\nTitleFontEnt = MultiText, m2\n",
          "class = MultiText\ntype = m2\nMainFontEnt = MultiText, m1\n"},
         {"MultiText", "m1"},
         PXKind::GuiElement,
         "MultiText, m1 - reached again while it loads."},
    };
    ASSERT_TRUE(PXRegisterDialogClasses(registry));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& text : c.definitions) {
            Define(text);
        }
        std::unique_ptr<PXEntityBase> made = registry.CreateEntity(c.made, c.kind);
        ASSERT_NE(made, nullptr);
        made->GetType()->Load(false);
        screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
        for (int frame = 0; frame < 3; ++frame) {
            made->Update(16.0f);
            made->Draw();
        }
        EXPECT_TRUE(made->GetType()->IsLoaded());
        // A scene keeps every element; the button just has no picture.
        if (auto* loop = dynamic_cast<PXEntity2DScene*>(made.get())) {
            for (const PXSceneElement& e : loop->SceneType()->GetElements()) {
                EXPECT_NE(e.entity, nullptr);
            }
        }
        EXPECT_NE(dir.Read("log.txt").find(c.logged), std::string::npos) << dir.Read("log.txt");
        std::filesystem::remove(dir.Path() / "log.txt");
    }
}

TEST_F(SceneTest, DrawOrderPutsTheTopLayerAboveAndDialogsTooltipAndCursorLast)
{
    Make("NumGUIElements 4\n"
         "GUIElement1Ent probe, a\nGUIElement1Priority 500\n"
         "GUIElement2Ent probe, b\nGUIElement2Priority 499\n"
         "GUIElement3Ent probe, c\nGUIElement3Priority 999\n"
         "GUIElement4Ent probe, d\nGUIElement4Priority 0\n"
         "CursorEnt probe, cursor\nToolTipTextEnt probe, tiptext\n");
    scene->AddDialog(1, Box("box1"), nullptr, nullptr, false);
    scene->AddDialog(2, Box("box2"), nullptr, nullptr, false);
    scene->ShowToolTip(nullptr, 10, 10, "hi");
    scene->Update(100.0f);  // 205 ms left: the tooltip is drawn at alpha 205
    scene->SceneType()->GetElements()[1].entity->SetVisible(false);  // b
    EventLog().clear();
    scene->Draw();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{"d", "a", "c", "box1", "box2", "tiptext@205", "cursor"}));

    EventLog().clear();
    scene->DrawTop();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{"a", "c"}));

    // Embedded in a dialog scene, the scene draws nothing itself.
    scene->SetHostDialog(scene->GetDialogs().front().get());
    EventLog().clear();
    scene->Draw();
    scene->DrawTop();
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(SceneTest, ModalDialogTakesEveryEventAndStopsTheElements)
{
    Make("NumGUIElements 1\nGUIElement1Ent probe, a\n");
    scene->AddDialog(1, Box("box1"), nullptr, nullptr, false);
    scene->AddDialog(2, Box("box2"), nullptr, nullptr, true);
    ASSERT_TRUE(scene->IsModal());
    const PXPoint p{7, 8};
    // box2 answers false, yet the scene reports the event as handled.
    EXPECT_TRUE(scene->OnMouseDown(&p, 1));
    EXPECT_TRUE(scene->OnMouseUp(&p, 2));
    EXPECT_TRUE(scene->OnMouseAux(&p, 5));
    EXPECT_TRUE(scene->OnKeyDown(13));
    EXPECT_TRUE(scene->OnKeyUp(256));
    EXPECT_TRUE(scene->OnKeyAux(4));
    scene->Update(16.0f);
    EXPECT_EQ(EventLog(),
              (std::vector<std::string>{"box2:down@7,8:1", "box2:up@7,8:2", "box2:aux@7,8:5", "box2:key:13",
                                        "box2:keyup:256", "box2:keyaux:4", "update:box2"}));
}

TEST_F(SceneTest, NonModalDialogsAreAskedOldestFirstUntilOneTakesTheEvent)
{
    Make("");
    EXPECT_FALSE(scene->OnKeyDown('x'));  // no dialog: not handled
    scene->AddDialog(1, Box("box1"), nullptr, nullptr, false);
    scene->AddDialog(2, Box("taker"), nullptr, nullptr, false);
    scene->AddDialog(3, Box("box2"), nullptr, nullptr, false);
    EXPECT_TRUE(scene->OnKeyDown('x'));
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"box1:key:120", "taker:key:120"}));

    EventLog().clear();
    scene->Update(1.0f);
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"update:box1", "update:taker", "update:box2"}));
}

bool Refuse(void*, PXSceneDialog*)
{
    return false;
}

bool Accept(void* user, PXSceneDialog* dialog)
{
    static_cast<std::vector<int32_t>*>(user)->push_back(dialog->GetTag());
    return true;
}

TEST_F(SceneTest, ClosingDialogs)
{
    Make("");
    std::vector<int32_t> closed;
    auto refused = Box("box1");
    PXSceneDialog* stays = refused.get();
    scene->AddDialog(7, std::move(refused), Refuse, nullptr, true);
    auto accepted = Box("box2");
    PXSceneDialog* goes = accepted.get();
    scene->AddDialog(8, std::move(accepted), Accept, &closed, false);
    EXPECT_EQ(goes->GetOwnerScene(), scene.get());
    EXPECT_EQ(goes->GetTag(), 8);

    // A callback that answers false keeps the dialog open and on top of its layer.
    scene->CloseDialog(stays);
    EXPECT_EQ(scene->GetDialogCount(), 2u);

    scene->CloseDialog(goes);
    EXPECT_EQ(closed, std::vector<int32_t>{8});
    EXPECT_EQ(scene->GetDialogCount(), 1u);
    EXPECT_EQ(TestBoxesAlive(), 2);  // closed, alive until the next update
    scene->Update(1.0f);
    EXPECT_EQ(TestBoxesAlive(), 1);

    // Closing the last dialog clears modal at once; the scene's own handler decides when
    // no callback was given.
    scene->AddDialog(9, Box("box1"), nullptr, nullptr, true);
    PXSceneDialog* last = scene->GetDialogs().front().get();
    scene->CloseDialog(last);
    EXPECT_EQ(scene->GetDialogCount(), 1u);
    scene->CloseDialog(goes);  // no longer open: nothing happens
    EXPECT_TRUE(scene->IsModal());
}

TEST_F(SceneTest, ClosingTheLastDialogClearsModal)
{
    Make("");
    scene->AddDialog(1, Box("box1"), nullptr, nullptr, true);
    scene->CloseDialog(scene->GetDialogs().front().get());
    EXPECT_EQ(scene->GetDialogCount(), 0u);
    EXPECT_FALSE(scene->IsModal());
}

TEST_F(SceneTest, MessageBoxIsCentredAndModal)
{
    Make("MessageBoxEnt testbox, msgbox\n");
    scene->ShowMessageBox("Really?", 4, 6, nullptr, nullptr, 2500.0f);
    ASSERT_EQ(scene->GetDialogCount(), 1u);
    EXPECT_TRUE(scene->IsModal());
    auto* box = dynamic_cast<TestMessageBox*>(scene->GetDialogs().front().get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->message, "Really?");
    EXPECT_EQ(box->buttons, 6);
    EXPECT_FLOAT_EQ(box->timeout, 2500.0f);
    EXPECT_EQ(box->GetTag(), 4);
    PXPoint at;
    box->GetPosition(&at);
    EXPECT_EQ(at.x, (640 - 101) >> 1);
    EXPECT_EQ(at.y, (480 - 51) >> 1);

    // The default classes do not exist here: nothing is shown.
    Make("");
    scene->ShowMessageBox("x", 1, 1, nullptr, nullptr);
    scene->ShowInputBox("Name", "Ann", 12, 2, nullptr, nullptr);
    EXPECT_EQ(scene->GetDialogCount(), 0u);
}

TEST_F(SceneTest, FindDialogSceneAnswersTheInnerSceneOfTheRightKind)
{
    Define("class = TestScene\ntype = inner\nGame 1\n");
    Define("class = testbox\ntype = holder\nSceneEnt TestScene, inner\n");
    Make("");
    scene->AddDialog(1, Box("box1"), nullptr, nullptr, false);
    EXPECT_EQ(scene->FindDialogScene(PXKind::GameScene), nullptr);
    auto holder = Box("holder");
    PXEntity2DScene* inner = static_cast<TestBox*>(holder.get())->inner.get();
    ASSERT_NE(inner, nullptr);
    scene->AddDialog(2, std::move(holder), nullptr, nullptr, false);
    EXPECT_EQ(scene->FindDialogScene(PXKind::GameScene), inner);
    EXPECT_EQ(scene->FindDialogScene(PXKind::HighScoreInputScene), nullptr);
}

TEST_F(SceneTest, TooltipIsKeptOnScreenFadesInAndOut)
{
    Make("ToolTipTextEnt probe, tiptext\n");
    Probe owner(static_cast<ProbeType*>(registry.FindType("probe", "a")));
    // 10 characters: 80 x 12, 84 x 16 with the background; near the right edge it is moved
    // left so that the background ends at the edge, and near the bottom moved up.
    scene->ShowToolTip(&owner, 600, 470, "0123456789");
    const PXToolTip* tip = scene->GetToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->rect, (PXRect{556, 640, 464, 480}));
    PXPoint at;
    scene->SceneType()->GetToolTipText()->GetPosition(&at);
    EXPECT_EQ(at.x, 558);
    EXPECT_EQ(at.y, 466);

    scene->Update(30.0f);  // remaining 275: fading in
    EXPECT_FLOAT_EQ(scene->GetToolTip()->alpha, 30.0f);
    scene->ShowToolTip(&owner, 600, 470, "0123456789");  // the owner asks again: refreshed
    EXPECT_FLOAT_EQ(scene->GetToolTip()->remaining, 305.0f);
    scene->Update(100.0f);  // remaining 205: fading out
    EXPECT_FLOAT_EQ(scene->GetToolTip()->alpha, 205.0f);
    scene->Update(205.0f);  // exactly 0 left: still there
    ASSERT_NE(scene->GetToolTip(), nullptr);
    scene->Update(1.0f);
    EXPECT_EQ(scene->GetToolTip(), nullptr);
}

TEST_F(SceneTest, TooltipTextTakesItsFadeInUpdateSoDrawingInvalidatesNothing)
{
    // A text clears what it invalidates; a change of alpha made while drawing would clear
    // after the background was drawn and leave a black band once the tooltip is gone.
    Make("ToolTipTextEnt probe, tiptext\n");
    PXEntity2DGUIElement* text = scene->SceneType()->GetToolTipText();
    scene->ShowToolTip(nullptr, 10, 10, "hi");
    for (float step : {30.0f, 100.0f, 150.0f}) {
        scene->Update(step);
        ASSERT_NE(scene->GetToolTip(), nullptr);
        const int32_t alpha = static_cast<int32_t>(scene->GetToolTip()->alpha);
        EXPECT_EQ(text->GetAlpha(), alpha) << "after an update of " << step << " ms";
        scene->Draw();
        EXPECT_EQ(text->GetAlpha(), alpha) << "drawing changed the alpha";
    }
}

// Element "paint": a probe that fills its area with "Color" (r, g, b) when drawn, and whose
// Invalidate clears that area, as the image and text elements do. As tooltip text its area
// is the laid-out text plus "Spill" pixels to the right, as glyph cells reach past the last
// character's advance.
class PaintType : public ProbeType {
public:
    explicit PaintType(const PXDefinitionBlock* block) : ProbeType(block)
    {
        int rgb[3] = {0, 0, 0};
        if (block != nullptr && block->FindKey("Color")) {
            block->ReadInts(rgb, 3);
        }
        color = MakeColor(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]), static_cast<uint8_t>(rgb[2]));
        if (block != nullptr && block->FindKey("Spill")) {
            block->ReadInts(&spill, 1);
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;

    PXColor color;
    int spill = 0;
};

class Paint : public Probe {
public:
    explicit Paint(PaintType* type) : Probe(type) {}
    bool Draw() override
    {
        PXColor color = static_cast<PaintType*>(m_type)->color;
        color.alpha = static_cast<uint8_t>(m_alpha);
        g_screen->FillRect(Area(), color);
        return true;
    }
    void Invalidate() override { g_screen->InvalidateRect(Area(), true); }

private:
    PXRect Area() const
    {
        const auto* type = static_cast<PaintType*>(m_type);
        if (!type->text) {
            return {m_x, m_x + m_width, m_y, m_y + m_height};
        }
        return {m_x, m_x + 8 * static_cast<int32_t>(text.size()) + type->spill, m_y, m_y + 12};
    }
};

inline std::unique_ptr<PXEntityBase> PaintType::CreateEntity()
{
    return std::make_unique<Paint>(this);
}

class PaintPrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<PaintType>(block);
    }
};

PaintPrototype s_paintPrototype;

std::vector<uint16_t> FramePixels(PXScreen2D& screen)
{
    PXSurfaceDesc desc;
    std::vector<uint16_t> pixels;
    if (!screen.LockScreen(&desc)) {
        return pixels;
    }
    for (uint32_t y = 0; y < desc.height; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(desc.pixels + y * desc.pitch);
        pixels.insert(pixels.end(), row, row + desc.width);
    }
    screen.UnlockScreen();
    return pixels;
}

// Frame by frame, the picture drawn from the dirty list alone must equal a full redraw:
// the tooltip fades in over the background (not over black), a second owner's tooltip
// with the same text takes over elsewhere, and once both have faded nothing of them stays,
// not even the part of the text that reaches past the background.
TEST_F(SceneTest, TooltipFramesMatchAFullRedrawAndLeaveNoTrace)
{
    registry.RegisterPrototype(&s_paintPrototype, "paint");
    Define("class = paint\ntype = ground\nSize 640, 480\nColor 40, 80, 120\n");
    Define("class = paint\ntype = tip\nText 1\nColor 250, 250, 250\nSpill 6\n");
    Make("NumGUIElements 1\nGUIElement1Ent paint, ground\nGUIElement1Pos 0, 0\n"
         "ToolTipTextEnt paint, tip\nToolTipBGCol 200, 40, 40, 255\n");
    Probe first(static_cast<ProbeType*>(registry.FindType("probe", "a")));
    Probe second(static_cast<ProbeType*>(registry.FindType("probe", "b")));
    screen.Clear();
    scene->Update(16.0f);
    scene->Draw();
    screen.Present();
    const std::vector<uint16_t> ground = FramePixels(screen);

    struct Step {
        Probe* owner;  // asks for its tooltip before every frame; none: nobody does
        int32_t x, y;
        int frames;
        float frameMs;
    };
    // Long frames at the end: the text is still clearly visible in the last frame drawn.
    const Step steps[] = {
        {&first, 100, 100, 30, 16.0f}, {&second, 300, 200, 30, 16.0f}, {nullptr, 0, 0, 3, 250.0f}};
    int frame = 0;
    for (const Step& step : steps) {
        for (int i = 0; i < step.frames; ++i, ++frame) {
            if (step.owner != nullptr) {
                scene->ShowToolTip(step.owner, step.x, step.y, "tip text");
            }
            scene->Update(step.frameMs);
            scene->Draw();
            screen.Present();
            const std::vector<uint16_t> incremental = FramePixels(screen);
            screen.InvalidateRect({0, 640, 0, 480}, false);
            scene->Draw();
            screen.Present();
            ASSERT_EQ(FramePixels(screen), incremental) << "frame " << frame;
        }
    }
    EXPECT_EQ(scene->GetToolTip(), nullptr);
    EXPECT_EQ(scene->GetOldToolTip(), nullptr);
    EXPECT_EQ(FramePixels(screen), ground);
}

TEST_F(SceneTest, AnotherOwnersTooltipReplacesTheShownOne)
{
    Make("ToolTipTextEnt probe, tiptext\n");
    Probe first(static_cast<ProbeType*>(registry.FindType("probe", "a")));
    Probe second(static_cast<ProbeType*>(registry.FindType("probe", "b")));
    scene->ShowToolTip(&first, -20, -20, "one");
    EXPECT_EQ(scene->GetToolTip()->rect, (PXRect{0, 28, 0, 16}));
    scene->ShowToolTip(&second, 50, 50, "two");
    EXPECT_EQ(scene->GetToolTip()->text, "two");
    ASSERT_NE(scene->GetOldToolTip(), nullptr);
    EXPECT_EQ(scene->GetOldToolTip()->text, "one");

    // Without a text element no tooltip is shown at all.
    Make("");
    scene->ShowToolTip(&first, 0, 0, "one");
    EXPECT_EQ(scene->GetToolTip(), nullptr);
}

TEST_F(SceneTest, CursorFollowsTheMouseAndHidesAfterItsTimeout)
{
    Make("CursorEnt probe, cursor\nCursorMoveTimeOut 100\n");
    g_mouseX = 40;
    g_mouseY = 50;
    scene->Update(16.0f);
    PXPoint at;
    scene->SceneType()->GetCursorEntity()->GetPosition(&at);
    EXPECT_EQ(at.x, 40);
    EXPECT_EQ(at.y, 50);
    scene->Update(60.0f);
    scene->Update(40.0f);  // rested 100 ms: still shown
    EventLog().clear();
    scene->Draw();
    EXPECT_EQ(Drawn(), std::vector<std::string>{"cursor"});
    scene->Update(1.0f);  // past the timeout
    EventLog().clear();
    scene->Draw();
    EXPECT_TRUE(Drawn().empty());
    g_mouseX = 41;  // a move shows it again
    scene->Update(1.0f);
    EventLog().clear();
    scene->Draw();
    EXPECT_EQ(Drawn(), std::vector<std::string>{"cursor"});

    EXPECT_TRUE(scene->SetCursorFrame(3));
    EXPECT_EQ(static_cast<Probe*>(scene->SceneType()->GetCursorEntity())->frame, 3);
    EXPECT_TRUE(scene->ShowCursor(false));
    EXPECT_FALSE(scene->SceneType()->GetCursorEntity()->IsVisible());
}

TEST_F(SceneTest, ClickAndTypeIntoElements)
{
    Make(
        "NumGUIElements 2\nGUIElement1Ent probe, a\nGUIElement1Pos 100, 100\nGUIElement2Ent probe, nosuch\n");
    const auto& elements = scene->SceneType()->GetElements();
    const PXSceneElement& field = elements[0].entity ? elements[0] : elements[1];
    const PXSceneElement& empty = elements[0].entity ? elements[1] : elements[0];
    EXPECT_TRUE(PXEntity2DScene::ClickElement(field, {105, 105}));
    EXPECT_FALSE(PXEntity2DScene::ClickElement(field, {95, 105}));
    EXPECT_FALSE(PXEntity2DScene::ClickElement(empty, {105, 105}));

    struct Step {
        int character;
        const char* expected;
    };
    const Step steps[] = {{'A', "A"},   {'b', "Ab"},
                          {'c', "Abc"}, {'d', "Abc"} /* at the limit of 3 */,
                          {8, "Ab"},    {13, "Ab"} /* not printable */,
                          {-23, "Ab"},  {8, "A"},
                          {8, ""},      {8, ""}};
    std::string text;
    for (const Step& s : steps) {
        PXEntity2DScene::TypeIntoElement(field, s.character, &text, 3);
        EXPECT_EQ(text, s.expected) << "after " << s.character;
        EXPECT_EQ(static_cast<Probe*>(field.entity.get())->text, s.expected);
    }

    // A text element edits itself, within the given length.
    Define("class = text\ntype = field\n");
    Make("NumGUIElements 1\nGUIElement1Ent text, field\n");
    const PXSceneElement& edit = scene->SceneType()->GetElements()[0];
    ASSERT_NE(edit.entity, nullptr);
    text.clear();
    for (int c : {int('N'), int('e'), int('d'), int('x'), 8}) {
        PXEntity2DScene::TypeIntoElement(edit, c, &text, 3);
    }
    EXPECT_EQ(text, "Ne");
    EXPECT_EQ(static_cast<PXEntity2DGUIText*>(edit.entity.get())->GetText(), "Ne");
}

}  // namespace
