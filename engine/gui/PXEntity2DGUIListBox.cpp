// The list box: its keys, items added by code or from a text file, selection and paging
// properties, the view that follows the selection or the dragged thumb, and the frame, track,
// thumb and highlight it draws around its text rows.
#include "engine/gui/PXEntity2DGUIListBox.h"

#include <algorithm>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUIButton.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/gui/PXEntity2DGUIText.h"

namespace {

// Font cells and arrow images larger than this are taken as this size, which keeps every
// product of the layout far inside 32 bits.
constexpr int32_t MaxCellSize = 4096;

// A list box whose rows or arrows name list boxes would build itself without end; nesting
// stops at this depth.
constexpr int MaxNesting = 4;
int s_nesting = 0;

void ReadBoundedInt(const PXDefinitionBlock* block, const char* key, int32_t* out, int32_t high)
{
    if (!block->FindKey(key))
        return;
    int value = *out;
    block->ReadInts(&value, 1);
    *out = std::clamp<int32_t>(value, 0, high);
}

// Three integers red, green, blue; missing fields keep the default.
void ReadRgb(const PXDefinitionBlock* block, const char* key, PXColor* out)
{
    if (!block->FindKey(key))
        return;
    int rgb[3] = {out->red, out->green, out->blue};
    block->ReadInts(rgb, 3);
    *out = MakeColor(static_cast<uint8_t>(std::clamp(rgb[0], 0, 255)),
                     static_cast<uint8_t>(std::clamp(rgb[1], 0, 255)),
                     static_cast<uint8_t>(std::clamp(rgb[2], 0, 255)));
}

int32_t ReadSize(PXEntityBase* entity, int32_t id, bool alternative)
{
    int32_t value = 0;
    if (entity) {
        if (alternative)
            entity->GetAltProperty(id, &value);
        else
            entity->GetProperty(id, &value);
    }
    return std::clamp(value, 0, MaxCellSize);
}

// Sets an integer property only when it changes (the text rows redraw on every set).
void SetIfChanged(PXEntity2DGUIElement* row, int32_t id, int32_t value)
{
    int32_t current = 0;
    if (row->GetProperty(id, &current) && current == value)
        return;
    row->SetProperty(id, value);
}

bool StrictlyInside(const PXRect& r, int32_t x, int32_t y)
{
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

}  // namespace

PXEntity2DGUIListBoxType::PXEntity2DGUIListBoxType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadRef(block, "TextEnt", &m_textRef);
    ReadBoundedInt(block, "ListHeight", &m_listHeight, MaxListHeight);
    ReadBoundedInt(block, "ListWidth", &m_listWidth, MaxListWidth);
    ReadBoundedInt(block, "LineHeight", &m_lineHeight, MaxLineHeight);
    ReadFlag(block, "Wrap", &m_wrap, m_wrap);
    ReadFlag(block, "Outline", &m_outline, m_outline);
    ReadRgb(block, "BoxColor", &m_boxColor);
    ReadRgb(block, "BoxLightColor", &m_boxLightColor);
    ReadRgb(block, "BoxShadowColor", &m_boxShadowColor);
    ReadRgb(block, "HighlightColor", &m_highlightColor);
    if (block->FindKey("BackgroundColor"))
        block->ReadColor(&m_backgroundColor);
    ReadRef(block, "UpArrowEnt", &m_upArrowRef);
    ReadRef(block, "DownArrowEnt", &m_downArrowRef);
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIListBoxType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIListBox>(this);
}

PXEntity2DGUIListBox::PXEntity2DGUIListBox(PXEntity2DGUIListBoxType* type) : PXEntity2DGUIElement(type)
{
    if (s_nesting >= MaxNesting)
        return;
    ++s_nesting;
    for (int32_t r = 0; r < type->GetListHeight(); ++r) {
        std::unique_ptr<PXEntityBase> owner;
        m_rows.push_back(MakeElement(type->GetTextRef(), &owner));
        if (owner)
            m_rowEntities.push_back(std::move(owner));
    }
    m_upArrow = MakeElement(type->GetUpArrowRef(), &m_upArrowEntity);
    m_downArrow = MakeElement(type->GetDownArrowRef(), &m_downArrowEntity);
    --s_nesting;
}

PXEntity2DGUIListBox::~PXEntity2DGUIListBox() = default;

