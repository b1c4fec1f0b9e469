// The play scene's frame (input repeat, mouse steering, hint, banner, rules), its input
// handlers and its drawing.
#include "game/SFEntityMainGameScene.h"

#include <algorithm>
#include <array>
#include <memory>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/core/PXRandom.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXEntity2DGUIToggleButton.h"
#include "engine/sound/PXSoundManager.h"
#include "game/SFGame.h"
#include "game/SFHighScore.h"

namespace {

constexpr int32_t FrameWidth = 640;
constexpr int32_t FrameHeight = 480;
constexpr uint32_t WholeImage = 0xFFFFFFFFu;  // -1: up to the image's edge
constexpr uint32_t SaturatingAdd = 0xFFFF;    // BlitAlpha's keyed additive mode

// Board geometry: cell (x, r) has its top-left corner at (16x + 112, (16 - r) * 28 + 4).
constexpr int32_t FieldLeft = 112;
constexpr int32_t FieldTop = 4;
constexpr int32_t HalfCell = 16;
constexpr int32_t CellHeight = 28;
constexpr int32_t TopRow = 16;
constexpr int32_t FieldWidth = 288;
constexpr int32_t BannerWidth = 112;
constexpr int32_t RightBannerLeft = 528;
constexpr int32_t InfoStripLeft = 400;
// The mouse column: (mouse x - 120) / 16, so the pointer sits on the piece's middle.
constexpr int32_t SteerOrigin = 120;
// The next piece is drawn as if it stood at column 21, row 15, 20 pixels lower than the field.
constexpr int32_t NextColumn = 21;
constexpr int32_t NextRow = 15;
constexpr int32_t NextTop = 24;

constexpr int32_t TagQuit = 1;
constexpr int32_t TagGameOver = 2;
constexpr int32_t StyleOk = 1;
constexpr int32_t StyleYesNo = 6;
constexpr int32_t AnswerYes = 2;
constexpr const char* QuitQuestion = "Are you sure you want to quit?";
constexpr const char* GameOverText = "Game Over!\r\n\r\nClick OK to proceed to the high scores.";
constexpr const char* PausedText = "Game Paused";

// One small diamond of the level progress: lit once progress reaches k.
struct ProgressMark {
    int32_t k;
    int32_t threshold;  // 0: shown for thresholds 3, 4 and 5
    int32_t column;
    int32_t upY;
};
constexpr ProgressMark ProgressMarks[] = {
    {1, 0, 21, 259}, {2, 0, 20, 287}, {3, 0, 22, 287}, {4, 4, 21, 315}, {4, 5, 19, 315}, {5, 5, 23, 315},
};

// The screen image of a frame taken modulo the list's frame count; PXNoImage when none.
uint32_t FrameImage(const PXImageListEntry* list, int frame)
{
    if (list == nullptr || list->count == 0 || list->imageIds.size() < list->count) {
        return PXNoImage;
    }
    return list->imageIds[static_cast<size_t>(WrapFrame(frame, static_cast<int>(list->count)))];
}

// Frame index of an effect `progress` of the way through (0 to 1), kept inside the list.
int EffectFrame(const PXImageListEntry* list, float progress)
{
    if (list == nullptr || list->count == 0) {
        return 0;
    }
    const int count = static_cast<int>(list->count);
    return std::clamp(static_cast<int>(static_cast<float>(count) * progress), 0, count - 1);
}

int32_t CellX(int32_t column)
{
    return HalfCell * column + FieldLeft;
}

int32_t CellY(int32_t row, int32_t top)
{
    return (TopRow - row) * CellHeight + top;
}

}  // namespace

SFEntityMainGameScene::SFEntityMainGameScene(SFEntityMainGameSceneType* type)
    : PXEntity2DScene(type), m_field(g_difficulty, nullptr)
{
    // The rules report back only once the scene is whole.
    m_field.SetListener(this);
    if (g_game != nullptr) {
        g_game->StopSong(5000.0f);
    }
}

SFEntityMainGameScene::~SFEntityMainGameScene() = default;

// ---- small helpers ----

bool SFEntityMainGameScene::MouseOverField() const
{
    return g_mouseX >= FieldMouseLeft && g_mouseX <= FieldMouseRight;
}

