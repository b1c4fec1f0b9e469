// The text element: properties, layout, drawing with the blinking cursor, window slices and
// the key handler with its filters.
#include "engine/gui/PXEntity2DGUIText.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUIFont.h"

namespace {

bool IsDigit(int32_t key)
{
    return key >= '0' && key <= '9';
}

}  // namespace

PXEntity2DGUITextType::PXEntity2DGUITextType(const PXDefinitionBlock* block) : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadRef(block, "FontEnt", &m_fontRef);
    ReadText(block, "DefaultText", &m_defaultText);
    ReadInt(block, "ClickWidth", &m_clickWidth);
    ReadInt(block, "WrapWidth", &m_wrapWidth);
    ReadInt(block, "DefaultJustify", &m_defaultJustify);
    ReadInt(block, "WindowSize", &m_windowSize);
    ReadInt(block, "FitWidth", &m_fitWidth);
    ReadFlag(block, "Password", &m_password, false);
    ReadFlag(block, "NumbersOnly", &m_numbersOnly, false);
    ReadFlag(block, "IPAddress", &m_ipAddress, false);
}

PXEntity2DGUITextType::~PXEntity2DGUITextType()
{
    PXEntity2DGUITextType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUITextType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIText>(this);
}

bool PXEntity2DGUITextType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] {
               if (!m_font && g_entityRegistry)
                   m_font = g_entityRegistry->CreateEntity(m_fontRef, PXKind::Unknown);
               if (m_font && m_font->GetType())
                   m_font->GetType()->Load(false);
           });
}

bool PXEntity2DGUITextType::Unload()
{
    return UnloadWith([this] { m_font.reset(); });
}

bool PXEntity2DGUITextType::IsA(uint32_t kind) const
{
    return kind == PXKind::Text || PXEntity2DGUIElementType::IsA(kind);
}

PXEntity2DGUIFont* PXEntity2DGUITextType::GetFont() const
{
    return dynamic_cast<PXEntity2DGUIFont*>(m_font.get());
}

PXEntity2DGUIText::PXEntity2DGUIText(PXEntityBaseType* type)
    : PXEntity2DGUIElement(type), m_text(TextType()->GetDefaultText()),
      m_justify(TextType()->GetDefaultJustify()), m_windowSize(TextType()->GetWindowSize())
{
}

PXEntity2DGUIFont* PXEntity2DGUIText::GetFont()
{
    return TextType()->GetFont();
}

void PXEntity2DGUIText::ChangeText(const std::string& text)
{
    if (text == m_text)
        return;
    Invalidate();
    m_text = text;
    m_cursor = std::min(m_cursor, m_text.size());
    m_relayout = true;
    Invalidate();
}

void PXEntity2DGUIText::SetText(const std::string& text)
{
    ChangeText(text);
}

bool PXEntity2DGUIText::SetProperty(int32_t id, int32_t value)
{
    switch (id) {
    case PXFontProp::Justify:
        if (value != m_justify) {
            Invalidate();
            m_justify = value;
            Invalidate();
        }
        return true;
    case PXTextProp::ResetText:
        ChangeText(TextType()->GetDefaultText());
        return true;
    case PXTextProp::Editing:
        Invalidate();
        m_editing = value != 0;
        if (m_editing)
            m_cursor = m_text.size();
        Invalidate();
        return true;
    case PXTextProp::Alpha:
        SetAlpha(value);
        return true;
    case PXTextProp::MaxLength:
        m_maxLength = static_cast<size_t>(std::max(value, 0));
        if (m_text.size() > m_maxLength)
            ChangeText(m_text.substr(0, m_maxLength));
        return true;
    case PXTextProp::WindowSize:
        Invalidate();
        m_windowSize = value;
        Invalidate();
        return true;
    case PXTextProp::Cursor:
        m_cursor = std::min(static_cast<size_t>(std::max(value, 0)), m_text.size());
        Invalidate();
        return true;
    default:
        return PXEntity2DGUIElement::SetProperty(id, value);
    }
}

bool PXEntity2DGUIText::SetStringProperty(int32_t id, const std::string& value)
{
    if (id == PXTextProp::Text) {
        ChangeText(value);
        return true;
    }
    return PXEntity2DGUIElement::SetStringProperty(id, value);
}

int32_t PXEntity2DGUIText::GetTextHeight() const
{
    PXEntity2DGUIFont* font = TextType()->GetFont();
    if (!font)
        return 0;
    const int32_t lineHeight = font->GetLineHeight();
    if (m_lines.size() < 2)
        return lineHeight;
    return (lineHeight + 2) * static_cast<int32_t>(m_lines.size()) - 2;
}