PXEntity2DGUIElement* PXEntity2DGUIListBox::MakeElement(const PXEntityRef& ref, std::unique_ptr<PXEntityBase>* owner)
{
    std::unique_ptr<PXEntity2DGUIElement> entity =
        CreateEntityAs<PXEntity2DGUIElement>(g_entityRegistry, ref, PXKind::Unknown);
    PXEntity2DGUIElement* element = entity.get();
    if (!element)
        return nullptr;
    *owner = std::move(entity);
    return element;
}

PXEntity2DGUIElement* PXEntity2DGUIListBox::FirstRow() const
{
    PXEntity2DGUIElement* row = m_rows.empty() ? nullptr : m_rows[0];
    // The row's font exists once its type is loaded.
    if (row && row->GetType())
        row->GetType()->Load(false);
    return row;
}

PXEntity2DGUIListBox::Metrics PXEntity2DGUIListBox::ComputeMetrics() const
{
    Metrics m;
    PXEntity2DGUIElement* row = FirstRow();
    m.charWidth = ReadSize(row, PXFontProp::CharWidth, false);
    m.charHeight = ReadSize(row, PXFontProp::LineHeight, false);
    m.rowPitch = std::max(ListType()->GetLineHeight(), m.charHeight + 3);
    m.width = ListType()->GetListWidth() * m.charWidth;
    m.height = ListHeight() * m.rowPitch;
    m.arrowW = ReadSize(m_upArrow, PXSpriteProp::Width, true);
    m.arrowH = ReadSize(m_upArrow, PXSpriteProp::Height, true);
    m.steps = std::max(Count() - ListHeight() + 1, 1);
    m.step = static_cast<float>(m.height + (3 - m.arrowH) * 2) / static_cast<float>(m.steps);
    return m;
}

int32_t PXEntity2DGUIListBox::ClampToItems(int64_t index) const
{
    if (m_items.empty())
        return -1;
    return static_cast<int32_t>(std::clamp<int64_t>(index, 0, Count() - 1));
}

// --- properties -------------------------------------------------------------------------

bool PXEntity2DGUIListBox::SetProperty(int32_t id, int32_t value)
{
    switch (id) {
    case PXListBoxProp::Selection:
        SetSelection(value);
        return true;
    case PXListBoxProp::Clear:
        ClearItems();
        Invalidate();
        return true;
    case PXListBoxProp::UserValue:
        if (HasSelection())
            m_items[static_cast<size_t>(m_selection)].userValue = value;
        return true;
    case PXListBoxProp::Previous:
        LineUp();
        return true;
    case PXListBoxProp::Next:
        LineDown();
        return true;
    case PXListBoxProp::ViewOnly:
        m_viewOnly = value != 0;
        return true;
    case PXListBoxProp::SelectValue:
        if (int32_t found = FindValue(value); found >= 0)
            m_selection = found;
        Invalidate();
        return true;
    case PXListBoxProp::Wrap:
        ListType()->SetWrap(value != 0);
        return true;
    case PXListBoxProp::ItemLimit:
        m_itemLimit = value;
        return true;
    case PXListBoxProp::PageUp:
        PageUpBy();
        return true;
    case PXListBoxProp::PageDown:
        PageDownBy();
        return true;
    case PXListBoxProp::FixedWindow:
        m_fixedWindow = value != 0;
        PXEntity2DGUIElement::SetProperty(id, value);
        return true;
    default:
        return PXEntity2DGUIElement::SetProperty(id, value);
    }
}

bool PXEntity2DGUIListBox::SetStringProperty(int32_t id, const std::string& value)
{
    switch (id) {
    case PXListBoxProp::AddText:
        AddText(value);
        return true;
    case PXListBoxProp::ShowFile:
        if (value != m_fileName)
            ShowFile(value);
        return true;
    case PXListBoxProp::SelectText:
        if (int32_t found = FindText(value); found >= 0)
            m_selection = found;
        Invalidate();
        return true;
    case PXListBoxProp::Indent:
        m_indent = value;
        PXEntity2DGUIElement::SetStringProperty(id, value);
        return true;
    default:
        return PXEntity2DGUIElement::SetStringProperty(id, value);
    }
}