bool SFEntityMainGameScene::SwapControls() const
{
    const auto* game = dynamic_cast<const SFGame*>(g_game);
    return game != nullptr && game->GetSwapControls() != 0;
}

int32_t SFEntityMainGameScene::RepeatDelay() const
{
    // A delay below 1 ms would make the repeat loops spin for ever.
    return std::max(g_keyRepeatDelay, 1);
}

void SFEntityMainGameScene::Pause()
{
    m_paused = true;
    m_status1 = PausedText;
    m_status2.clear();
}

void SFEntityMainGameScene::Resume()
{
    m_paused = false;
    m_status1.clear();
    m_status2.clear();
}

void SFEntityMainGameScene::ContinueFromPause()
{
    if (m_gameOver) {
        LeaveForHighScores();
    } else {
        Resume();
    }
}

void SFEntityMainGameScene::LeaveForHighScores()
{
    if (g_game != nullptr) {
        g_game->ChangeScene("SFHighScoreMenuScene", "highscores", SceneType()->GetTransitionStyle());
    }
}

bool SFEntityMainGameScene::IsSoundOn() const
{
    return g_soundManager == nullptr || g_soundManager->IsSoundMuted() == 0;
}

void SFEntityMainGameScene::ToggleSound()
{
    if (g_soundManager != nullptr) {
        g_soundManager->SetSoundEnabled(!IsSoundOn());
    }
    ShowSoundState();
}

void SFEntityMainGameScene::ShowSoundState()
{
    // The button's first picture says sound on, its second sound off.
    if (PXEntity2DGUIElement* button = GameType()->GetRecordEntity(SFGameRecord::Sound)) {
        button->SetProperty(PXToggleProp::State, IsSoundOn() ? 0 : 1);
    }
}

void SFEntityMainGameScene::ShowCursorSprite(bool visible)
{
    ShowCursor(visible);
}

// ---- what the rules report ----

void SFEntityMainGameScene::PlaySound(SFSound sound)
{
    PXSoundEntry* entry = GameType()->GetSound(sound);
    if (entry == nullptr || g_soundManager == nullptr) {
        return;
    }
    uint32_t channel = 0;
    if (g_soundManager->CreateChannel(entry->soundId, channel, false)) {
        g_soundManager->PlayChannel(channel);
    }
}

void SFEntityMainGameScene::StartExplosion(int32_t x, int32_t y)
{
    m_explosions.push_back(Explosion{x, y, 0.0f});
}

void SFEntityMainGameScene::PlaceTurnScore(float x, float y)
{
    m_turnScoreX = x;
    m_turnScoreY = y;
}

void SFEntityMainGameScene::TurnEnded(int32_t /*turnPoints*/)
{
    m_turnScoreFade = TurnScoreFadeMs;
}

void SFEntityMainGameScene::LevelUp(int32_t /*level*/)
{
    m_bannerOffset = 0;
    m_bannerTimer = 0.0f;
}

void SFEntityMainGameScene::WarpPointer(int32_t column)
{
    if (!m_field.Current().Exists() || !MouseOverField() || g_screen == nullptr) {
        return;
    }
    PXPoint at;
    if (!g_screen->GetCursorPosition(&at)) {
        return;
    }
    g_screen->SetCursorPosition({HalfCell * (column + 8), at.y});
    m_ignoreMouseMove = true;
}

void SFEntityMainGameScene::GameOver(int32_t score, int32_t level, int32_t mode)
{
    m_status1.clear();
    m_status2.clear();
    g_newHighScore = std::make_unique<SFHighScore>(
        static_cast<uint32_t>(std::max(score, 0)), static_cast<uint32_t>(std::max(level, 0)),
        static_cast<uint32_t>(std::max(mode, 0)), g_lastHighScoreName);
    m_paused = true;
    m_gameOver = true;
    ShowMessageBox(GameOverText, TagGameOver, StyleOk, nullptr, nullptr);
}

// ---- the frame ----

