// The puzzle rules: spawning, gravity with lock delay, removal and scoring, settling and chains.
#include "game/SFPlayField.h"

#include <algorithm>
#include <cmath>

#include "engine/core/PXRandom.h"

int32_t g_difficulty = 1;

const SFLevelRow levelTable[SFLevelTableRows] = {
    {500, 0, 3, 3}, {500, 0, 3, 3}, {500, 0, 4, 4}, {500, 0, 4, 4}, {475, 0, 5, 4}, {455, 1, 5, 5},
    {430, 1, 5, 5}, {420, 1, 5, 5}, {410, 1, 6, 5}, {400, 1, 6, 5}, {380, 1, 6, 5}, {360, 1, 6, 5},
    {335, 1, 6, 5}, {310, 1, 6, 5}, {290, 2, 6, 5}, {270, 2, 6, 5}, {260, 2, 6, 5}, {250, 2, 6, 5},
    {240, 2, 6, 5}, {230, 2, 6, 5}, {220, 2, 6, 5}, {210, 2, 6, 5}, {200, 2, 6, 5}, {190, 2, 6, 5},
};

namespace {

// Settling plays the impact sound for every second moved triangle, counted over the whole
// run rather than per game.
bool s_impactParity = false;

constexpr int32_t FieldMouseLeft = 81;
constexpr int32_t FieldMouseRight = 431;
constexpr int32_t SpawnRow = 16;
constexpr int32_t TopRowAbove = 17;

}  // namespace

int WrapFrame(int frame, int count)
{
    if (count < 1)
        return 0;
    int wrapped = frame % count;
    return wrapped < 0 ? wrapped + count : wrapped;
}

SFPlayField::SFPlayField(int32_t difficulty, SFPlayFieldListener* listener)
    : m_difficulty(std::clamp(difficulty, 0, 2))
{
    SetListener(listener);
    m_shapeSets.push_back(&DiamondShapeSet());
    for (int x = 0; x < SFBoard::Columns; x += 2)
        m_board.Set(x, 0, SFCell{SFCell::Gray, SFCell::Up});
    SpawnPiece();
    FillStartRows(m_difficulty + 2);
}

void SFPlayField::SetListener(SFPlayFieldListener* listener)
{
    m_listener = listener ? listener : &m_silent;
}

void SFPlayField::SetPointer(int32_t mouseX, bool cursorVisible)
{
    m_mouseX = mouseX;
    m_cursorVisible = cursorVisible;
}

void SFPlayField::Play(SFSound sound)
{
    m_listener->PlaySound(sound);
}

int SFPlayField::TableIndex() const
{
    int index;
    switch (m_difficulty) {
    case 0:
        index = std::min(m_level - 1, 13);
        break;
    case 1:
        index = std::min(m_level + 7, 15);
        break;
    default:
        index = std::min(m_level + 15, 23);
        break;
    }
    return std::clamp(index, 0, SFLevelTableRows - 1);
}

bool SFPlayField::PointerOverField() const
{
    return m_mouseX >= FieldMouseLeft && m_mouseX <= FieldMouseRight;
}

int SFPlayField::SpawnColumn() const
{
    if (!PointerOverField() || !m_cursorVisible)
        return 8;
    return std::clamp((m_mouseX - 128) / 16, 0, SFBoard::Columns - 1);
}

void SFPlayField::SpawnPiece()
{
    m_current = m_next;
    m_current.x = SpawnColumn();

    const SFLevelRow& row = CurrentRow();
    m_next = SFPiece{};
    m_next.x = 8;
    m_next.y = SpawnRow;
    m_next.rotation = 0;
    m_next.shapeSet = m_shapeSets[RandomInt(static_cast<int>(m_shapeSets.size()))];
    for (uint8_t& slot : m_next.slots)
        slot = static_cast<uint8_t>(RandomInt(row.colours));

    m_lockDelay = row.lockDelay;
    m_levelProgress += (m_removedCount + 1) / 4;
    m_removedCount = 0;

    if (PointerOverField() && m_current.Exists())
        m_listener->WarpPointer(m_current.x);
}

