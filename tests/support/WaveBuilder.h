// Builds WAV files chunk by chunk, including ones that lie about their sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class WaveBuilder {
public:
    // A "fmt " chunk (PCM unless `tag` says otherwise); `extra` follows the 16 bytes.
    WaveBuilder& Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1,
                        const std::vector<uint8_t>& extra = {})
    {
        uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        std::vector<uint8_t> body;
        Put16(body, tag);
        Put16(body, channels);
        Put32(body, rate);
        Put32(body, rate * align);
        Put16(body, align);
        Put16(body, bits);
        body.insert(body.end(), extra.begin(), extra.end());
        return Chunk("fmt ", body);
    }
    WaveBuilder& Data(const std::vector<uint8_t>& samples) { return Chunk("data", samples); }
    // A chunk whose size field is its body's length, followed by a pad byte when odd.
    WaveBuilder& Chunk(const std::string& tag, const std::vector<uint8_t>& body)
    {
        return RawChunk(tag, static_cast<uint32_t>(body.size()), body, body.size() % 2 == 1);
    }
    // A chunk whose size field says `declared`, whatever the body holds.
    WaveBuilder& RawChunk(const std::string& tag, uint32_t declared, const std::vector<uint8_t>& body,
                          bool padByte)
    {
        m_body.insert(m_body.end(), tag.begin(), tag.end());
        Put32(m_body, declared);
        m_body.insert(m_body.end(), body.begin(), body.end());
        if (padByte)
            m_body.push_back(0);
        return *this;
    }
    // The RIFF size field; by default it covers everything after it.
    WaveBuilder& RiffSize(uint32_t size)
    {
        m_riffSize = size;
        m_riffSizeSet = true;
        return *this;
    }
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
        Put32(out, m_riffSizeSet ? m_riffSize : static_cast<uint32_t>(4 + m_body.size()));
        out.insert(out.end(), {'W', 'A', 'V', 'E'});
        out.insert(out.end(), m_body.begin(), m_body.end());
        return out;
    }

    static void Put16(std::vector<uint8_t>& out, uint16_t v)
    {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    }
    static void Put32(std::vector<uint8_t>& out, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }

private:
    std::vector<uint8_t> m_body;
    uint32_t m_riffSize = 0;
    bool m_riffSizeSet = false;
};