bool SFEntityMainGameScene::Update(float frameTime)
{
    // The whole frame is drawn anew; Draw clears it first when the backdrop leaves gaps.
    if (g_screen != nullptr) {
        g_screen->InvalidateRect({0, FrameWidth, 0, FrameHeight}, false);
    }
    TrackPointerEntry();
    ShowCursorSprite(DialogOpen() || m_mouseIdle < CursorHideMs);
    m_type->Load(false);
    if (g_game != nullptr && g_game->IsInactive()) {
        Pause();
    }
    if (!m_paused) {
        RunGame(frameTime);
    }
    RefreshStatusElements();
    return PXEntity2DScene::Update(frameTime);
}

void SFEntityMainGameScene::TrackPointerEntry()
{
    if (!MouseOverField()) {
        m_mouseOverField = false;
        return;
    }
    if (!m_mouseOverField) {
        WarpPointer(m_field.Current().x);
    }
    m_mouseOverField = true;
}

void SFEntityMainGameScene::RunGame(float frameTime)
{
    const bool dialogOpen = DialogOpen();
    if (!m_gameOver && !dialogOpen) {
        AgeExplosions(frameTime);
    }
    if (dialogOpen) {
        return;
    }
    StepHint(frameTime);
    if (m_field.Current().Exists() && m_bannerOffset >= FrameHeight) {
        RepeatDrops(frameTime);
        RepeatSideSteps(frameTime);
        SteerWithMouse(frameTime);
    }
    RunPhases(frameTime);
}

void SFEntityMainGameScene::AgeExplosions(float frameTime)
{
    for (Explosion& e : m_explosions) {
        e.age += frameTime;
    }
    m_explosions.erase(std::remove_if(m_explosions.begin(), m_explosions.end(),
                                      [this](const Explosion& e) { return e.age >= m_explosionLength; }),
                       m_explosions.end());
}

void SFEntityMainGameScene::StepHint(float frameTime)
{
    if (m_hintActive) {
        m_hintTimer += frameTime;
        if (m_hintTimer > HintLengthMs) {
            m_hintActive = false;
            m_hintColour = -1;
            // The next shimmer 10 to 20 seconds later.
            m_hintTimer = RandomSpread(5000.0f) + 15000.0f;
        }
        return;
    }
    m_hintTimer -= frameTime;
    if (m_hintTimer <= 0.0f) {
        m_hintActive = true;
        m_hintTimer = 0.0f;
        m_hintColour = MostFrequentColour();
    }
}

int32_t SFEntityMainGameScene::MostFrequentColour() const
{
    std::array<int, 7> counts{};
    const SFBoard& board = m_field.Board();
    for (int r = 0; r < SFBoard::Rows; ++r) {
        for (int x = 0; x < SFBoard::Stride; ++x) {
            const uint8_t colour = board.At(x, r).colour;
            if (colour >= 1 && colour <= 6) {
                ++counts[colour];
            }
        }
    }
    int32_t best = 1;
    for (int32_t colour = 2; colour <= 6; ++colour) {
        if (counts[static_cast<size_t>(colour)] > counts[static_cast<size_t>(best)]) {
            best = colour;
        }
    }
    return best - 1;
}

void SFEntityMainGameScene::RepeatDrops(float frameTime)
{
    const float d = static_cast<float>(RepeatDelay());
    if (m_downHeld) {
        m_downRepeat += frameTime;
    }
    if (SwapControls() ? g_leftButtonDown : g_rightButtonDown) {
        m_mouseDropRepeat += frameTime;
    }
    while (m_field.Current().Exists() && (m_downRepeat > d || m_mouseDropRepeat > d)) {
        if (m_downRepeat > d) {
            m_downRepeat -= d;
        }
        if (m_mouseDropRepeat > d) {
            m_mouseDropRepeat -= d;
        }
        m_field.StepDown();
    }
}

void SFEntityMainGameScene::RepeatSideSteps(float frameTime)
{
    const float d = static_cast<float>(RepeatDelay());
    if (m_leftHeld) {
        m_leftRepeat += frameTime;
    }
    while (m_leftRepeat > d) {
        m_leftRepeat -= d;
        m_field.StepLeft();
    }
    if (m_rightHeld) {
        m_rightRepeat += frameTime;
    }
    while (m_rightRepeat > d) {
        m_rightRepeat -= d;
        m_field.StepRight();
    }
}