bool PXEntity2DGUIText::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    switch (id) {
    case PXTextProp::Alpha:
        *out = m_alpha;
        return true;
    case PXTextProp::Width:
        *out = m_textWidth;
        return true;
    case PXTextProp::Height:
        *out = GetTextHeight();
        return true;
    case PXTextProp::WindowSize:
        *out = m_windowSize;
        return true;
    case PXTextProp::Cursor:
        *out = static_cast<int32_t>(m_cursor);
        return true;
    default:
        break;
    }
    if (PXEntity2DGUIElement::GetProperty(id, out))
        return true;
    PXEntity2DGUIFont* font = GetFont();
    return font && font->GetProperty(id, out);
}

bool PXEntity2DGUIText::GetStringProperty(int32_t id, std::string* out)
{
    if (id == PXTextProp::GetText && out) {
        *out = m_text;
        return true;
    }
    return PXEntity2DGUIElement::GetStringProperty(id, out);
}

void PXEntity2DGUIText::Relayout()
{
    PXEntity2DGUIFont* font = GetFont();
    Invalidate();
    m_lines.clear();
    m_lineStarts.clear();
    const int32_t wrapWidth = TextType()->GetWrapWidth();
    if (wrapWidth > 0) {
        PXEntity2DGUIFont::WrapText(&m_lines, m_text, wrapWidth, nullptr, &m_lineStarts);
        int32_t widest = 0;
        for (const std::string& line : m_lines)
            widest = std::max(widest, font ? font->TextWidth(Fitted(Masked(line)), false) : 0);
        m_textWidth = m_lines.empty() && font ? font->TextWidth(Fitted(Masked(m_text)), false) : widest;
    } else {
        // Single lines are measured as well: tooltips and message boxes size themselves by
        // the width property, and most of their texts are one line.
        m_textWidth = font ? font->TextWidth(Fitted(Masked(m_text)), false) : 0;
    }
    Invalidate();
}

bool PXEntity2DGUIText::Update(float elapsedMs)
{
    if (m_type)
        m_type->Load(false);
    if (m_relayout)
        Relayout();
    if (m_editing) {
        m_blinkMs -= elapsedMs;
        while (m_blinkMs < 0.0f)
            m_blinkMs += BlinkPeriodMs;
        Invalidate();
    }
    m_relayout = false;
    return PXEntity2DGUIElement::Update(elapsedMs);
}

std::string PXEntity2DGUIText::Masked(const std::string& shown) const
{
    return TextType()->IsPassword() ? std::string(shown.size(), '*') : shown;
}

std::string PXEntity2DGUIText::Fitted(const std::string& line, size_t* cursor) const
{
    const int32_t fitWidth = TextType()->GetFitWidth();
    PXEntity2DGUIFont* font = TextType()->GetFont();
    if (fitWidth <= 0 || !font)
        return line;
    std::string shown;
    font->FitTextWithEllipsis(&shown, line, fitWidth);
    if (shown.size() == line.size() && shown == line)
        return line;
    const std::string ellipsis = PXEntity2DGUIFont::Ellipsis;
    const size_t kept = shown.size() >= ellipsis.size() ? shown.size() - ellipsis.size() : 0;
    if (!cursor || !m_editing || *cursor <= kept) {
        if (cursor)
            *cursor = std::min(*cursor, kept);
        return shown;
    }
    // Typing happens at the cursor: keep it in sight by showing the end of the line.
    const int32_t room = fitWidth - font->TextWidth(ellipsis, true);
    size_t start = line.size();
    int32_t width = 0;
    while (start > 0) {
        const int32_t advance = font->TextWidth(line.substr(start - 1, 1), true);
        if (width + advance >= room)
            break;
        width += advance;
        --start;
    }
    *cursor = ellipsis.size() + (*cursor > start ? *cursor - start : 0);
    return ellipsis + line.substr(start);
}

std::string PXEntity2DGUIText::WindowSlice(const std::string& text, size_t cursor, int32_t windowSize,
                                           size_t* cursorInSlice)
{
    const size_t n = text.size();
    cursor = std::min(cursor, n);
    size_t at = cursor;
    std::string slice;
    if (windowSize <= 0 || n <= static_cast<size_t>(windowSize)) {
        slice = text;
    } else {
        const size_t w = static_cast<size_t>(windowSize);
        const size_t half = w / 2;
        const size_t edge = w > 4 ? w - 4 : 0;
        if (n - cursor <= half) {
            const size_t start = n - std::min(edge, n);
            slice = "... " + text.substr(start);
            at = 4 + (cursor > start ? cursor - start : 0);
        } else if (cursor < half) {
            slice = text.substr(0, edge) + " ...";
            at = std::min(cursor, edge);
        } else {
            const size_t back = half > 4 ? half - 4 : 0;
            const size_t start = cursor - std::min(back, cursor);
            const size_t middle = w > 8 ? w - 8 : 0;
            slice = "... " + text.substr(start, middle) + " ...";
            at = 4 + std::min(cursor - start, middle);
        }
    }
    if (cursorInSlice)
        *cursorInSlice = at;
    return slice;
}

