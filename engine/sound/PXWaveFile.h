// Parser for PCM RIFF/WAVE files held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/sound/PXAudioDevice.h"

struct PXWaveData {
    PXWaveFormat format;
    // The samples: `dataSize` bytes from `dataOffset`, all inside the parsed bytes.
    size_t dataOffset = 0;
    uint32_t dataSize = 0;
    // The data size rounded up to even: the chunk's pad byte belongs to the sound.
    uint32_t bufferSize = 0;
};

// Lowest and highest sample rates a sound may have.
constexpr uint32_t PXWaveMinRate = 100;
constexpr uint32_t PXWaveMaxRate = 200000;

// 1 when `bytes` hold a RIFF/WAVE file whose "fmt " chunk (before the first non-empty
// "data" chunk) describes 8- or 16-bit PCM, mono or stereo, at a sample rate within
// limits, and whose data lies within the bytes; else 0, and `why` (when given) gets a
// short text saying what was refused. The extensible format counts as PCM when its
// sub-format is plain PCM; `out` then holds it as a plain PCM format.
int PXParseWave(const uint8_t* bytes, size_t size, PXWaveData& out, const char** why = nullptr);
