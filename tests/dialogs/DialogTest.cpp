// Dialogs on the headless screen: message box keys, clicks, results and layout; dragging
// kept on the frame; the time-out with its counting title; the vector frame's close box;
// and a dialog scene placing, drawing and feeding its hosted scene; the focus moving between
// a dialog's buttons by key, pad and pointer.
#include <gtest/gtest.h>

#include "engine/core/PXEvent.h"
#include "engine/gui/PXEntityDialogBox.h"
#include "engine/gui/PXEntityDialogFrame.h"
#include "engine/gui/PXEntityDialogScene.h"
#include "engine/gui/PXEntityInputBox.h"
#include "engine/gui/PXEntityMessageBox.h"
#include "engine/gui/PXEntityVectorFrame.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/gui/FocusProbe.h"

namespace dialogtest {
namespace {

// A scene that logs the input reaching it.
class RecordingScene : public PXEntity2DScene {
public:
    using PXEntity2DScene::PXEntity2DScene;
    bool OnMouseUp(const PXPoint* p, int b) override { return Note("up", p, b); }
    bool OnMouseDown(const PXPoint* p, int b) override { return Note("down", p, b); }
    bool OnKeyDown(int k) override { return Note("key", nullptr, k); }
    bool OnKeyUp(int k) override { return Note("keyup", nullptr, k); }
    std::vector<std::string> log;

private:
    bool Note(const std::string& what, const PXPoint* p, int v)
    {
        log.push_back(what + (p ? "@" + std::to_string(p->x) + "," + std::to_string(p->y) : "") + ":" +
                      std::to_string(v));
        return false;
    }
};

class RecordingSceneType : public PXEntity2DSceneType {
public:
    using PXEntity2DSceneType::PXEntity2DSceneType;
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<RecordingScene>(this); }
};

class RecordingScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<RecordingSceneType>(block);
    }
};

RecordingScenePrototype s_recordingScenePrototype;
// The input box has no class name of its own; the tests give it the scene's default one.
PXEntityInputBoxPrototype s_inputBoxPrototype;

constexpr uint16_t Yellow = (31 << 10) | (31 << 5);

class DialogsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(registry.RegisterPrototype(&s_recordingScenePrototype, "RecScene"));
        Define("class = probe\ntype = Msg\nText = 1\n");
        for (const char* name : {"OK", "Yes", "No", "Cancel"}) {
            Define(std::string("class = probe\ntype = ") + name + "\nSize = 30, 20\n");
        }
        Define("class = PXVectorFrame\ntype = frame\nHasTitle = 1\nTitleHeight = 12\n");
        const std::string buttons =
            "TextEnt = probe, Msg\nOKButtonEnt = probe, OK\nYesButtonEnt = probe, Yes\n"
            "NoButtonEnt = probe, No\nCancelButtonEnt = probe, Cancel\n";
        Define("class = PXMessageBox\ntype = messagebox\nFrameEnt = PXVectorFrame, frame\n" + buttons);
        Define("class = PXMessageBox\ntype = bare\n" + buttons);
        Define("class = PXDialogBox\ntype = box\nFrameEnt = PXVectorFrame, frame\nWidth = 200\nHeight = 100\n");
        Define("class = PXDialogBox\ntype = wait\nFrameEnt = PXVectorFrame, frame\nTitle = Wait\nTimeOut = 3000\n");
        Define("class = 2DScene\ntype = plain\n");
        scene = Create<PXEntity2DScene>({"2DScene", "plain"}, PXKind::Scene);
    }

    static bool Record(void* user, PXSceneDialog* dialog)
    {
        static_cast<DialogsTest*>(user)->results.push_back(dialog->GetResult());
        return true;
    }

    // A dialog of the type added modally to the scene at (x, y), the results recorded.
    template <typename T> T* Open(const std::string& cls, const std::string& type, int32_t x, int32_t y)
    {
        std::unique_ptr<T> dialog = Make<T>({cls, type}, PXKind::DialogBox);
        T* raw = dialog.get();
        if (raw != nullptr) {
            raw->SetPosition({x, y});
            scene->AddDialog(7, std::move(dialog), &DialogsTest::Record, this, true);
        }
        return raw;
    }

    void Frames(int count, float ms = 16.0f)
    {
        for (int i = 0; i < count; ++i) {
            scene->Update(ms);
        }
    }

    PXEntity2DScene* scene = nullptr;
    std::vector<int32_t> results;
};