size_t PXEntity2DGUIText::CursorLine(size_t* column) const
{
    size_t line = 0;
    for (size_t i = 0; i < m_lineStarts.size(); ++i) {
        if (m_lineStarts[i] <= m_cursor)
            line = i;
    }
    if (column) {
        const size_t start = line < m_lineStarts.size() ? m_lineStarts[line] : 0;
        const size_t length = line < m_lines.size() ? m_lines[line].size() : 0;
        *column = std::min(m_cursor - std::min(start, m_cursor), length);
    }
    return line;
}

void PXEntity2DGUIText::DrawCursor(PXEntity2DGUIFont& font, const std::string& before, int32_t x, int32_t y,
                                   const std::string& whole, bool includeTrailing)
{
    // The cursor follows the string's own justification.
    if (m_justify == PXJustify::Centre)
        x -= font.TextWidth(whole, false) / 2;
    else if (m_justify == PXJustify::Right)
        x -= font.TextWidth(whole, false);
    const int32_t w = font.TextWidth(before, includeTrailing);
    const PXColor* tint = m_tint.alpha != 0 ? &m_tint : nullptr;
    font.DrawText("_", PXPoint{x + w - 1, y}, PXJustify::Left, m_alpha, tint);
}

bool PXEntity2DGUIText::Draw()
{
    PXEntity2DGUIFont* font = GetFont();
    if (!font)
        return true;
    font->SetTint(m_tint);
    const PXColor* tint = m_tint.alpha != 0 ? &m_tint : nullptr;
    const bool cursorShown = IsCursorShown();

    if (m_windowSize > 0) {
        size_t at = 0;
        // Masking keeps the length, so the slice of the masked text hides a password too.
        const std::string shown = WindowSlice(Masked(m_text), m_cursor, m_windowSize, &at);
        font->DrawText(shown, PXPoint{m_x, m_y}, m_justify, m_alpha, tint);
        if (cursorShown)
            DrawCursor(*font, shown.substr(0, at), m_x, m_y, shown, true);
        return true;
    }

    if (TextType()->GetWrapWidth() >= 1 && !m_lines.empty()) {
        const int32_t step = font->GetLineHeight() + 2;
        size_t column = 0;
        const size_t cursorLine = CursorLine(&column);
        for (size_t i = 0; i < m_lines.size(); ++i) {
            size_t at = i == cursorLine ? column : 0;
            const std::string shown = Fitted(Masked(m_lines[i]), &at);
            const int32_t y = m_y + step * static_cast<int32_t>(i);
            font->DrawText(shown, PXPoint{m_x, y}, m_justify, m_alpha, tint);
            if (cursorShown && i == cursorLine)
                DrawCursor(*font, shown.substr(0, at), m_x, y, shown, true);
        }
        return true;
    }

    size_t at = m_cursor;
    const std::string shown = Fitted(Masked(m_text), &at);
    font->DrawText(shown, PXPoint{m_x, m_y}, m_justify, m_alpha, tint);
    if (cursorShown)
        DrawCursor(*font, shown.substr(0, std::min(at, shown.size())), m_x, m_y, shown, true);
    return true;
}

void PXEntity2DGUIText::Invalidate()
{
    PXEntity2DGUIFont* font = TextType()->GetFont();
    if (!font || !g_screen)
        return;
    // In 64 bits: a huge wrap width or text must not overflow; the rectangle is clamped.
    const int64_t cw = font->GetCharWidth();
    const int64_t ch = font->GetLineHeight();
    const int64_t wrapWidth = TextType()->GetWrapWidth();
    int64_t width = 0;
    int64_t height = 0;
    if (m_windowSize <= 0 && wrapWidth >= 1 && !m_lines.empty()) {
        width = (wrapWidth + 1) * (cw + 1);
        height = (ch + 3) * static_cast<int64_t>(m_lines.size()) - 2;
    } else {
        size_t length = m_text.size();
        if (m_windowSize > 0)
            length = std::min(length, static_cast<size_t>(m_windowSize));
        width = static_cast<int64_t>(length + 1) * (cw + 1);
        height = ch + 1;
    }
    if (m_editing)
        width += 2 * cw;
    const int64_t left = m_justify == PXJustify::Right    ? m_x - width
                         : m_justify == PXJustify::Centre ? m_x - width / 2
                                                          : m_x;
    auto clamp32 = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
    };
    PXRect r;
    r.left = clamp32(left);
    r.right = clamp32(m_x + width);
    r.top = clamp32(static_cast<int64_t>(m_y) - font->GetRaise());
    r.bottom = clamp32(m_y + height);
    g_screen->InvalidateRect(r, true);
}