bool PXEntity2DGUIListBox::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    switch (id) {
    case PXListBoxProp::ListWidth:
        *out = ListType()->GetListWidth();
        return true;
    case PXListBoxProp::Selection:
        *out = m_selection;
        return true;
    case PXListBoxProp::Count:
        *out = Count();
        return true;
    case PXListBoxProp::UserValue:
        if (HasSelection())
            *out = m_items[static_cast<size_t>(m_selection)].userValue;
        return true;
    case PXListBoxProp::Top:
        *out = m_top;
        return true;
    case PXListBoxProp::ListHeight:
        *out = ListHeight();
        return true;
    case PXListBoxProp::ItemValue:
        if (*out >= 0 && *out < Count())
            *out = m_items[static_cast<size_t>(*out)].userValue;
        return true;
    default:
        return PXEntity2DGUIElement::GetProperty(id, out);
    }
}

bool PXEntity2DGUIListBox::GetStringProperty(int32_t id, std::string* out)
{
    if (id == PXListBoxProp::Selection && out) {
        if (HasSelection())
            *out = m_items[static_cast<size_t>(m_selection)].text;
        return true;
    }
    return PXEntity2DGUIElement::GetStringProperty(id, out);
}

// --- adding and loading -----------------------------------------------------------------

void PXEntity2DGUIListBox::AddText(const std::string& text)
{
    AppendLines(text);
    Invalidate();
}

void PXEntity2DGUIListBox::AppendLines(const std::string& text)
{
    PXEntity2DGUIElement* row = FirstRow();
    PXEntity2DGUIFont* font = row ? row->GetFont() : nullptr;
    std::vector<std::string> lines;
    if (font && ListType()->IsWrap())
        PXEntity2DGUIFont::WrapText(&lines, text, ListType()->GetListWidth(), m_indent.empty() ? nullptr : &m_indent);
    else
        lines.push_back(text);
    for (std::string& line : lines)
        m_items.push_back(PXListBoxItem{std::move(line), 0, m_tint});
    m_selection = Count() - 1;
    TrimToLimit();
}

void PXEntity2DGUIListBox::TrimToLimit()
{
    // -1 means no limit; other negative limits are taken the same way (no count can reach them).
    if (m_itemLimit < 0)
        return;
    while (m_items.size() > static_cast<size_t>(m_itemLimit))
        m_items.pop_front();
    m_selection = ClampToItems(m_selection);
}

void PXEntity2DGUIListBox::ClearItems()
{
    m_items.clear();
    m_top = 0;
    m_selection = -1;
    m_fileName.clear();
}

