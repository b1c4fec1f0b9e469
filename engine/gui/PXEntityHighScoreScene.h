// The base of a high-score screen. Built while a new score waits, it enters that score into
// g_highScores, remembers the row it took and opens the name-entry dialog ("scoreinputbox",
// else "inputbox"); when the entry ends, the typed name (at most 32 characters, "QMS" for
// none) goes into the table entry and becomes g_lastHighScoreName, and the table is saved
// at once. The type reads the
// records of a ten-row table; a game subclass fills the rows.
//
// The engine does not know where the game keeps the waiting score: the type's
// GetNewHighScore / ConsumeNewHighScore answer that (none in the engine itself).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntity2DScene.h"

class PXHighScore;

class PXEntityHighScoreSceneType : public PXEntity2DSceneType {
public:
    static constexpr int Rows = 10;

    explicit PXEntityHighScoreSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    // The result waiting to be entered, or none; consuming deletes it.
    virtual PXHighScore* GetNewHighScore() const { return nullptr; }
    virtual void ConsumeNewHighScore() const {}
    // Writes g_highScores where the game keeps it, once a new entry's name is settled, so a
    // crash later loses nothing. The engine keeps no file.
    virtual void SaveHighScores() const {}

    // Records by row (1 to 10) or by name; none when unknown.
    PXSceneElement* GetName(int row) { return RowRecord(m_names, row); }
    PXSceneElement* GetScore(int row) { return RowRecord(m_scores, row); }
    PXSceneElement* GetCongrats() { return SlotRecord(m_congrats); }
    PXSceneElement* GetCongrats2() { return SlotRecord(m_congrats2); }
    PXSceneElement* GetDone() { return SlotRecord(m_done); }
    PXSceneElement* GetArrow() { return SlotRecord(m_arrow); }
    PXSceneElement* GetHourglass() { return SlotRecord(m_hourglass); }
    // The name-entry text and the prompt: no key fills them, so they never get an entity.
    PXSceneElement* GetNameEntryText() { return &m_nameEntryText; }
    PXSceneElement* GetPromptText() { return &m_promptText; }

protected:
    PXSceneElement* RowRecord(const std::array<int, Rows>& slots, int row)
    {
        return row >= 1 && row <= Rows ? SlotRecord(slots[static_cast<size_t>(row - 1)]) : nullptr;
    }

    std::array<int, Rows> m_names{};
    std::array<int, Rows> m_scores{};
    int m_congrats = -1;
    int m_congrats2 = -1;
    int m_done = -1;
    int m_arrow = -1;
    int m_hourglass = -1;
    PXSceneElement m_nameEntryText;
    PXSceneElement m_promptText;
};

class PXEntityHighScoreScene : public PXEntity2DScene {
public:
    static constexpr int32_t MaxNameLength = 32;
    // The tag of the name-entry dialog.
    static constexpr int32_t NameEntryTag = 2;

    explicit PXEntityHighScoreScene(PXEntityHighScoreSceneType* type);
    ~PXEntityHighScoreScene() override;

    bool Update(float elapsedMs) override;
    bool OnKeyDown(int key) override;
    bool OnMouseUp(const PXPoint* point, int button) override;
    bool OnDialogClosed(PXSceneDialog* dialog) override;
    // Ends a running name entry: the entry keeps the name (or "QMS") and loses its new mark.
    virtual void FinishNameEntry();
    // Opens the name-entry dialog pre-filled with `name`.
    virtual void OpenNameInput(const std::string& name);

    bool IsNameEntryActive() const { return m_nameEntryActive; }
    // Table position of the new entry, -1 for none.
    int32_t GetHighlightRow() const { return m_highlightRow; }
    PXHighScore* GetStoredEntry() const { return m_storedEntry; }

protected:
    PXEntityHighScoreSceneType* HighScoreType() const { return static_cast<PXEntityHighScoreSceneType*>(m_type); }

private:
    bool m_nameEntryActive = false;
    int32_t m_highlightRow = -1;
    PXHighScore* m_storedEntry = nullptr;  // in g_highScores, not owned
    bool m_openInputPending = false;
};