bool PXEntity2DGUIText::Click(const PXPoint& point)
{
    PXEntity2DGUIFont* font = GetFont();
    if (!font)
        return false;
    const int32_t cw = font->GetCharWidth();
    const int32_t ch = font->GetLineHeight();
    const int32_t clickWidth = TextType()->GetClickWidth();
    const int32_t width = clickWidth >= 0 ? clickWidth : static_cast<int32_t>(m_text.size()) * cw;
    m_width = width;
    m_height = ch;
    const int32_t left = m_justify == PXJustify::Right    ? m_x - width
                         : m_justify == PXJustify::Centre ? m_x - width / 2
                                                          : m_x;
    return left < point.x && point.x < m_x + width && m_y < point.y && point.y < m_y + ch;
}

bool PXEntity2DGUIText::IPAddressAccepts(const std::string& text, size_t cursor, char key)
{
    if (key != '.' && !IsDigit(key))
        return false;
    cursor = std::min(cursor, text.size());
    const size_t dotBefore = cursor == 0 ? std::string::npos : text.rfind('.', cursor - 1);
    const size_t groupStart = dotBefore == std::string::npos ? 0 : dotBefore + 1;
    size_t groupEnd = text.find('.', cursor);
    if (groupEnd == std::string::npos)
        groupEnd = text.size();
    const size_t groupLength = groupEnd - groupStart;
    if (key == '.')
        return std::count(text.begin(), text.end(), '.') < 3 && groupLength > 0;
    return groupLength < 3;
}

bool PXEntity2DGUIText::InsertChar(int32_t key)
{
    if (m_text.size() >= m_maxLength)
        return false;
    const char c = static_cast<char>(key);
    if (TextType()->IsIPAddress() && !IPAddressAccepts(m_text, m_cursor, c))
        return false;
    if (TextType()->IsNumbersOnly() && !IsDigit(key))
        return false;
    std::string text = m_text;
    const size_t at = std::min(m_cursor, text.size());
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c);
    m_cursor = at;
    ChangeText(text);
    m_cursor = at + 1;
    return true;
}

void PXEntity2DGUIText::MoveCursorLine(int direction)
{
    if (TextType()->GetWrapWidth() < 1 || m_lines.empty() || m_lineStarts.size() != m_lines.size())
        return;
    size_t column = 0;
    const size_t line = CursorLine(&column);
    if ((direction < 0 && line == 0) || (direction > 0 && line + 1 >= m_lines.size()))
        return;
    const size_t target = direction < 0 ? line - 1 : line + 1;
    m_cursor = std::min(m_lineStarts[target] + std::min(column, m_lines[target].size()), m_text.size());
}

bool PXEntity2DGUIText::IsCharacterKey(int32_t key)
{
    return (key >= -128 && key < 0) || (key >= 32 && key < 256 && key != 127);
}

bool PXEntity2DGUIText::OnTextKey(int32_t key)
{
    // Bytes above 127 arrive sign-extended: Windows-1252 letters, typed like the others.
    if (key >= -128 && key < 0)
        key &= 0xFF;
    if (key < 0)
        return false;
    const size_t length = m_text.size();
    switch (key) {
    case KeyBackspace: {
        std::string text = m_text;
        if (m_cursor < length) {
            if (m_cursor > 0)
                text.erase(m_cursor - 1, 1);
        } else if (!text.empty()) {
            text.pop_back();
        }
        const size_t cursor = m_cursor > 0 ? m_cursor - 1 : 0;
        ChangeText(text);
        m_cursor = std::min(cursor, m_text.size());
        break;
    }
    case PXTextKey::Delete:
        if (m_cursor < length) {
            std::string text = m_text;
            text.erase(m_cursor, 1);
            ChangeText(text);
        }
        break;
    case KeyArrowLeft:
        if (m_cursor > 0)
            --m_cursor;
        break;
    case KeyArrowRight:
        m_cursor = std::min(m_cursor + 1, length);
        break;
    case KeyArrowUp:
        MoveCursorLine(-1);
        break;
    case KeyArrowDown:
        MoveCursorLine(1);
        break;
    case PXTextKey::Home:
        m_cursor = 0;
        break;
    case PXTextKey::End:
        m_cursor = length;
        break;
    default:
        if (key < 32 || key > 255 || !InsertChar(key))
            return false;
        break;
    }
    m_relayout = true;
    Invalidate();
    return true;
}
