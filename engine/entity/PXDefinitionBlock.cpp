// Definition text reader: key lookup by the line, comment and brace rules, and the value forms.
#include "engine/entity/PXDefinitionBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFile.h"

namespace {

// Only this many characters of one numeric field are converted.
constexpr size_t MaxFieldChars = 99;
// Characters after the comma of a char code that are converted.
constexpr size_t MaxCharCodeChars = 100;
// Windows-1252's no-break space, also the guard before a char code's character.
constexpr unsigned char NoBreakSpace = 0xA0;

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

bool IsKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Walks the text one line at a time, keeping the brace depth. Braces after a "#" on a line
// do not count.
class LineScanner {
public:
    explicit LineScanner(const std::string& text) : m_text(text) {}

    size_t LineEnd(size_t from) const
    {
        size_t i = from;
        while (i < m_text.size() && !IsLineEnd(m_text[i]))
            ++i;
        return i;
    }
    size_t NextLine(size_t lineEnd) const
    {
        if (lineEnd >= m_text.size())
            return m_text.size();
        if (m_text[lineEnd] == '\r' && lineEnd + 1 < m_text.size() && m_text[lineEnd + 1] == '\n')
            return lineEnd + 2;
        return lineEnd + 1;
    }

private:
    const std::string& m_text;
};

// Applies one brace to the depth; false when the depth would drop below 0.
bool CountBrace(char c, long& depth)
{
    if (c == '{')
        ++depth;
    else if (c == '}' && --depth < 0)
        return false;
    return true;
}

int32_t ConvertInt(const char* p, size_t n)
{
    n = std::min(n, MaxFieldChars);
    size_t i = 0;
    while (i < n && IsBlank(p[i]))
        ++i;
    bool negative = false;
    if (i < n && (p[i] == '+' || p[i] == '-'))
        negative = p[i++] == '-';
    int64_t value = 0;
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < n && IsDigit(p[i]); ++i)
        value = std::min(value * 10 + (p[i] - '0'), limit);
    if (negative)
        value = -value;
    value =
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(value);
}

// Decimal floating-point text only: sign, digits, fraction, exponent. The matched prefix
// is handed to strtod so that hex, "inf" and "nan" are never taken.
float ConvertFloat(const char* p, size_t n)
{
    n = std::min(n, MaxFieldChars);
    size_t i = 0;
    while (i < n && IsBlank(p[i]))
        ++i;
    std::string number;
    if (i < n && (p[i] == '+' || p[i] == '-'))
        number += p[i++];
    size_t digits = 0;
    for (; i < n && IsDigit(p[i]); ++i, ++digits)
        number += p[i];
    if (i < n && p[i] == '.') {
        number += p[i++];
        for (; i < n && IsDigit(p[i]); ++i, ++digits)
            number += p[i];
    }
    if (digits == 0)
        return 0.0f;
    if (i < n && (p[i] == 'e' || p[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (p[j] == '+' || p[j] == '-'))
            ++j;
        if (j < n && IsDigit(p[j])) {
            number.append(p + i, j - i);
            for (; j < n && IsDigit(p[j]); ++j)
                number += p[j];
        }
    }
    double value = std::strtod(number.c_str(), nullptr);
    const double largest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -largest, largest));
}

// Splits a value into fields and hands each to `store` (index, start, length). A field runs
// to the next comma after its first character, so an empty field keeps its comma.
template <typename Store> void ForEachField(const char* value, size_t length, int count, Store store)
{
    size_t pos = 0;
    for (int index = 0; index < count && pos < length; ++index) {
        size_t end = pos + 1;
        while (end < length && value[end] != ',')
            ++end;
        store(index, value + pos, end - pos);
        pos = end + 1;
    }
}

}  // namespace

bool PXDefinitionBlock::LoadFromFile(PXFile& file)
{
    uint32_t size = file.GetSize();
    if (size == 0 || size > MaxFileSize || !file.Seek(0, 0))
        return false;
    std::string text(size, '\0');
    uint32_t read = file.ReadBytes(size, text.data());
    if (read == 0 || read > size)
        return false;
    text.resize(read);
    m_text = std::move(text);
    m_found = false;
    m_indexed = false;
    return true;
}

bool PXDefinitionBlock::LoadFromText(const char* text, size_t length)
{
    if (!text || length == 0)
        return false;
    m_text.assign(text, length);
    m_found = false;
    m_indexed = false;
    return true;
}

bool PXDefinitionBlock::FindKey(const std::string& key) const
{
    m_found = false;
    if (!HasText() || key.empty())
        return false;
    if (!m_indexed)
        IndexKeys();
    std::string wanted = key.substr(0, MaxKeyLength);
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), Lower);
    const auto it = m_keys.find(wanted);
    if (it == m_keys.end())
        return false;
    SetCursor(it->second.keyStart, it->second.keyEnd, it->second.lineEnd);
    return true;
}

// A line's key is its first word at depth 0; it compares without case over at most
// MaxKeyLength characters and must be followed by a space: a tab or "=" directly after the
// key does not end it, and such a line is found under no key.
void PXDefinitionBlock::IndexKeys() const
{
    m_keys.clear();
    m_indexed = true;
    LineScanner lines(m_text);
    long depth = 0;
    std::string name;
    for (size_t start = 0; start < m_text.size();) {
        size_t end = lines.LineEnd(start);
        bool keyLooked = false;
        for (size_t i = start; i < end && m_text[i] != '#'; ++i) {
            // Nothing after a brace that closes more than was opened is found.
            if (!CountBrace(m_text[i], depth))
                return;
            if (keyLooked || depth != 0 || !IsKeyChar(m_text[i]))
                continue;
            // The rest of the line only counts braces.
            keyLooked = true;
            size_t keyEnd = i;
            while (keyEnd < end && IsKeyChar(m_text[keyEnd]))
                ++keyEnd;
            if (keyEnd < end && m_text[keyEnd] == ' ') {
                name.assign(m_text, i, std::min(keyEnd - i, MaxKeyLength));
                std::transform(name.begin(), name.end(), name.begin(), Lower);
                // The first line of a key wins.
                m_keys.emplace(name, KeyLine{i, keyEnd, end});
            }
            i = keyEnd - 1;
        }
        start = lines.NextLine(end);
    }
}