bool SFPlayField::FindMatches(bool apply)
{
    // Groups are symmetric, so a cell already seen in a small group needs no second fill.
    std::array<bool, SFBoard::Stride* SFBoard::Rows> small = {};
    for (int r = 0; r < SFBoard::Rows; ++r) {
        for (int x = 0; x < SFBoard::Stride; ++x) {
            if (m_board.At(x, r).IsEmpty() || small[x + SFBoard::Stride * r])
                continue;
            std::vector<SFCellRef> group;
            m_board.FindGroup(x, r, group);
            if (group.size() < 4) {
                for (const SFCellRef& ref : group)
                    small[ref.x + SFBoard::Stride * ref.y] = true;
                continue;
            }
            if (!apply)
                return true;
            if (!m_turnActive) {
                m_turnActive = true;
                m_turnPoints = 0;
                m_chainLength = 0;
                m_listener->PlaceTurnScore(static_cast<float>(16 * x + 136),
                                           static_cast<float>(480 - 28 * (r + 4)));
            }
            if (!m_clearing) {
                m_clearing = true;
                m_clearTimer = 0.0f;
            }
            if (std::find(m_clearList.begin(), m_clearList.end(), group.front()) == m_clearList.end()) {
                m_clearList.insert(m_clearList.end(), group.begin(), group.end());
                ++m_chainLength;
            }
            return true;
        }
    }
    return false;
}

void SFPlayField::RemoveFirstQueued()
{
    SFCellRef ref = m_clearList.front();
    m_board.Set(ref.x, ref.y, SFCell{});
    ++m_removedCount;
    ++m_totalRemoved;
    int32_t n = m_removedCount;

    // Single precision on purpose: the points must come out the same on every build.
    float nf = static_cast<float>(n);
    float points = nf * std::log10(nf) * 13.0f + 13.0f;
    m_turnPoints += static_cast<int32_t>(points) * (m_difficulty + 1);

    m_listener->StartExplosion(16 * ref.x + 128, (16 - ref.y) * 28 + 16);
    if (n % 2 == 1) {
        static constexpr SFSound dings[3] = {SFSound::Ding, SFSound::DingRising, SFSound::DingFalling};
        Play(dings[RandomInt(3)]);
    }
    if (n % 10 == 0)
        Play(SFSound::Special);
    m_clearList.erase(m_clearList.begin());
}

void SFPlayField::RemovalFrame(float frameTime)
{
    if (!m_clearing)
        return;
    if (m_clearList.empty()) {
        CompleteDiamonds();
        m_clearing = false;
        m_collapsing = true;
        m_collapseTimer = 0.0f;
        m_clearTimer = 0.0f;
        return;
    }
    m_clearTimer += frameTime;
    while (m_clearTimer > RemoveStepMs) {
        if (!m_clearList.empty())
            RemoveFirstQueued();
        m_clearTimer -= RemoveStepMs;
    }
}

bool SFPlayField::SettleStep()
{
    int moved = m_board.SettleStep();
    for (int i = 0; i < moved; ++i) {
        s_impactParity = !s_impactParity;
        if (!s_impactParity)
            Play(SFSound::Impact);
    }
    return moved > 0;
}

void SFPlayField::SettleFrame(float frameTime)
{
    if (!m_collapsing)
        return;
    m_collapseTimer += frameTime;
    while (m_collapsing && m_collapseTimer > SettleStepMs) {
        m_collapsing = SettleStep();
        m_collapseTimer -= SettleStepMs;
    }
    if (!m_collapsing)
        FindMatches(true);
}

