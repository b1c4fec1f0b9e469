// The title-and-body text: splitting at CR LF, measuring with the body font, drawing both.
#include "engine/gui/PXEntity2DGUIMultiText.h"

#include <algorithm>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIText.h"

PXEntity2DGUIMultiTextType::PXEntity2DGUIMultiTextType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadRef(block, "TitleFontEnt", &m_titleFontRef);
    ReadRef(block, "MainFontEnt", &m_mainFontRef);
    ReadText(block, "DefaultText", &m_defaultText);
    ReadInt(block, "DefaultJustify", &m_defaultJustify);
}

PXEntity2DGUIMultiTextType::~PXEntity2DGUIMultiTextType()
{
    PXEntity2DGUIMultiTextType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIMultiTextType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIMultiText>(this);
}

bool PXEntity2DGUIMultiTextType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] {
               if (!g_entityRegistry)
                   return;
               if (!m_titleFont)
                   m_titleFont = g_entityRegistry->CreateEntity(m_titleFontRef, PXKind::Unknown);
               if (!m_mainFont)
                   m_mainFont = g_entityRegistry->CreateEntity(m_mainFontRef, PXKind::Unknown);
           });
}

bool PXEntity2DGUIMultiTextType::Unload()
{
    return UnloadWith([this] {
        m_titleFont.reset();
        m_mainFont.reset();
    });
}

PXEntity2DGUIFont* PXEntity2DGUIMultiTextType::GetTitleFont() const
{
    return dynamic_cast<PXEntity2DGUIFont*>(m_titleFont.get());
}

PXEntity2DGUIFont* PXEntity2DGUIMultiTextType::GetMainFont() const
{
    return dynamic_cast<PXEntity2DGUIFont*>(m_mainFont.get());
}

PXEntity2DGUIMultiText::PXEntity2DGUIMultiText(PXEntityBaseType* type)
    : PXEntity2DGUIElement(type), m_text(MultiType()->GetDefaultText()),
      m_justify(MultiType()->GetDefaultJustify())
{
    // The fonts measure the lines, so the type is loaded before the first layout.
    MultiType()->Load(false);
    Layout();
}

void PXEntity2DGUIMultiText::Layout()
{
    m_lines.clear();
    size_t start = 0;
    while (start < m_text.size()) {
        const size_t end = m_text.find("\r\n", start);
        if (end == std::string::npos) {
            m_lines.push_back(m_text.substr(start));
            break;
        }
        m_lines.push_back(m_text.substr(start, end - start));
        start = end + 2;
    }
    PXEntity2DGUIFont* font = MultiType()->GetMainFont();
    int32_t widest = 0;
    int32_t lineHeight = 0;
    if (font) {
        for (const std::string& line : m_lines)
            widest = std::max(widest, font->TextWidth(line, false));
        lineHeight = font->GetLineHeight();
    }
    m_width = widest;
    m_height = m_lines.empty() ? 0 : (lineHeight + 2) * static_cast<int32_t>(m_lines.size()) - 2;
}

bool PXEntity2DGUIMultiText::SetProperty(int32_t id, int32_t value)
{
    if (id == PXFontProp::Justify) {
        m_justify = value;
        return true;
    }
    return PXEntity2DGUIElement::SetProperty(id, value);
}

bool PXEntity2DGUIMultiText::SetStringProperty(int32_t id, const std::string& value)
{
    if (id == PXTextProp::Text) {
        m_text = value;
        Layout();
        return true;
    }
    return PXEntity2DGUIElement::SetStringProperty(id, value);
}

bool PXEntity2DGUIMultiText::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    if (id == PXTextProp::Width) {
        *out = m_width;
        return true;
    }
    if (id == PXTextProp::Height) {
        *out = m_height;
        return true;
    }
    return PXEntity2DGUIElement::GetProperty(id, out);
}

bool PXEntity2DGUIMultiText::GetStringProperty(int32_t id, std::string* out)
{
    if (id == PXTextProp::GetText && out) {
        *out = m_text;
        return true;
    }
    return PXEntity2DGUIElement::GetStringProperty(id, out);
}

bool PXEntity2DGUIMultiText::Draw()
{
    PXEntity2DGUIFont* title = MultiType()->GetTitleFont();
    PXEntity2DGUIFont* body = MultiType()->GetMainFont();
    if (m_lines.empty())
        return true;
    int32_t y = m_y;
    if (title) {
        title->DrawText(m_lines[0], PXPoint{m_x, y}, m_justify, 255, nullptr);
        y += title->GetLineHeight() + 2;
    }
    if (!body)
        return true;
    for (size_t i = 1; i < m_lines.size(); ++i) {
        body->DrawText(m_lines[i], PXPoint{m_x, y}, m_justify, m_alpha, nullptr);
        y += body->GetLineHeight() + 2;
    }
    return true;
}
