// Class "SFHighScoreMenuScene": the high-score screen. It lists the saved table
// g_highScores in ten rows (name, level, score with its mode), points the arrow at the new
// entry, runs the name entry of its base, and goes back to the main menu on Back (Escape, the
// pad's back buttons) or when "Done" is pressed (a click, or Press with the focus on it).
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engine/gui/PXEntityHighScoreScene.h"

class SFEntityHighScoreMenuSceneType : public PXEntityHighScoreSceneType {
public:
    explicit SFEntityHighScoreMenuSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    // The game keeps the waiting score in g_newHighScore.
    PXHighScore* GetNewHighScore() const override;
    void ConsumeNewHighScore() const override;
    // "Scores.sfs", merged with what the file holds now.
    void SaveHighScores() const override;

    PXSceneElement* GetLevel(int row) { return RowRecord(m_levels, row); }

private:
    std::array<int, Rows> m_levels{};
};

class SFEntityHighScoreMenuScene : public PXEntityHighScoreScene {
public:
    // The first row's top and the row pitch; the arrow's x and its place while unused.
    static constexpr int32_t FirstRowY = 227;
    static constexpr int32_t RowPitch = 15;
    static constexpr int32_t ArrowX = 34;
    static constexpr int32_t OffScreen = -500;
    // Tags and results of dialogs that end the visit.
    static constexpr int32_t QuitTag = 1;
    static constexpr int32_t QuitResult = 2;
    static constexpr int32_t DoneTag = 3;
    static constexpr int32_t DoneResult = 3;

    explicit SFEntityHighScoreMenuScene(SFEntityHighScoreMenuSceneType* type);

    bool Update(float elapsedMs) override;
    bool OnKeyDown(int key) override;
    bool OnElementPressed(PXEntity2DGUIElement* element) override;
    bool OnBack() override;
    bool OnDialogClosed(PXSceneDialog* dialog) override;

private:
    SFEntityHighScoreMenuSceneType* MenuType() const { return static_cast<SFEntityHighScoreMenuSceneType*>(m_type); }
    void FillRows();
    void BackToMainMenu();
};

class SFEntityHighScoreMenuScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFHighScoreMenuScene".
extern SFEntityHighScoreMenuScenePrototype g_highScoreMenuScenePrototype;
