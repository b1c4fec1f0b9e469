// Class "ListBox": a framed list of text lines shown through a fixed number of text rows, with
// a selection, a scroll track with a draggable thumb and two arrow elements. With the focus,
// Up/Down move by a row, PageUp/PageDown by a page, Home/End to the ends (a viewer scrolls).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntityRef.h"
#include "engine/graphics/PXColor.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXPropertyIds.h"

class PXEntity2DGUIListBoxType : public PXEntity2DGUIElementType {
public:
    // Definition values beyond these are cut to them, so that no row count or size from a
    // file can exhaust memory or overflow the pixel arithmetic.
    static constexpr int32_t MaxListHeight = 256;
    static constexpr int32_t MaxListWidth = 1024;
    static constexpr int32_t MaxLineHeight = 480;

    explicit PXEntity2DGUIListBoxType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    const PXEntityRef& GetTextRef() const { return m_textRef; }
    const PXEntityRef& GetUpArrowRef() const { return m_upArrowRef; }
    const PXEntityRef& GetDownArrowRef() const { return m_downArrowRef; }
    int32_t GetListHeight() const { return m_listHeight; }
    int32_t GetListWidth() const { return m_listWidth; }
    int32_t GetLineHeight() const { return m_lineHeight; }
    bool IsWrap() const { return m_wrap; }
    void SetWrap(bool wrap) { m_wrap = wrap; }
    bool IsOutline() const { return m_outline; }
    // Colours as read; their alpha is the drawing element's at draw time.
    const PXColor& GetBoxColor() const { return m_boxColor; }
    const PXColor& GetBoxLightColor() const { return m_boxLightColor; }
    const PXColor& GetBoxShadowColor() const { return m_boxShadowColor; }
    const PXColor& GetHighlightColor() const { return m_highlightColor; }
    const PXColor& GetBackgroundColor() const { return m_backgroundColor; }

private:
    PXEntityRef m_textRef;
    int32_t m_listHeight = 0;
    int32_t m_listWidth = 0;
    int32_t m_lineHeight = 0;
    bool m_wrap = false;
    bool m_outline = true;
    PXColor m_boxColor = MakeColor(255, 255, 255);
    PXColor m_boxLightColor = MakeColor(255, 255, 255);
    PXColor m_boxShadowColor = MakeColor(255, 255, 255);
    PXColor m_highlightColor = MakeColor(255, 255, 255);
    PXColor m_backgroundColor;
    PXEntityRef m_upArrowRef;
    PXEntityRef m_downArrowRef;
};

struct PXListBoxItem {
    std::string text;
    int32_t userValue = 0;
    PXColor color;  // the list box's tint when the item was added
};

class PXEntity2DGUIListBox : public PXEntity2DGUIElement {
public:
    // At most this many bytes of a text file are shown; the rest is left out with a log line.
    static constexpr uint32_t MaxFileBytes = 1u << 20;

    // Creates the row elements and the arrows from the type's references.
    explicit PXEntity2DGUIListBox(PXEntity2DGUIListBoxType* type);
    ~PXEntity2DGUIListBox() override;

