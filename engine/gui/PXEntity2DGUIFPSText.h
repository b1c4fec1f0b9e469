// Class "FPSText": a text showing the smoothed frame rate while g_showFps is set.
#pragma once

#include <string>

#include "engine/gui/PXEntity2DGUIText.h"

// Formats one integer with a printf-style format taken from data: only the first integer
// conversion (d, i, u, x, X with flags and a width) receives the value, "%%" gives "%", and
// any other conversion is copied as plain text, so a definition cannot make the formatter
// read arguments that do not exist.
std::string PXFormatInt(const std::string& format, int value);

class PXEntity2DGUIFPSTextType : public PXEntity2DGUITextType {
public:
    explicit PXEntity2DGUIFPSTextType(const PXDefinitionBlock* block);
    std::unique_ptr<PXEntityBase> CreateEntity() override;
};

class PXEntity2DGUIFPSText : public PXEntity2DGUIText {
public:
    explicit PXEntity2DGUIFPSText(PXEntityBaseType* type);

    bool Update(float elapsedMs) override;

    float GetAverage() const { return m_average; }

private:
    float m_average = 0.0f;  // smoothed frame time in milliseconds
};

using PXEntity2DGUIFPSTextPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIFPSTextType>;