void SFEntityMainGameScene::SteerWithMouse(float frameTime)
{
    if (g_mouseX == m_lastMouseX && g_mouseY == m_lastMouseY) {
        m_mouseIdle += frameTime;
        if (m_mouseIdle > CursorHideMs) {
            ShowCursorSprite(false);
        }
    } else if (m_ignoreMouseMove) {
        // This movement is the pointer warp's own.
        m_ignoreMouseMove = false;
    } else {
        if (MouseOverField()) {
            StepTowardColumn((g_mouseX - SteerOrigin) / HalfCell);
        }
        m_mouseIdle = 0.0f;
        ShowCursorSprite(true);
    }
    m_lastMouseX = g_mouseX;
    m_lastMouseY = g_mouseY;
}

void SFEntityMainGameScene::StepTowardColumn(int32_t target)
{
    // One column at a time, so the piece never jumps over a blocked column.
    while (m_field.Current().Exists() && m_field.Current().x != target) {
        const int32_t before = m_field.Current().x;
        if (target < before) {
            m_field.StepLeft();
        } else {
            m_field.StepRight();
        }
        if (m_field.Current().x == before) {
            break;
        }
    }
}

void SFEntityMainGameScene::RunPhases(float frameTime)
{
    if (m_bannerOffset < FrameHeight) {
        // A level banner runs; the rules wait for it.
        m_bannerTimer += frameTime;
        m_bannerOffset = std::min(FrameHeight, static_cast<int32_t>(m_bannerTimer / BannerLengthMs *
                                                                    static_cast<float>(FrameHeight)));
        return;
    }
    const bool cursorVisible =
        SceneType()->GetCursorEntity() != nullptr && SceneType()->GetCursorEntity()->IsVisible();
    m_field.SetPointer(g_mouseX, cursorVisible);
    if (m_field.TurnActive()) {
        m_field.RemovalFrame(frameTime);
        m_field.SettleFrame(frameTime);
        m_field.EndTurnIfDone();
        DriftTurnScore(frameTime);
        return;
    }
    if (!m_field.Current().Exists()) {
        m_field.SpawnPiece();
    }
    m_turnScoreFade = std::max(m_turnScoreFade - frameTime, 0.0f);
    DriftTurnScore(frameTime);
    m_field.GravityFrame(frameTime);
}

void SFEntityMainGameScene::DriftTurnScore(float frameTime)
{
    m_turnScoreX += frameTime * 0.025f;
    m_turnScoreY -= frameTime * 0.05f;
}

void SFEntityMainGameScene::RefreshStatusElements()
{
    const auto show = [this](SFGameRecord record, const std::string& text) {
        PXEntity2DGUIElement* element = GameType()->GetRecordEntity(record);
        if (element != nullptr) {
            element->SetProperty(PXFontProp::Justify, PXJustify::Centre);
            element->SetStringProperty(PXTextProp::Text, text);
        }
    };
    show(SFGameRecord::Score, std::to_string(m_field.Score()));
    show(SFGameRecord::Level, std::to_string(m_field.Level()));
    show(SFGameRecord::Status1, m_status1);
    show(SFGameRecord::Status2, m_status2);
    ShowSoundState();
}

// ---- input ----

bool SFEntityMainGameScene::OnKeyDown(int key)
{
    if (DialogOpen()) {
        return PXEntity2DScene::OnKeyDown(key);
    }
    if (key == KeyF7) {
        // The game object switches the screen mode itself.
        Pause();
        return true;
    }
    if (Press(g_inputMap.ForKey(PXInputContext::Play, key), PXInputMap::NormalizeKey(key))) {
        return true;
    }
    if (m_paused) {
        ContinueFromPause();
    }
    return PXEntity2DScene::OnKeyDown(key);
}

bool SFEntityMainGameScene::OnKeyUp(int key)
{
    if (Release(g_inputMap.ForKey(PXInputContext::Play, key), PXInputMap::NormalizeKey(key)) && !DialogOpen()) {
        return true;
    }
    return PXEntity2DScene::OnKeyUp(key);
}

bool SFEntityMainGameScene::OnPadDown(int button)
{
    if (DialogOpen()) {
        return PXEntity2DScene::OnPadDown(button);
    }
    if (Press(g_inputMap.ForPad(PXInputContext::Play, button), PadInput + button)) {
        return true;
    }
    if (m_paused) {
        ContinueFromPause();
    }
    return PXEntity2DScene::OnPadDown(button);
}

