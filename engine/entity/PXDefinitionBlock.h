// One definition text in memory with a key cursor: finds "key value" lines at brace depth 0
// and reads the value under the cursor as text, numbers, a colour, a char code or a reference.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/entity/PXEntityRef.h"
#include "engine/graphics/PXColor.h"

class PXFile;

class PXDefinitionBlock {
public:
    // Longest key compared; longer keys (looked up or written) are cut to this.
    static constexpr size_t MaxKeyLength = 254;
    // Largest definition file read; anything bigger is refused rather than allocated.
    static constexpr size_t MaxFileSize = 16u * 1024u * 1024u;

    // Reads the whole stream; false when it is empty, too large or unreadable.
    bool LoadFromFile(PXFile& file);
    // Copies `length` bytes of `text`; false for no text or length 0.
    bool LoadFromText(const char* text, size_t length);

    // Finds the first "key value" line at depth 0 of the whole text. The cursor is mutable
    // so that a type's constructor can read keys from a const block; so is the key index,
    // made by the first lookup in one pass over the text.
    bool FindKey(const std::string& key) const;

    bool ReadString(std::string* out) const;
    // Up to `count` comma-separated fields; missing fields leave their targets as they were.
    bool ReadInts(int* out, int count) const;
    bool ReadFloats(float* out, int count) const;
    // Red, green, blue, alpha, each cut to 0..255; missing fields give 0.
    bool ReadColor(PXColor* out) const;
    // A character and the number after the first comma (font widths). The character is the
    // first byte of 32 or more, Windows-1252 letters above 127 included. A value cannot
    // start with a space, "=" or "#", so a leading 0xA0 guards such a character: it is
    // skipped unless the comma follows it (then it is the no-break space itself).
    bool ReadCharCode(char* ch, int* code) const;
    // "class, type" or an inline "@ { ... }" definition (defined through g_entityRegistry).
    // False for an invalid reference; an inline definition that defines nothing reads as
    // valid and empty.
    bool ReadEntityRef(PXEntityRef* out) const;

    bool HasText() const { return !m_text.empty(); }
    size_t GetLength() const { return m_text.size(); }
    const char* GetText() const { return m_text.data(); }

private:
    // Where a key's first line lies.
    struct KeyLine {
        size_t keyStart;
        size_t keyEnd;
        size_t lineEnd;
    };

    bool HasValue() const { return HasText() && m_found; }
    // Lists the first line of every key (lower case, cut to MaxKeyLength) up to where the
    // braces close more than they open.
    void IndexKeys() const;
    void SetCursor(size_t keyStart, size_t keyEnd, size_t lineEnd) const;
    bool ReadInline(size_t at, PXEntityRef* out) const;

    std::string m_text;
    mutable bool m_indexed = false;
    mutable std::unordered_map<std::string, KeyLine> m_keys;
    mutable bool m_found = false;
    mutable size_t m_keyStart = 0;
    mutable size_t m_lineEnd = 0;
    mutable size_t m_valueStart = 0;
    mutable size_t m_valueLength = 0;
};