std::vector<std::string> PXEntity2DGUIListBox::SplitFileText(const std::string& bytes, int32_t width)
{
    std::vector<std::string> lines;
    std::string line;
    size_t breakAt = std::string::npos;  // position in line of its last space
    auto finish = [&](std::string piece) {
        lines.push_back(std::move(piece));
        line.clear();
        breakAt = std::string::npos;
    };
    for (const char c : bytes) {
        if (c == '\r') {
            finish(line);
            continue;
        }
        if (c == '\n')
            continue;
        if (width > 0 && line.size() >= static_cast<size_t>(width)) {
            if (c == ' ') {
                // The space that breaks a full line is not carried to the next one.
                finish(line);
                continue;
            }
            if (breakAt == std::string::npos) {
                finish(line);
            } else {
                std::string rest = line.substr(breakAt + 1);
                finish(line.substr(0, breakAt));
                line = std::move(rest);
            }
        }
        if (c == ' ')
            breakAt = line.size();
        line.push_back(c);
    }
    // Text files often end without a CR; their last line is text all the same.
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool PXEntity2DGUIListBox::ReadFileBytes(const std::string& name, std::string* out) const
{
    if (!g_fileSystem)
        return false;
    PXFile* file = g_fileSystem->Open(name, FileModeRead | FileModeBinary);
    if (!file)
        return false;
    // One read of the whole (capped) file: archive members are memory streams, whose
    // ReadBytes answers a sentinel rather than a short count when asked for too much.
    const uint32_t size = file->GetSize();
    const uint32_t want = std::min(size, MaxFileBytes);
    if (size > MaxFileBytes)
        Log(("Text file cut to its first 1 MiB: " + name + "\n").c_str());
    out->assign(want, '\0');
    if (want > 0 && file->ReadBytes(want, out->data()) != want)
        out->clear();
    g_fileSystem->Close(file);
    return true;
}

void PXEntity2DGUIListBox::ShowFile(const std::string& name)
{
    ClearItems();
    m_fileName = name;
    std::string bytes;
    if (!ReadFileBytes(name, &bytes)) {
        Log(("Unable to open text file: " + name + "\n").c_str());
        Invalidate();
        return;
    }
    for (const std::string& line : SplitFileText(bytes, ListType()->GetListWidth()))
        AppendLines(line);
    SetSelection(0);
}

// --- selection --------------------------------------------------------------------------

void PXEntity2DGUIListBox::SetSelection(int32_t index)
{
    m_selection = index < 0 ? -1 : ClampToItems(index);
    Invalidate();
}

void PXEntity2DGUIListBox::LineUp()
{
    // A viewer has no visible selection: the arrows scroll the view by one row.
    m_selection = ClampToItems(m_viewOnly ? int64_t{m_top} - 1 : int64_t{m_selection} - 1);
    Invalidate();
}

void PXEntity2DGUIListBox::LineDown()
{
    m_selection = ClampToItems(m_viewOnly ? int64_t{m_top} + ListHeight() : int64_t{m_selection} + 1);
    Invalidate();
}

void PXEntity2DGUIListBox::PageUpBy()
{
    if (m_viewOnly)
        m_selection = ClampToItems(int64_t{m_top} - 1);
    else
        m_selection = ClampToItems(m_selection <= ListHeight() ? 0 : m_selection - ListHeight());
    Invalidate();
}

void PXEntity2DGUIListBox::PageDownBy()
{
    m_selection = ClampToItems(m_viewOnly ? int64_t{m_top} + ListHeight() : int64_t{m_selection} + ListHeight());
    Invalidate();
}

bool PXEntity2DGUIListBox::CanTakeFocus() const
{
    return m_visible && !m_disabled;
}

PXActionResult PXEntity2DGUIListBox::OnInputAction(PXInputAction action)
{
    switch (action) {
    case PXInputAction::FocusUp:
        LineUp();
        break;
    case PXInputAction::FocusDown:
        LineDown();
        break;
    case PXInputAction::PageUp:
        PageUpBy();
        break;
    case PXInputAction::PageDown:
        PageDownBy();
        break;
    case PXInputAction::Home:
        SetSelection(0);
        break;
    case PXInputAction::End:
        SetSelection(Count() - 1);
        break;
    default:
        return PXActionResult::Ignored;
    }
    return PXActionResult::Used;
}

int32_t PXEntity2DGUIListBox::FindText(const std::string& text) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].text == text)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t PXEntity2DGUIListBox::FindValue(int32_t value) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].userValue == value)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// --- update -----------------------------------------------------------------------------

bool PXEntity2DGUIListBox::Update(float elapsedMs)
{
    if (g_screen && !m_thumb.IsEmpty())
        g_screen->InvalidateRect(m_thumb, true);
    m_selection = ClampToItems(m_selection);
    const Metrics m = ComputeMetrics();
    if (!m_disabled && g_leftButtonDown && InDragZone(m, g_mouseX, g_mouseY))
        DragThumb(m);
    else
        FollowSelection();
    FillRows(m, elapsedMs);
    PlaceArrows(m, elapsedMs);
    return PXEntity2DGUIElement::Update(elapsedMs);
}

bool PXEntity2DGUIListBox::InDragZone(const Metrics& m, int32_t px, int32_t py) const
{
    const PXRect zone{m_x + m.width + 7, m_x + m.width + 4 + m.arrowW, m_y + m.arrowH - 5,
                      m_y + m.height - m.arrowH - 5};
    return StrictlyInside(zone, px, py);
}

void PXEntity2DGUIListBox::DragThumb(const Metrics& m)
{
    const int32_t along = std::max(g_mouseY - m_y - m.arrowH + 3, 0);
    // A track with no length (arrows as tall as the box) leaves the view at the top.
    int32_t top = 0;
    if (m.step > 0.0f) {
        const float exact = static_cast<float>(along) / m.step;
        top = exact >= static_cast<float>(m.steps - 1) ? m.steps - 1 : static_cast<int32_t>(exact);
    }
    m_top = top;
    if (!m_items.empty()) {
        if (m_selection < m_top)
            m_selection = m_top;
        else if (m_selection >= m_top + ListHeight())
            m_selection = m_top + ListHeight() - 1;
        m_selection = ClampToItems(m_selection);
    }
    Invalidate();
}

