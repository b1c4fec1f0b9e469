// Counts what the recording audio device played of one sound, told apart by its size.
#pragma once

#include <cstddef>

#include "engine/sound/PXRecordingAudioDevice.h"

// How many times voices were started on the buffers of `bytes` bytes.
inline int RecordedPlays(const PXRecordingAudioDevice& device, size_t bytes)
{
    int plays = 0;
    for (const auto& voice : device.Voices()) {
        for (const auto& buffer : device.Buffers()) {
            if (buffer->id == voice->bufferId && buffer->size == bytes)
                plays += voice->playCalls;
        }
    }
    return plays;
}