bool SFEntityMainGameScene::OnPadUp(int button)
{
    if (Release(g_inputMap.ForPad(PXInputContext::Play, button), PadInput + button) && !DialogOpen()) {
        return true;
    }
    return PXEntity2DScene::OnPadUp(button);
}

bool SFEntityMainGameScene::OnPadRemoved(bool inUse)
{
    // The player's pad is gone: the game waits for them. The pad let go of what it held
    // before it was removed.
    if (inUse && !m_paused) {
        Pause();
    }
    return PXEntity2DScene::OnPadRemoved(inUse) || inUse;
}

SFEntityMainGameScene::Hold SFEntityMainGameScene::HoldOf(PXInputAction action)
{
    switch (action) {
    case PXInputAction::Drop:
        return {&m_downHeld, &m_downRepeat};
    case PXInputAction::MoveLeft:
        return {&m_leftHeld, &m_leftRepeat};
    case PXInputAction::MoveRight:
        return {&m_rightHeld, &m_rightRepeat};
    default:
        return {nullptr, nullptr};
    }
}

PXInputAction SFEntityMainGameScene::ActionOf(int32_t input)
{
    return input >= PadInput ? g_inputMap.ForPad(PXInputContext::Play, input - PadInput)
                             : g_inputMap.ForKey(PXInputContext::Play, input);
}

bool SFEntityMainGameScene::Press(PXInputAction action, int32_t input)
{
    switch (action) {
    case PXInputAction::Quit:
        if (m_gameOver) {
            LeaveForHighScores();
        } else {
            ShowMessageBox(QuitQuestion, TagQuit, StyleYesNo, nullptr, nullptr);
        }
        return true;
    case PXInputAction::SwapControls:
        if (auto* game = dynamic_cast<SFGame*>(g_game)) {
            game->SetSwapControls(game->GetSwapControls() != 0 ? 0 : 1);
        }
        return true;
    case PXInputAction::Pause:
        // A finished game stays paused until it leaves for the high scores.
        if (m_paused && !m_gameOver) {
            Resume();
        } else {
            Pause();
        }
        return true;
    case PXInputAction::ToggleSound:
        ToggleSound();
        return true;
    case PXInputAction::Drop:
    case PXInputAction::MoveLeft:
    case PXInputAction::MoveRight: {
        if (std::find(m_inputsDown.begin(), m_inputsDown.end(), input) == m_inputsDown.end()) {
            m_inputsDown.push_back(input);
        }
        const Hold hold = HoldOf(action);
        if (!*hold.held && !m_paused) {
            *hold.held = true;
            // Just over the delay, so the first step comes with the next frame.
            *hold.repeat = static_cast<float>(RepeatDelay()) + 0.1f;
        }
        return true;
    }
    case PXInputAction::Turn:
        m_field.Turn();
        return false;
    default:
        return false;
    }
}

bool SFEntityMainGameScene::Release(PXInputAction action, int32_t input)
{
    const Hold hold = HoldOf(action);
    if (hold.held == nullptr) {
        return false;
    }
    m_inputsDown.erase(std::remove(m_inputsDown.begin(), m_inputsDown.end(), input), m_inputsDown.end());
    // Another key or button bound to the same move keeps it going (the D-pad's down while
    // the drop button is let go, say).
    const bool stillHeld = std::any_of(m_inputsDown.begin(), m_inputsDown.end(),
                                       [action](int32_t other) { return ActionOf(other) == action; });
    *hold.held = *hold.held && stillHeld;
    return true;
}

bool SFEntityMainGameScene::OnMouseUp(const PXPoint* point, int button)
{
    m_mouseIdle = 0.0f;
    if (!DialogOpen() && point != nullptr) {
        const auto clicked = [this, point](SFGameRecord record) {
            const PXSceneElement* found = GameType()->GetRecord(record);
            return found != nullptr && ClickElement(*found, *point);
        };
        if (button == 1) {
            if (clicked(SFGameRecord::Pause)) {
                Pause();
                return true;
            }
            if (clicked(SFGameRecord::Sound)) {
                ToggleSound();
                return true;
            }
            if (clicked(SFGameRecord::Fullscreen)) {
                // The game switches, as for F7, so it knows the mode and excuses the switch.
                if (auto* game = dynamic_cast<SFGame*>(g_game)) {
                    game->ToggleFullScreen();
                } else if (g_screen != nullptr) {
                    g_screen->ToggleFullScreen();
                }
                return true;
            }
        }
        const int turnButton = SwapControls() ? 2 : 1;
        if (button == turnButton && point->x >= FieldMouseLeft && point->x <= FieldMouseRight &&
            m_field.Current().Exists()) {
            m_field.Turn();
        }
        if (m_paused) {
            ContinueFromPause();
        }
    }
    return PXEntity2DScene::OnMouseUp(point, button);
}

