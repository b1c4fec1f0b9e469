// Class "MultiText": a title line and body lines (split at CR LF), drawn with two fonts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntity2DGUIElement.h"

class PXEntity2DGUIFont;

class PXEntity2DGUIMultiTextType : public PXEntity2DGUIElementType {
public:
    explicit PXEntity2DGUIMultiTextType(const PXDefinitionBlock* block);
    ~PXEntity2DGUIMultiTextType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;

    PXEntity2DGUIFont* GetTitleFont() const;
    PXEntity2DGUIFont* GetMainFont() const;
    const std::string& GetDefaultText() const { return m_defaultText; }
    int32_t GetDefaultJustify() const { return m_defaultJustify; }

private:
    PXEntityRef m_titleFontRef;
    std::unique_ptr<PXEntityBase> m_titleFont;
    PXEntityRef m_mainFontRef;
    std::unique_ptr<PXEntityBase> m_mainFont;
    std::string m_defaultText;
    int32_t m_defaultJustify = 3;
};

class PXEntity2DGUIMultiText : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUIMultiText(PXEntityBaseType* type);

    bool SetProperty(int32_t id, int32_t value) override;
    bool SetStringProperty(int32_t id, const std::string& value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool GetStringProperty(int32_t id, std::string* out) override;
    bool Draw() override;

    const std::vector<std::string>& GetLines() const { return m_lines; }

private:
    PXEntity2DGUIMultiTextType* MultiType() const { return static_cast<PXEntity2DGUIMultiTextType*>(m_type); }
    void Layout();

    std::string m_text;
    int32_t m_justify;
    std::vector<std::string> m_lines;
};

using PXEntity2DGUIMultiTextPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIMultiTextType>;