TEST_F(DialogsTest, MessageBoxKeysCloseWithTheirButtonsResult)
{
    struct Case {
        int32_t style;
        int key;
        bool closes;
        int32_t result;
    };
    const Case cases[] = {
        {1, KeyReturn, true, 1},  {2 | 4, KeyReturn, false, 0}, {8, KeyEscape, true, 4},
        {1, KeyEscape, true, 0},  {2 | 4, 'n', true, 3},         {2 | 4, 'N', true, 3},
        {2 | 4, 'y', true, 2},    {2 | 4, 'Y', true, 2},         {1, 'y', false, 0},
        {1, 'n', false, 0},       {15, 'q', false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + " key " + std::to_string(c.key));
        results.clear();
        auto* local = Create<PXEntity2DScene>({"2DScene", "plain"}, PXKind::Scene);
        local->ShowMessageBox("Question?", 5, c.style, &DialogsTest::Record, this);
        ASSERT_EQ(1u, local->GetDialogCount());
        // The box is modal: every key is taken, whether or not it answers.
        EXPECT_TRUE(local->OnKeyDown(c.key));
        EXPECT_EQ(c.closes ? 0u : 1u, local->GetDialogCount());
        EXPECT_EQ(c.closes ? std::vector<int32_t>{c.result} : std::vector<int32_t>{}, results);
    }
}

TEST_F(DialogsTest, MessageBoxLaysOutAndClicksItsButtons)
{
    scene->ShowMessageBox("Hello", 5, 1 | 2, &DialogsTest::Record, this);
    ASSERT_EQ(1u, scene->GetDialogCount());
    PXSceneDialog* box = scene->GetDialogs().front().get();
    PXRect r;
    box->GetRect(&r);
    // Text 40 x 12, two 30 x 20 buttons 10 apart, the frame adds 20 and 12 + 20; at least
    // 150 wide; centred on the frame.
    EXPECT_EQ((PXRect{245, 395, 203, 277}), r);

    scene->Update(16.0f);
    DrawLog().clear();
    box->Draw();
    EXPECT_EQ((std::vector<std::string>{"Msg@320,223", "OK@285,245", "Yes@325,245"}), DrawLog());

    // A click beside the buttons inside the box is taken but answers nothing.
    PXPoint inside{250, 260};
    EXPECT_TRUE(scene->OnMouseUp(&inside, 1));
    EXPECT_TRUE(results.empty());
    PXPoint yes{330, 250};
    EXPECT_TRUE(scene->OnMouseUp(&yes, 1));
    EXPECT_EQ(std::vector<int32_t>{2}, results);
    EXPECT_EQ(0u, scene->GetDialogCount());
}

TEST_F(DialogsTest, MessageBoxMeasuresAtLeast150By50)
{
    struct Case {
        const char* type;
        std::string text;
        int32_t style;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {"bare", "", 1, 150, 50},
        {"messagebox", "", 1, 150, 62},
        {"messagebox", std::string(30, 'a'), 15, 260, 74},
        {"bare", "Hi", 0, 150, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " '" + c.text + "'");
        auto* box = Create<PXEntityMessageBox>({"PXMessageBox", c.type}, PXKind::MessageBox);
        box->SetMessage(c.text);
        box->SetButtons(c.style);
        EXPECT_EQ(c.width, box->GetWidth());
        EXPECT_EQ(c.height, box->GetHeight());
    }
}

