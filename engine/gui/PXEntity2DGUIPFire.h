// Class "PFire": a rectangle of animated particle fire. The type holds the definition keys and
// the optional 8-bit burn image; each element runs its own PXFireSimulation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXFireSimulation.h"

struct PXBitmapDesc;

class PXEntity2DGUIPFireType : public PXEntity2DGUIElementType {
public:
    explicit PXEntity2DGUIPFireType(const PXDefinitionBlock* block);
    ~PXEntity2DGUIPFireType() override;

    // None (after a log line) when the size is too small for the fire: the random start
    // positions need a width of at least 11 and a height of at least 7.
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;

    const PXFireSettings& GetSettings() const { return m_settings; }
    const std::string& GetBurnImageName() const { return m_burnImageName; }
    // The loaded burn image, or none.
    const PXBitmapDesc* GetBurnImage() const { return m_burnImage.get(); }

private:
    PXFireSettings m_settings;
    std::string m_burnImageName;
    std::unique_ptr<PXBitmapDesc> m_burnImage;
};

class PXEntity2DGUIPFire : public PXEntity2DGUIElement {
public:
    // The caller checks the size first (the type's CreateEntity does); a fire that could not
    // be set up draws nothing and Draw answers false.
    explicit PXEntity2DGUIPFire(PXEntity2DGUIPFireType* type);

    // One simulation step per call, whatever the elapsed time (only the gravity timer uses it).
    bool Update(float elapsedMs) override;
    // Heat update (burn image, streaks, edge feed, propagation) and output into the frame.
    bool Draw() override;
    void Invalidate() override;

    PXFireSimulation& Simulation() { return m_sim; }
    const PXFireSimulation& Simulation() const { return m_sim; }

private:
    PXEntity2DGUIPFireType* FireType() const { return static_cast<PXEntity2DGUIPFireType*>(m_type); }

    PXFireSimulation m_sim;
};

using PXEntity2DGUIPFirePrototype = PXEntityTypePrototypeFor<PXEntity2DGUIPFireType>;