bool SFEntityMainGameScene::OnDialogClosed(PXSceneDialog* dialog)
{
    if (dialog == nullptr || g_game == nullptr) {
        return true;
    }
    const int32_t style = SceneType()->GetTransitionStyle();
    if (dialog->GetTag() == TagQuit && dialog->GetResult() == AnswerYes) {
        g_game->ChangeScene("SFMainMenuScene", "mainmenu", style);
    } else if (dialog->GetTag() == TagGameOver) {
        g_game->ChangeScene("SFHighScoreMenuScene", "highscores", style);
    }
    return true;
}

void SFEntityMainGameScene::OnDeactivate()
{
    m_inputsDown.clear();
    m_downHeld = false;
    m_leftHeld = false;
    m_rightHeld = false;
    m_downRepeat = 0.0f;
    m_leftRepeat = 0.0f;
    m_rightRepeat = 0.0f;
    m_mouseDropRepeat = 0.0f;
}

// ---- drawing ----

bool SFEntityMainGameScene::Draw()
{
    ReloadLostImages();
    if (g_screen != nullptr && !BackdropCoversFrame()) {
        g_screen->InvalidateRect({0, FrameWidth, 0, FrameHeight}, true);
    }
    DrawBackdrop();
    if (!BoardHidden()) {
        DrawBoard();
    }
    DrawPiece(m_field.Next(), NextColumn, NextRow, NextTop);
    DrawProgress();
    DrawExplosions();
    DrawTurnScore();
    return PXEntity2DScene::Draw();
}

void SFEntityMainGameScene::ReloadLostImages()
{
    // A re-created screen (full-screen toggle) loses every image; the blue triangles tell.
    const PXImageListEntry* blue = GameType()->GetTriangles(1);
    if (g_screen == nullptr || blue == nullptr || blue->count == 0 || blue->imageIds.empty() ||
        blue->imageIds[0] == PXNoImage) {
        return;
    }
    if (!g_screen->HasImage(blue->imageIds[0])) {
        m_type->Load(true);
    }
}

void SFEntityMainGameScene::DrawBackdrop()
{
    if (g_screen == nullptr) {
        return;
    }
    const SFEntityMainGameSceneType* type = GameType();
    const int32_t level = m_field.Level();
    // The new level's look scrolls up from the bottom while the banner runs.
    const int32_t newTop = FrameHeight - m_bannerOffset;
    const int32_t oldTop = -m_bannerOffset;

    const PXImageListEntry* banners = type->GetImageList(SFGameImages::Banners);
    const uint32_t newBanner = FrameImage(banners, level - 1);
    const uint32_t oldBanner = FrameImage(banners, level - 2);
    for (int32_t x : {0, RightBannerLeft}) {
        g_screen->Blit(newBanner, x, newTop, 0, 0, WholeImage, WholeImage, false);
        g_screen->Blit(oldBanner, x, oldTop, 0, 0, WholeImage, WholeImage, false);
    }
    const PXImageListEntry* backgrounds = type->GetImageList(SFGameImages::Backgrounds);
    g_screen->TileImage(FrameImage(backgrounds, level - 1), FieldLeft, newTop, FieldWidth, FrameHeight,
                        false);
    g_screen->TileImage(FrameImage(backgrounds, level - 2), FieldLeft, oldTop, FieldWidth, FrameHeight,
                        false);
    if (const PXImageEntry* strip = type->GetInfoStrip()) {
        g_screen->Blit(strip->imageId, InfoStripLeft, 0, 0, 0, WholeImage, WholeImage, false);
    }
    static_assert(BannerWidth == FieldLeft, "the left banner ends where the field starts");
}