TEST_F(DialogsTest, DraggingByTheTitleBarStaysOnTheFrame)
{
    auto* box = Open<PXEntityDialogBox>("PXDialogBox", "box", 100, 100);
    ASSERT_NE(nullptr, box);
    // Below the title bar nothing drags.
    PXPoint body{150, 150};
    EXPECT_TRUE(scene->OnMouseDown(&body, 1));
    EXPECT_FALSE(box->IsDragging());
    scene->OnMouseUp(&body, 1);

    PXPoint title{150, 105};
    scene->OnMouseDown(&title, 1);
    ASSERT_TRUE(box->IsDragging());
    struct Step {
        PXPoint mouse;
        PXPoint expected;
    };
    const Step steps[] = {
        {{170, 125}, {120, 120}},  // follows the mouse, keeping the grip offset
        {{900, 125}, {440, 120}},  // right edge: 640 - width
        {{-300, -300}, {0, 0}},
        {{900, 900}, {440, 380}},  // bottom edge: 480 - height
    };
    for (const Step& s : steps) {
        MoveMouse(s.mouse.x, s.mouse.y);
        scene->Update(16.0f);
        PXPoint at;
        box->GetPosition(&at);
        EXPECT_EQ(s.expected.x, at.x) << s.mouse.x << "," << s.mouse.y;
        EXPECT_EQ(s.expected.y, at.y) << s.mouse.x << "," << s.mouse.y;
    }
    // The frame moves with the dialog.
    PXPoint framePos;
    box->GetFrame()->GetPosition(&framePos);
    EXPECT_EQ(440, framePos.x);

    PXPoint release{900, 900};
    EXPECT_TRUE(scene->OnMouseUp(&release, 1));
    EXPECT_FALSE(box->IsDragging());
    MoveMouse(10, 10);
    scene->Update(16.0f);
    PXPoint after;
    box->GetPosition(&after);
    EXPECT_EQ(440, after.x);
}

TEST_F(DialogsTest, TimeOutCountsDownInTheTitleUnlessInterrupted)
{
    enum Interrupt { None, Key, Click };
    for (Interrupt interrupt : {None, Key, Click}) {
        SCOPED_TRACE(interrupt);
        results.clear();
        scene = Create<PXEntity2DScene>({"2DScene", "plain"}, PXKind::Scene);
        auto* box = Open<PXEntityDialogBox>("PXDialogBox", "wait", 100, 100);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Wait", box->GetFrame()->GetTitle());
        Frames(1);
        EXPECT_EQ("Wait (2)", box->GetFrame()->GetTitle());
        if (interrupt == Key) {
            scene->OnKeyDown('a');
        } else if (interrupt == Click) {
            PXPoint outside{1, 1};
            scene->OnMouseUp(&outside, 1);
        }
        Frames(62);  // 1008 ms in all
        if (interrupt == None) {
            EXPECT_EQ("Wait (1)", box->GetFrame()->GetTitle());
        }
        Frames(124);  // 2992 ms
        EXPECT_TRUE(results.empty());
        Frames(1);
        if (interrupt == None) {
            EXPECT_EQ(std::vector<int32_t>{99}, results);
            EXPECT_EQ(0u, scene->GetDialogCount());
        } else {
            EXPECT_TRUE(results.empty());
            EXPECT_EQ("Wait", box->GetFrame()->GetTitle());
            EXPECT_EQ(1u, scene->GetDialogCount());
        }
    }
}

TEST_F(DialogsTest, ShowMessageBoxWithDurationClosesByItself)
{
    scene->ShowMessageBox("Game Over!", 5, 0, &DialogsTest::Record, this, 500.0f);
    Frames(31);
    EXPECT_TRUE(results.empty());
    Frames(1);
    EXPECT_EQ(std::vector<int32_t>{99}, results);
}