void PXEntity2DGUIListBox::FollowSelection()
{
    // Without rows there is no view to move.
    if (ListHeight() < 1) {
        m_top = 0;
        return;
    }
    if (m_selection < m_top)
        m_top = m_selection;
    else if (m_selection >= m_top + ListHeight())
        m_top = m_selection - ListHeight() + 1;
    m_top = std::max(m_top, 0);
}

void PXEntity2DGUIListBox::FillRows(const Metrics& m, float elapsedMs)
{
    const int32_t lineHeight = ListType()->GetLineHeight();
    const int32_t window = m_fixedWindow ? ListType()->GetListWidth() : 0;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        PXEntity2DGUIElement* row = m_rows[r];
        if (!row)
            continue;
        const size_t index = static_cast<size_t>(m_top) + r;
        const PXListBoxItem* item = index < m_items.size() ? &m_items[index] : nullptr;
        const PXColor color = item ? item->color : PXColor{};
        row->SetProperty(PXGuiProp::TintAlpha, color.alpha);
        row->SetProperty(PXGuiProp::TintRed, color.red);
        row->SetProperty(PXGuiProp::TintGreen, color.green);
        row->SetProperty(PXGuiProp::TintBlue, color.blue);
        row->SetStringProperty(PXTextProp::Text, item ? item->text : std::string());
        SetIfChanged(row, PXTextProp::Cursor, 0);
        SetIfChanged(row, PXTextProp::WindowSize, window);
        const int32_t ri = static_cast<int32_t>(r);
        // Rows taller than the font centre their text.
        const int32_t rowY = m.charHeight + 3 < lineHeight ? m_y + lineHeight * ri + (lineHeight - m.charHeight) / 2
                                                           : m_y + (m.charHeight + 3) * ri;
        row->SetPosition(PXPoint{m_x, rowY});
        row->SetAlpha(m_alpha);
        row->Update(elapsedMs);
    }
}

void PXEntity2DGUIListBox::PlaceArrows(const Metrics& m, float elapsedMs)
{
    const int32_t arrowX = m_x + 6 + m.width;
    if (m_upArrow) {
        m_upArrow->SetPosition(PXPoint{arrowX, m_y - 5});
        m_upArrow->SetAlpha(m_alpha);
        m_upArrow->Update(elapsedMs);
    }
    if (m_downArrow) {
        // The down arrow ends one pixel below the last row, whatever the row pitch.
        const int32_t ownHeight = ReadSize(m_downArrow, PXSpriteProp::Height, true);
        m_downArrow->SetPosition(PXPoint{arrowX, m_y + 1 + m.height - ownHeight});
        m_downArrow->SetAlpha(m_alpha);
        m_downArrow->Update(elapsedMs);
    }
}

// --- drawing ----------------------------------------------------------------------------

bool PXEntity2DGUIListBox::Draw()
{
    const Metrics m = ComputeMetrics();
    m_width = m.width;
    m_height = m.height;
    DrawFrame(m);
    for (PXEntity2DGUIElement* arrow : {m_upArrow, m_downArrow}) {
        if (arrow)
            arrow->Draw();
    }
    DrawTrack(m);
    DrawThumb(m);
    DrawHighlight(m);
    for (PXEntity2DGUIElement* row : m_rows) {
        if (row)
            row->Draw();
    }
    return true;
}

PXColor PXEntity2DGUIListBox::WithAlpha(const PXColor& color) const
{
    PXColor c = color;
    c.alpha = static_cast<uint8_t>(std::clamp(m_alpha, 0, 255));
    return c;
}

void PXEntity2DGUIListBox::DrawFrame(const Metrics& m)
{
    const PXEntity2DGUIListBoxType* type = ListType();
    if (!g_screen || !type->IsOutline())
        return;
    PXRect frame{m_x - 5, m_x + m.width + 5, m_y - 5, m_y + m.height};
    const PXColor& background = type->GetBackgroundColor();
    if (background.alpha != 0) {
        PXColor fill = background;
        fill.alpha = static_cast<uint8_t>(background.alpha * std::clamp(m_alpha, 0, 255) / 256);
        g_screen->FillRect(PXRect{frame.left, frame.right + m.arrowW + 1, frame.top, frame.bottom}, fill);
    }
    const PXColor box = WithAlpha(type->GetBoxColor());
    g_screen->DrawRect(frame, box);
    // A second frame one pixel inside makes the border two pixels thick.
    g_screen->DrawRect(PXRect{frame.left + 1, frame.right - 1, frame.top + 1, frame.bottom - 1}, box);
}