void SFPlayField::EndTurnIfDone()
{
    if (!m_turnActive || m_clearing || m_collapsing)
        return;
    SpawnPiece();
    m_score += m_turnPoints;
    m_turnActive = false;
    m_listener->TurnEnded(m_turnPoints);
}

void SFPlayField::LandPiece()
{
    if (!m_current.Exists())
        return;
    bool above = false;
    for (const SFShapeItem& item : m_current.Items()) {
        int x = m_current.x + item.columnOffset;
        int y = m_current.y + item.rowOffset;
        if (y >= TopRowAbove) {
            above = true;
        } else if (x >= 0 && x < SFBoard::Columns && y >= 0) {
            SFCell cell{static_cast<uint8_t>(m_current.slots[item.colourSlot - 1] + 1), item.orientation};
            m_board.Set(x, y, cell);
        }
    }
    // The game ends once, however many triangles stick out.
    if (above && !m_gameOver) {
        m_gameOver = true;
        m_listener->GameOver(m_score, m_level, m_difficulty + 1);
    }
    Play(SFSound::Impact);
    if (FindMatches(true))
        m_current = SFPiece{};
    else
        SpawnPiece();
}

void SFPlayField::GravityFrame(float frameTime)
{
    if (m_turnActive)
        return;
    if (!m_current.Exists())
        SpawnPiece();
    m_fallTimer += frameTime;
    if (m_levelProgress >= CurrentRow().threshold) {
        ++m_level;
        m_levelProgress = 0;
        m_listener->LevelUp(m_level);
    }
    while (m_current.Exists() && !m_gameOver && m_fallTimer > static_cast<float>(CurrentRow().interval)) {
        if (CanDrop(m_current)) {
            --m_current.y;
            Play(SFSound::Move);
        } else if (m_lockDelay > 0) {
            --m_lockDelay;
        } else {
            LandPiece();
        }
        m_fallTimer -= static_cast<float>(CurrentRow().interval);
    }
}

void SFPlayField::Update(float frameTime)
{
    if (m_gameOver)
        return;
    if (m_turnActive) {
        RemovalFrame(frameTime);
        SettleFrame(frameTime);
        EndTurnIfDone();
    } else {
        GravityFrame(frameTime);
    }
}

void SFPlayField::StepDown()
{
    if (!m_current.Exists() || m_gameOver)
        return;
    if (CanDrop(m_current)) {
        --m_current.y;
        Play(SFSound::Move);
    } else {
        LandPiece();
    }
    m_fallTimer = 0.0f;
}

void SFPlayField::StepLeft()
{
    if (!m_current.Exists() || m_gameOver)
        return;
    --m_current.x;
    if (!Fits(m_current))
        ++m_current.x;
    else
        Play(SFSound::Move);
}

void SFPlayField::StepRight()
{
    if (!m_current.Exists() || m_gameOver)
        return;
    ++m_current.x;
    if (!Fits(m_current))
        --m_current.x;
    else
        Play(SFSound::Move);
}

void SFPlayField::Turn()
{
    if (!m_current.Exists() || m_gameOver)
        return;
    m_current.rotation = (m_current.rotation + 1) % 6;
    if (!Fits(m_current))
        m_current.rotation = m_current.rotation == 0 ? 5 : m_current.rotation - 1;
    else
        Play(SFSound::Switch);
}

void SFPlayField::FillStartRows(int rows)
{
    for (int r = 0; r < rows && r + 1 < SFBoard::Rows; ++r) {
        for (int x = 1 - (r % 2); x < SFBoard::Columns; x += 2) {
            do {
                int colours = CurrentRow().colours;
                uint8_t upper = static_cast<uint8_t>(RandomInt(colours) + 1);
                uint8_t lower = static_cast<uint8_t>(RandomInt(colours) + 1);
                m_board.Set(x, r + 1, SFCell{upper, SFCell::Up});
                m_board.Set(x, r, SFCell{lower, SFCell::Down});
            } while (FindMatches(false));
        }
    }
}