TEST_F(DialogsTest, VectorFrameCloseBoxHoversAndClosesWithZero)
{
    auto* box = Open<PXEntityDialogBox>("PXDialogBox", "box", 100, 100);
    ASSERT_NE(nullptr, box);
    auto* frame = dynamic_cast<PXEntityVectorFrame*>(box->GetFrame());
    ASSERT_NE(nullptr, frame);
    // Side 12 - 3 at x 100 + 200 - 12 - 1, y 100 + 3.
    EXPECT_EQ((PXRect{287, 296, 103, 112}), frame->GetCloseBox());

    MoveMouse(287, 107);  // on the edge: not inside
    scene->Update(16.0f);
    EXPECT_FALSE(frame->IsCloseHovered());
    MoveMouse(291, 107);
    scene->Update(16.0f);
    EXPECT_TRUE(frame->IsCloseHovered());
    DirtyAll();
    scene->Draw();
    // The yellow outline is one pixel larger at the top left.
    EXPECT_EQ(Yellow, screen.GetPixel(286, 107));
    EXPECT_EQ(Yellow, screen.GetPixel(290, 102));

    PXPoint press{291, 107};
    scene->OnMouseDown(&press, 1);
    EXPECT_EQ(std::vector<int32_t>{0}, results);
    EXPECT_EQ(0u, scene->GetDialogCount());
    EXPECT_FALSE(box->IsDragging());
}

TEST_F(DialogsTest, DialogScenePlacesDrawsAndFeedsItsScene)
{
    Define("class = probe\ntype = Low\nSize = 10, 10\n");
    Define("class = probe\ntype = High\nSize = 10, 10\n");
    Define("class = RecScene\ntype = inner\nNumGUIElements = 2\n"
           "GUIElement1Ent = probe, High\nGUIElement1Pos = 20, 5\nGUIElement1Priority = 600\n"
           "GUIElement2Ent = probe, Low\nGUIElement2Pos = 5, 5\nGUIElement2Priority = 10\n");
    Define("class = PXDialogScene\ntype = holder\nSceneEnt = RecScene, inner\n"
           "FrameEnt = PXVectorFrame, frame\nWidth = 200\nHeight = 100\n");
    auto* holder = Open<PXEntityDialogScene>("PXDialogScene", "holder", 100, 100);
    ASSERT_NE(nullptr, holder);
    auto* inner = dynamic_cast<RecordingScene*>(holder->GetInnerScene());
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(inner, scene->FindDialogScene(PXKind::Scene));

    scene->Update(16.0f);
    DrawLog().clear();
    scene->Draw();
    // Client offset (10, 12 + 8); the lower layer first; the hosted scene draws none itself.
    EXPECT_EQ((std::vector<std::string>{"Low@115,125", "High@130,125"}), DrawLog());

    PXPoint click{118, 128};
    EXPECT_TRUE(scene->OnMouseDown(&click, 1));
    EXPECT_TRUE(scene->OnMouseUp(&click, 1));
    EXPECT_TRUE(scene->OnKeyDown('x'));
    EXPECT_TRUE(scene->OnKeyUp('x'));
    EXPECT_EQ((std::vector<std::string>{"down@118,128:1", "up@118,128:1", "key:120", "keyup:120"}), inner->log);

    holder->SetPosition({300, 200});
    scene->Update(16.0f);
    DrawLog().clear();
    scene->Draw();
    EXPECT_EQ((std::vector<std::string>{"Low@315,225", "High@330,225"}), DrawLog());
}