    bool SetProperty(int32_t id, int32_t value) override;
    bool SetStringProperty(int32_t id, const std::string& value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool GetStringProperty(int32_t id, std::string* out) override;
    // Thumb dragging or following the selection, then fills and places the rows and arrows.
    bool Update(float elapsedMs) override;
    bool Draw() override;
    // True when an arrow or a row was hit (and the selection moved); false when disabled.
    bool Click(const PXPoint& point) override;
    void Invalidate() override;
    bool CanTakeFocus() const override;
    PXActionResult OnInputAction(PXInputAction action) override;

    // Whether a press at the point goes to the scroll controls: either arrow, or the track
    // that holds the thumb (holding the button there drags the view). No side effects; a
    // scene asks this to route clicks on the controls to the list and treat others its own
    // way. Arrow buttons answer through IsOver; other arrow elements through their Click
    // (a sprite's has no side effect). False while the list is disabled.
    bool HitsScrollControls(const PXPoint& point) const;
    // Whether the point is strictly inside the rows, where Click selects an item.
    bool HitsRows(const PXPoint& point) const;

    // Splits text-file bytes into lines of at most `width` characters (no limit when width
    // is below 1): CR ends a line, LF is skipped, a full line breaks after its last space
    // (the space is dropped) or, without one, inside the word. A last line without CR is kept.
    static std::vector<std::string> SplitFileText(const std::string& bytes, int32_t width);

    size_t GetItemCount() const { return m_items.size(); }
    const PXListBoxItem& GetItem(size_t index) const { return m_items[index]; }
    int32_t GetSelection() const { return m_selection; }
    int32_t GetTop() const { return m_top; }
    bool IsViewOnly() const { return m_viewOnly; }
    const PXRect& GetThumbRect() const { return m_thumb; }
    const std::string& GetFileName() const { return m_fileName; }
    // The row element r, or none.
    PXEntity2DGUIElement* GetRow(size_t r) const { return r < m_rows.size() ? m_rows[r] : nullptr; }
    size_t GetRowCount() const { return m_rows.size(); }
    PXEntity2DGUIElement* GetUpArrow() const { return m_upArrow; }
    PXEntity2DGUIElement* GetDownArrow() const { return m_downArrow; }

private:
    // Sizes derived from the first row's font and the up arrow's image.
    struct Metrics {
        int32_t charWidth = 0;
        int32_t charHeight = 0;
        int32_t rowPitch = 0;
        int32_t width = 0;   // ListWidth x charWidth
        int32_t height = 0;  // ListHeight x rowPitch
        int32_t arrowW = 0;
        int32_t arrowH = 0;
        int32_t steps = 1;   // possible top positions
        float step = 0.0f;   // track pixels per top position
    };

    PXEntity2DGUIListBoxType* ListType() const { return static_cast<PXEntity2DGUIListBoxType*>(m_type); }
    PXEntity2DGUIElement* MakeElement(const PXEntityRef& ref, std::unique_ptr<PXEntityBase>* owner);
    // The first row, its type loaded (its font gives the metrics and the wrapping), or none.
    PXEntity2DGUIElement* FirstRow() const;
    Metrics ComputeMetrics() const;
    int32_t ListHeight() const { return ListType()->GetListHeight(); }
    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    bool HasSelection() const { return m_selection >= 0 && m_selection < Count(); }
    int32_t ClampToItems(int64_t index) const;

    // Adding and loading.
    void AddText(const std::string& text);
    void AppendLines(const std::string& text);
    void TrimToLimit();
    void ClearItems();
    void ShowFile(const std::string& name);
    bool ReadFileBytes(const std::string& name, std::string* out) const;

    // Selection moves; each ends with Invalidate.
    void SetSelection(int32_t index);
    void LineUp();
    void LineDown();
    void PageUpBy();
    void PageDownBy();
    // Index of the first item with this text (user value), or -1.
    int32_t FindText(const std::string& text) const;
    int32_t FindValue(int32_t value) const;

    // Update steps.
    bool InDragZone(const Metrics& m, int32_t px, int32_t py) const;
    void DragThumb(const Metrics& m);
    void FollowSelection();
    void FillRows(const Metrics& m, float elapsedMs);
    void PlaceArrows(const Metrics& m, float elapsedMs);

    // Draw steps.
    PXColor WithAlpha(const PXColor& color) const;
    void DrawFrame(const Metrics& m);
    void DrawTrack(const Metrics& m);
    void DrawThumb(const Metrics& m);
    void DrawHighlight(const Metrics& m);

    std::vector<std::unique_ptr<PXEntityBase>> m_rowEntities;
    std::vector<PXEntity2DGUIElement*> m_rows;  // one per visible row; none where creation failed
    std::deque<PXListBoxItem> m_items;
    int32_t m_top = 0;
    int32_t m_selection = -1;
    std::unique_ptr<PXEntityBase> m_upArrowEntity;
    std::unique_ptr<PXEntityBase> m_downArrowEntity;
    PXEntity2DGUIElement* m_upArrow = nullptr;
    PXEntity2DGUIElement* m_downArrow = nullptr;
    PXRect m_thumb;
    std::string m_fileName;
    bool m_viewOnly = false;
    int32_t m_itemLimit = -1;
    std::string m_indent;
    bool m_fixedWindow = false;
};

using PXEntity2DGUIListBoxPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIListBoxType>;