// The value starts after the space that ends the key and any run of spaces, "=" and tabs.
void PXDefinitionBlock::SetCursor(size_t keyStart, size_t keyEnd, size_t lineEnd) const
{
    size_t v = keyEnd + 1;
    while (v < lineEnd && (m_text[v] == ' ' || m_text[v] == '=' || m_text[v] == '\t'))
        ++v;
    m_keyStart = keyStart;
    m_lineEnd = lineEnd;
    m_valueStart = v;
    m_valueLength = lineEnd - v;
    m_found = true;
}

bool PXDefinitionBlock::ReadString(std::string* out) const
{
    if (!HasValue() || !out)
        return false;
    const char* v = m_text.data() + m_valueStart;
    size_t n = m_valueLength;
    if (n > 0 && v[0] == '"') {
        const char* close = std::find(v + 1, v + n, '"');
        n = static_cast<size_t>(close - (v + 1));
        ++v;
    }
    std::string text;
    text.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        char c = v[i];
        if (c == '\t')
            continue;
        if (c == '\\' && i + 1 < n && v[i + 1] == '\\') {
            text += '\\';
            ++i;
        } else if (c == '\\' && i + 1 < n && v[i + 1] == 'n') {
            text += "\r\n";
            ++i;
        } else {
            text += c;
        }
    }
    *out = std::move(text);
    return true;
}

bool PXDefinitionBlock::ReadInts(int* out, int count) const
{
    if (!HasValue() || !out)
        return false;
    ForEachField(m_text.data() + m_valueStart, m_valueLength, count,
                 [out](int index, const char* p, size_t n) { out[index] = ConvertInt(p, n); });
    return true;
}

bool PXDefinitionBlock::ReadFloats(float* out, int count) const
{
    if (!HasValue() || !out)
        return false;
    ForEachField(m_text.data() + m_valueStart, m_valueLength, count,
                 [out](int index, const char* p, size_t n) { out[index] = ConvertFloat(p, n); });
    return true;
}

bool PXDefinitionBlock::ReadColor(PXColor* out) const
{
    int rgba[4] = {0, 0, 0, 0};
    if (!out || !ReadInts(rgba, 4))
        return false;
    auto channel = [](int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
    out->red = channel(rgba[0]);
    out->green = channel(rgba[1]);
    out->blue = channel(rgba[2]);
    out->alpha = channel(rgba[3]);
    return true;
}

bool PXDefinitionBlock::ReadCharCode(char* ch, int* code) const
{
    if (!HasValue() || !ch || !code)
        return false;
    const char* v = m_text.data() + m_valueStart;
    size_t n = m_valueLength;
    size_t i = 0;
    while (i < n && static_cast<unsigned char>(v[i]) < 32)
        ++i;
    if (i + 1 < n && static_cast<unsigned char>(v[i]) == NoBreakSpace && v[i + 1] != ',')
        ++i;
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(v[i]) >= 32) {
            *ch = v[i];
            break;
        }
    }
    const char* comma = std::find(v, v + n, ',');
    if (comma != v + n) {
        size_t rest = static_cast<size_t>((v + n) - (comma + 1));
        *code = ConvertInt(comma + 1, std::min(rest, MaxCharCodeChars));
    }
    return true;
}

bool PXDefinitionBlock::ReadEntityRef(PXEntityRef* out) const
{
    if (!HasValue() || !out)
        return false;
    const char* v = m_text.data() + m_valueStart;
    std::string parts[2];
    int part = 0;
    for (size_t i = 0; i < m_valueLength; ++i) {
        char c = v[i];
        if (IsAlnum(c)) {
            parts[part] += c;
        } else if (c == ',') {
            if (part == 1 || parts[0].empty())
                return false;
            part = 1;
        } else if (c == '@') {
            if (part == 1 || !parts[0].empty())
                return false;
            return ReadInline(m_valueStart + i, out);
        }
    }
    if (parts[0].empty() || parts[1].empty())
        return false;
    out->className = std::move(parts[0]);
    out->typeName = std::move(parts[1]);
    return true;
}

// The inline text is what lies between the first "{" at or after the "@" and its matching
// "}", with the same comment rule as key lookup so that both agree on the depth.
bool PXDefinitionBlock::ReadInline(size_t at, PXEntityRef* out) const
{
    const std::string& t = m_text;
    size_t open = std::string::npos;
    long depth = 0;
    bool comment = false;
    for (size_t i = at; i < t.size(); ++i) {
        char c = t[i];
        if (IsLineEnd(c)) {
            comment = false;
        } else if (comment) {
            continue;
        } else if (c == '#') {
            comment = true;
        } else if (c == '{') {
            if (depth++ == 0 && open == std::string::npos)
                open = i;
        } else if (c == '}' && open != std::string::npos && --depth == 0) {
            PXDefinitionBlock inner;
            inner.LoadFromText(t.data() + open + 1, i - open - 1);
            const PXEntityRef* defined =
                g_entityRegistry ? g_entityRegistry->DefineType(inner, true) : nullptr;
            *out = defined ? *defined : PXEntityRef();
            return true;
        }
    }
    return false;
}