void PXEntity2DGUIListBox::DrawTrack(const Metrics& m)
{
    if (!g_screen || !ListType()->IsOutline())
        return;
    const PXColor box = WithAlpha(ListType()->GetBoxColor());
    const int32_t left = m_x + m.width + 7;
    g_screen->DrawVLine(left - 1 + m.arrowW, m_y - 5, m_y + m.height, box);
    for (int32_t x = left; x < left + m.arrowW; x += 2)
        g_screen->DrawVLine(x, m_y - 5 + m.arrowH, m_y + m.height - m.arrowH, box);
}

void PXEntity2DGUIListBox::DrawThumb(const Metrics& m)
{
    // Without rows there is nothing to scroll.
    if (ListHeight() < 1) {
        m_thumb = PXRect{};
        return;
    }
    const int32_t left = m_x + m.width + 6;
    const int32_t top = m_y - 5 + m.arrowH + static_cast<int32_t>(static_cast<float>(m_top) * m.step);
    const int32_t length = m.step < 3.0f ? 3 : static_cast<int32_t>(m.step);
    m_thumb = PXRect{left, left + m.arrowW, top, top + length};
    if (!g_screen || !m_upArrow || !m_downArrow)
        return;
    const PXEntity2DGUIListBoxType* type = ListType();
    PXColor light = WithAlpha(type->GetBoxLightColor());
    PXColor dark = WithAlpha(type->GetBoxShadowColor());
    if (g_leftButtonDown && StrictlyInside(m_thumb, g_mouseX, g_mouseY))
        std::swap(light, dark);
    g_screen->DrawBevelRect(m_thumb, WithAlpha(type->GetBoxColor()), light, dark);
}

void PXEntity2DGUIListBox::DrawHighlight(const Metrics& m)
{
    if (!g_screen || m_viewOnly || !HasSelection())
        return;
    // A selection outside the view (before the next Update) has no row to frame.
    if (m_selection < m_top || m_selection >= m_top + ListHeight())
        return;
    const int32_t top = m_y + (m_selection - m_top) * m.rowPitch;
    g_screen->DrawRect(PXRect{m_x, m_x + m.width, top, top + m.rowPitch - 3},
                       WithAlpha(ListType()->GetHighlightColor()));
}

void PXEntity2DGUIListBox::Invalidate()
{
    if (!g_screen)
        return;
    const Metrics m = ComputeMetrics();
    // The element's own area plus the frame, the track and the thumb around it.
    const PXRect r{m_x - 5, m_x + m.width + std::max(20, 7 + m.arrowW), m_y - 5, m_y + m.height + 2};
    g_screen->InvalidateRect(r, true);
}

// --- clicks -----------------------------------------------------------------------------

bool PXEntity2DGUIListBox::HitsRows(const PXPoint& point) const
{
    const Metrics m = ComputeMetrics();
    return StrictlyInside(PXRect{m_x, m_x + m.width, m_y, m_y + m.height}, point.x, point.y);
}

bool PXEntity2DGUIListBox::HitsScrollControls(const PXPoint& point) const
{
    if (m_disabled)
        return false;
    for (PXEntity2DGUIElement* arrow : {m_upArrow, m_downArrow}) {
        if (!arrow)
            continue;
        auto* button = dynamic_cast<PXEntity2DGUIButton*>(arrow);
        if (button ? button->IsOver(point) : arrow->Click(point))
            return true;
    }
    const Metrics m = ComputeMetrics();
    if (m.arrowW <= 0)
        return false;
    // The column the thumb moves in, from below the up arrow to the lowest thumb position.
    const int32_t left = m_x + m.width + 6;
    const int32_t top = m_y - 5 + m.arrowH;
    const int32_t bottom = m_y + m.height - m.arrowH + 1;
    return left <= point.x && point.x <= left + m.arrowW && top <= point.y && point.y <= bottom;
}

bool PXEntity2DGUIListBox::Click(const PXPoint& point)
{
    if (m_disabled)
        return false;
    if (m_upArrow && m_upArrow->Click(point)) {
        LineUp();
        return true;
    }
    if (m_downArrow && m_downArrow->Click(point)) {
        LineDown();
        return true;
    }
    if (!HitsRows(point))
        return false;
    const Metrics m = ComputeMetrics();
    SetSelection(m_top + (point.y - m_y) / m.rowPitch);
    return true;
}