TEST_F(DialogsTest, InputBoxEditsItsFieldAndAnswersOKOrCancel)
{
    ASSERT_TRUE(registry.RegisterPrototype(&s_inputBoxPrototype, "PXInputBox"));
    Define("class = text\ntype = Field\n");
    Define("class = PXInputBox\ntype = inputbox\nFrameEnt = PXVectorFrame, frame\nInstructionsEnt = probe, Msg\n"
           "InputEnt = text, Field\nOKButtonEnt = probe, OK\nCancelButtonEnt = probe, Cancel\n");
    struct Case {
        const char* what;
        std::string typed;
        int closeKey;  // 0: click the button named by `button`
        const char* button;
        int32_t result;
        std::string text;
    };
    const Case cases[] = {
        {"Return answers OK; the field keeps at most 5", "defgh", KeyReturn, "", 3, "abcde"},
        {"Escape answers Cancel", "x", KeyEscape, "", 4, "abcx"},
        {"the OK button", "", 0, "OK", 3, "abc"},
        {"the Cancel button", "\b", 0, "Cancel", 4, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        results.clear();
        auto* local = Create<PXEntity2DScene>({"2DScene", "plain"}, PXKind::Scene);
        local->ShowInputBox("Name?", "abc", 5, 9, &DialogsTest::Record, this);
        ASSERT_EQ(1u, local->GetDialogCount());
        auto* box = dynamic_cast<PXEntityInputBox*>(local->GetDialogs().front().get());
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Name?", box->GetPrompt());
        local->Update(16.0f);
        for (char ch : c.typed) {
            EXPECT_TRUE(local->OnKeyDown(ch));
        }
        EXPECT_EQ(c.text, box->GetEnteredText());
        if (c.closeKey != 0) {
            local->OnKeyDown(c.closeKey);
        } else {
            const auto* type = static_cast<PXEntityInputBoxType*>(box->GetType());
            PXEntity2DGUIElement* button = type->GetChild(std::string(c.button) == "OK"
                                                              ? PXEntityInputBoxType::OKButton
                                                              : PXEntityInputBoxType::CancelButton);
            PXRect r;
            button->GetRect(&r);
            PXPoint at{r.left + 1, r.top + 1};
            local->OnMouseUp(&at, 1);
        }
        EXPECT_EQ(std::vector<int32_t>{c.result}, results);
        EXPECT_EQ(0u, local->GetDialogCount());
    }
}

// Dialogs whose buttons take the focus: a message box and an input box of focus probes, and
// a scene that opens them.
class DialogFocusTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        ASSERT_TRUE(registry.RegisterPrototype(&s_focusProbePrototype, "focusprobe"));
        ASSERT_TRUE(registry.RegisterPrototype(&s_inputBoxPrototype, "PXInputBox"));
        for (const char* name : {"FOK", "FYes", "FNo", "FCancel"}) {
            Define(std::string("class = focusprobe\ntype = ") + name + "\nSize = 30, 20\n");
        }
        Define("class = PXMessageBox\ntype = focusbox\nTextEnt = probe, Msg\nOKButtonEnt = focusprobe, FOK\n"
               "YesButtonEnt = focusprobe, FYes\nNoButtonEnt = focusprobe, FNo\nCancelButtonEnt = focusprobe, FCancel\n");
        Define("class = text\ntype = Field\n");
        Define("class = PXInputBox\ntype = focusinput\nInstructionsEnt = probe, Msg\nInputEnt = text, Field\n"
               "OKButtonEnt = focusprobe, FOK\nCancelButtonEnt = focusprobe, FCancel\n");
        Define("class = 2DScene\ntype = asks\nMessageBoxEnt = PXMessageBox, focusbox\n"
               "InputBoxEnt = PXInputBox, focusinput\n");
    }

    // A scene showing a message box of the style, one frame run so its buttons are placed.
    PXEntity2DScene* Ask(int32_t style)
    {
        results.clear();
        auto* local = Create<PXEntity2DScene>({"2DScene", "asks"}, PXKind::Scene);
        local->ShowMessageBox("Question?", 5, style, &DialogsTest::Record, this);
        local->Update(16.0f);
        return local;
    }
};