namespace {

// Whether an image drawn whole with its top-left corner at (x, y), tiled over `tiled` when
// that is not empty, covers `area`.
bool ImageCovers(uint32_t id, int32_t x, int32_t y, const PXRect& area, const PXRect& tiled = {})
{
    if (area.IsEmpty()) {
        return true;
    }
    PXImage* image = nullptr;
    if (id == PXNoImage || g_screen->GetImage(id, &image) != 1 || image == nullptr || image->width == 0 ||
        image->height == 0 || image->originX != 0 || image->originY != 0) {
        return false;
    }
    const PXRect drawn = tiled.IsEmpty() ? PXRect{x, x + static_cast<int32_t>(image->width), y,
                                                  y + static_cast<int32_t>(image->height)}
                                         : tiled;
    return drawn.left <= area.left && drawn.right >= area.right && drawn.top <= area.top &&
           drawn.bottom >= area.bottom;
}

}  // namespace

bool SFEntityMainGameScene::BackdropCoversFrame() const
{
    const SFEntityMainGameSceneType* type = GameType();
    const int32_t level = m_field.Level();
    const int32_t newTop = FrameHeight - m_bannerOffset;
    const int32_t oldTop = -m_bannerOffset;
    // The rows each level's look shows in, as DrawBackdrop lays them out.
    const int32_t newFrom = std::clamp(newTop, 0, FrameHeight);
    const int32_t oldTo = std::clamp(oldTop + FrameHeight, 0, FrameHeight);
    const PXImageListEntry* banners = type->GetImageList(SFGameImages::Banners);
    const PXImageListEntry* backgrounds = type->GetImageList(SFGameImages::Backgrounds);
    for (int32_t x : {0, RightBannerLeft}) {
        if (!ImageCovers(FrameImage(banners, level - 1), x, newTop, {x, x + BannerWidth, newFrom, FrameHeight}) ||
            !ImageCovers(FrameImage(banners, level - 2), x, oldTop, {x, x + BannerWidth, 0, oldTo})) {
            return false;
        }
    }
    const PXRect newField{FieldLeft, FieldLeft + FieldWidth, newFrom, FrameHeight};
    const PXRect oldField{FieldLeft, FieldLeft + FieldWidth, 0, oldTo};
    if (!ImageCovers(FrameImage(backgrounds, level - 1), FieldLeft, newTop, newField,
                     {FieldLeft, FieldLeft + FieldWidth, newTop, newTop + FrameHeight}) ||
        !ImageCovers(FrameImage(backgrounds, level - 2), FieldLeft, oldTop, oldField,
                     {FieldLeft, FieldLeft + FieldWidth, oldTop, oldTop + FrameHeight})) {
        return false;
    }
    const PXImageEntry* strip = type->GetInfoStrip();
    return strip != nullptr &&
           ImageCovers(strip->imageId, InfoStripLeft, 0, {InfoStripLeft, RightBannerLeft, 0, FrameHeight});
}

bool SFEntityMainGameScene::BoardHidden() const
{
    // On Medium and Hard a pause hides the board, so it cannot be studied at leisure.
    return m_paused && !m_gameOver && m_field.Difficulty() >= 1;
}

void SFEntityMainGameScene::DrawBoard()
{
    const SFBoard& board = m_field.Board();
    const int32_t level = m_field.Level();
    for (int32_t r = 0; r < SFBoard::Rows; ++r) {
        // Rows the banner has passed already show the new level's look.
        const int frame = CellHeight * r < m_bannerOffset ? level - 1 : level - 2;
        for (int32_t x = 0; x < SFBoard::Columns; ++x) {
            const SFCell cell = board.At(x, r);
            if (cell.colour < 1 || cell.colour > SFCell::Gray) {
                continue;
            }
            DrawTriangle(cell.colour, cell.orientation, frame, CellX(x), CellY(r, FieldTop));
            if (m_hintActive && cell.colour - 1 == m_hintColour) {
                DrawShimmer(cell.orientation, CellX(x), CellY(r, FieldTop));
            }
        }
    }
    const SFPiece& current = m_field.Current();
    DrawPiece(current, current.x, current.y, FieldTop);
}

