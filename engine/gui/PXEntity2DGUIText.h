// Class "text": one string drawn with a font, optionally wrapped into lines or shown through
// a window slice, and usable as an edit field with a blinking cursor and input filters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXPropertyIds.h"

class PXEntity2DGUIFont;

// Key codes only the text key handler understands, beside the arrows.
namespace PXTextKey {
constexpr int32_t Delete = 263;
constexpr int32_t Home = 264;
constexpr int32_t End = 265;
}  // namespace PXTextKey

class PXEntity2DGUITextType : public PXEntity2DGUIElementType {
public:
    explicit PXEntity2DGUITextType(const PXDefinitionBlock* block);
    ~PXEntity2DGUITextType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;
    bool IsA(uint32_t kind) const override;

    // The font entity, or none (not loaded, or the reference names no font).
    PXEntity2DGUIFont* GetFont() const;
    const std::string& GetDefaultText() const { return m_defaultText; }
    int32_t GetClickWidth() const { return m_clickWidth; }
    int32_t GetWrapWidth() const { return m_wrapWidth; }
    int32_t GetDefaultJustify() const { return m_defaultJustify; }
    int32_t GetWindowSize() const { return m_windowSize; }
    int32_t GetFitWidth() const { return m_fitWidth; }
    bool IsPassword() const { return m_password; }
    bool IsNumbersOnly() const { return m_numbersOnly; }
    bool IsIPAddress() const { return m_ipAddress; }

protected:
    PXEntityRef m_fontRef;
    std::unique_ptr<PXEntityBase> m_font;
    std::string m_defaultText;
    int32_t m_clickWidth = -1;
    int32_t m_wrapWidth = -1;
    int32_t m_defaultJustify = 1;
    int32_t m_windowSize = 0;
    int32_t m_fitWidth = 0;  // pixels a drawn line must stay within (0: no limit)
    bool m_password = false;
    bool m_numbersOnly = false;
    bool m_ipAddress = false;
};

class PXEntity2DGUIText : public PXEntity2DGUIElement {
public:
    // Milliseconds of one cursor blink period; the cursor shows for the first half.
    static constexpr float BlinkPeriodMs = 400.0f;
    static constexpr float BlinkOnMs = 200.0f;

    explicit PXEntity2DGUIText(PXEntityBaseType* type);

    bool SetProperty(int32_t id, int32_t value) override;
    bool SetStringProperty(int32_t id, const std::string& value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool GetStringProperty(int32_t id, std::string* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;
    bool Click(const PXPoint& point) override;
    void Invalidate() override;
    PXEntity2DGUIFont* GetFont() override;

    // Edits the text with a typed character or a key code; true when the key was taken.
    virtual bool OnTextKey(int32_t key);

    const std::string& GetText() const { return m_text; }
    void SetText(const std::string& text);
    const std::vector<std::string>& GetLines() const { return m_lines; }
    size_t GetCursor() const { return m_cursor; }
    bool IsEditing() const { return m_editing; }
    bool IsCursorShown() const { return m_editing && m_blinkMs < BlinkOnMs; }
    int32_t GetJustify() const { return m_justify; }
    int32_t GetTextWidth() const { return m_textWidth; }
    int32_t GetTextHeight() const;

    // What a window of `windowSize` characters shows of text with the cursor, and where the
    // cursor falls in it.
    static std::string WindowSlice(const std::string& text, size_t cursor, int32_t windowSize,
                                   size_t* cursorInSlice);
    // Whether the key code is a character that typing inserts (bytes 128-255 arrive negative),
    // rather than an editing or control key.
    static bool IsCharacterKey(int32_t key);
    // Whether the ip-address filter lets key into text at cursor.
    static bool IPAddressAccepts(const std::string& text, size_t cursor, char key);

protected:
    PXEntity2DGUITextType* TextType() const { return static_cast<PXEntity2DGUITextType*>(m_type); }
    void Relayout();
    bool InsertChar(int32_t key);
    void MoveCursorLine(int direction);
    // Line holding the cursor and the cursor's column in it.
    size_t CursorLine(size_t* column) const;
    std::string Masked(const std::string& shown) const;
    // A line as drawn into the type's fit width: cut with an ellipsis, and while editing
    // with the cursor past the cut, the end of the line after an ellipsis instead. cursor
    // is the cursor's position in line, and becomes its position in the result.
    std::string Fitted(const std::string& line, size_t* cursor = nullptr) const;
    void DrawCursor(PXEntity2DGUIFont& font, const std::string& before, int32_t x, int32_t y,
                    const std::string& whole, bool includeTrailing);
    void ChangeText(const std::string& text);

    std::string m_text;
    std::vector<std::string> m_lines;
    std::vector<size_t> m_lineStarts;
    bool m_editing = false;
    float m_blinkMs = 0.0f;
    int32_t m_justify = 1;
    bool m_relayout = true;
    size_t m_cursor = 0;
    size_t m_maxLength = 256;
    int32_t m_textWidth = 0;
    int32_t m_windowSize = 0;
};

using PXEntity2DGUITextPrototype = PXEntityTypePrototypeFor<PXEntity2DGUITextType>;