TEST_F(DialogFocusTest, MessageBoxFocusMovesBetweenItsButtonsAndPressAnswers)
{
    struct Case {
        const char* what;
        int32_t style;
        std::vector<int> keys;
        std::vector<int> pads;
        std::vector<int32_t> results;  // none: still open
    };
    const Case cases[] = {
        {"Right shows Yes, Return presses it", 2 | 4, {KeyArrowRight, KeyReturn}, {}, {2}},
        {"Right again moves to No", 2 | 4, {KeyArrowRight, KeyArrowRight, KeyReturn}, {}, {3}},
        {"Left comes back; space presses", 2 | 4, {KeyArrowRight, KeyArrowRight, KeyArrowLeft, ' '}, {}, {2}},
        {"Tab walks", 2 | 4, {KeyTab, KeyTab, KeyReturn}, {}, {3}},
        {"Tab wraps", 2 | 4, {KeyTab, KeyTab, KeyTab, KeyReturn}, {}, {2}},
        {"Return on a hidden focus only shows it", 2 | 4, {KeyReturn}, {}, {}},
        {"without a shown focus Return answers OK", 1 | 8, {KeyReturn}, {}, {1}},
        {"with it, the focused button", 1 | 8, {KeyArrowRight, KeyArrowRight, KeyReturn}, {}, {4}},
        {"all four", 15, {KeyTab, KeyTab, KeyTab, KeyTab, KeyReturn}, {}, {4}},
        {"letters answer wherever the focus is", 2 | 4, {KeyArrowRight, KeyArrowRight, 'y'}, {}, {2}},
        {"Escape after moving", 2 | 4, {KeyArrowRight, KeyEscape}, {}, {0}},
        {"pad: right, right, south", 2 | 4, {}, {PadRight, PadRight, PadSouth}, {3}},
        {"pad: first south only shows", 2 | 4, {}, {PadSouth}, {}},
        {"pad: east is Escape", 2 | 4, {}, {PadEast}, {0}},
        {"pad: back answers Cancel", 8, {}, {PadBack}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PXEntity2DScene* local = Ask(c.style);
        for (int key : c.keys) {
            EXPECT_TRUE(local->OnKeyDown(key));
        }
        for (int pad : c.pads) {
            EXPECT_TRUE(local->OnPadDown(pad));
        }
        EXPECT_EQ(c.results, results);
        EXPECT_EQ(c.results.empty() ? 1u : 0u, local->GetDialogCount());
    }
}

TEST_F(DialogFocusTest, MessageBoxFocusFollowsThePointerAndTheFocusedButtonLooksIt)
{
    PXEntity2DScene* local = Ask(2 | 4);
    auto* box = dynamic_cast<PXEntityMessageBox*>(local->GetDialogs().front().get());
    ASSERT_NE(nullptr, box);
    const auto* type = static_cast<PXEntityMessageBoxType*>(box->GetType());
    PXEntity2DGUIElement* yes = type->GetButton(PXEntityMessageBoxType::ButtonYes);
    PXEntity2DGUIElement* no = type->GetButton(PXEntityMessageBoxType::ButtonNo);
    PXRect r;
    no->GetRect(&r);
    MoveMouse(r.left + 5, r.top + 5);
    local->Update(16.0f);
    EXPECT_TRUE(no->IsFocused());
    EXPECT_FALSE(yes->IsFocused());
    EXPECT_EQ(no, box->GetFocus().Focused());
    // Return presses the button the pointer chose.
    local->OnKeyDown(KeyReturn);
    EXPECT_EQ(std::vector<int32_t>{3}, results);
    // The buttons belong to the type: the closed box leaves none of them focused.
    local->Update(16.0f);
    EXPECT_FALSE(no->IsFocused());
}

TEST_F(DialogFocusTest, InputBoxTabReachesItsButtonsWhileCharactersStillType)
{
    struct Case {
        const char* what;
        std::vector<int> keys;
        int32_t result;
        std::string text;
    };
    const Case cases[] = {
        {"Tab shows OK, Return presses it", {'x', KeyTab, KeyReturn}, 3, "abx"},
        {"Tab twice: Cancel; space and letters still type", {KeyTab, KeyTab, ' ', 'y', KeyReturn}, 4, "ab y"},
        {"Return without a shown focus answers OK", {'z', KeyReturn}, 3, "abz"},
        {"Escape with the focus on OK answers Cancel", {KeyTab, KeyEscape}, 4, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        results.clear();
        auto* local = Create<PXEntity2DScene>({"2DScene", "asks"}, PXKind::Scene);
        local->ShowInputBox("Name?", "ab", 8, 9, &DialogsTest::Record, this);
        auto* box = dynamic_cast<PXEntityInputBox*>(local->GetDialogs().front().get());
        ASSERT_NE(nullptr, box);
        local->Update(16.0f);
        std::string text;
        for (int key : c.keys) {
            text = box->GetEnteredText();
            local->OnKeyDown(key);
        }
        EXPECT_EQ(std::vector<int32_t>{c.result}, results);
        EXPECT_EQ(c.text, text);
    }
}

}  // namespace
}  // namespace dialogtest