void SFEntityMainGameScene::DrawTriangle(int colour, uint8_t orientation, int frame, int32_t x, int32_t y)
{
    const uint32_t id = FrameImage(GameType()->GetTriangles(colour), frame);
    if (id == PXNoImage || g_screen == nullptr) {
        return;
    }
    if (orientation == SFCell::Up) {
        g_screen->Blit(id, x, y, 0, 0, WholeImage, WholeImage, true);
    } else {
        g_screen->BlitFlipped(id, x, y, 0, 0, WholeImage, WholeImage, true);
    }
}

void SFEntityMainGameScene::DrawShimmer(uint8_t orientation, int32_t x, int32_t y)
{
    const PXImageListEntry* list = GameType()->GetImageList(
        orientation == SFCell::Up ? SFGameImages::Shimmer : SFGameImages::ShimmerFlipped);
    const uint32_t id = FrameImage(list, EffectFrame(list, m_hintTimer / HintLengthMs));
    if (id != PXNoImage && g_screen != nullptr) {
        g_screen->BlitAlpha(id, x, y, 0, 0, WholeImage, WholeImage, SaturatingAdd, true);
    }
}

void SFEntityMainGameScene::DrawPiece(const SFPiece& piece, int32_t column, int32_t row, int32_t top)
{
    if (!piece.Exists()) {
        return;
    }
    const int frame = m_field.Level() - 1;
    for (const SFShapeItem& item : piece.Items()) {
        if (item.colourSlot < 1 || item.colourSlot > piece.slots.size()) {
            continue;
        }
        const int colour = piece.slots[item.colourSlot - 1] + 1;
        DrawTriangle(colour, item.orientation, frame, CellX(column + item.columnOffset),
                     CellY(row + item.rowOffset, top));
    }
}

void SFEntityMainGameScene::DrawProgress()
{
    const int32_t threshold = m_field.CurrentRow().threshold;
    if (threshold <= 2) {
        return;
    }
    const int32_t progress = m_field.LevelProgress() + (m_field.RemovedCount() + 1) / 4;
    const int frame = m_field.Level() - 1;
    for (const ProgressMark& mark : ProgressMarks) {
        const bool shown =
            mark.threshold == 0 ? threshold >= 3 && threshold <= 5 : threshold == mark.threshold;
        if (!shown) {
            continue;
        }
        const int colour = progress >= mark.k ? 1 : SFCell::Gray;
        DrawTriangle(colour, SFCell::Up, frame, CellX(mark.column), mark.upY);
        DrawTriangle(colour, SFCell::Down, frame, CellX(mark.column), mark.upY + CellHeight);
    }
}

void SFEntityMainGameScene::DrawExplosions()
{
    const PXImageListEntry* list = GameType()->GetImageList(SFGameImages::Explosion);
    if (list == nullptr || list->count == 0 || g_screen == nullptr) {
        return;
    }
    for (const Explosion& e : m_explosions) {
        const int frame = EffectFrame(list, e.age / m_explosionLength);
        const uint32_t id = FrameImage(list, frame);
        if (id == PXNoImage || static_cast<size_t>(frame) >= list->widths.size() ||
            static_cast<size_t>(frame) >= list->heights.size()) {
            continue;
        }
        const int32_t w = static_cast<int32_t>(list->widths[static_cast<size_t>(frame)]);
        const int32_t h = static_cast<int32_t>(list->heights[static_cast<size_t>(frame)]);
        g_screen->BlitAlpha(id, e.x - w / 2, e.y - h / 2, 0, 0, WholeImage, WholeImage, SaturatingAdd, true);
    }
}

void SFEntityMainGameScene::DrawTurnScore()
{
    PXEntity2DGUIFont* font = GameType()->GetScoreFont();
    if (font == nullptr || !(m_field.TurnActive() || m_turnScoreFade > 0.0f)) {
        return;
    }
    const int32_t alpha =
        m_turnScoreFade <= 0.0f ? 255 : static_cast<int32_t>(m_turnScoreFade / TurnScoreFadeMs * 255.0f);
    font->DrawText(std::to_string(m_field.TurnPoints()),
                   {static_cast<int32_t>(m_turnScoreX), static_cast<int32_t>(m_turnScoreY)},
                   PXJustify::Centre, alpha, nullptr);
}
