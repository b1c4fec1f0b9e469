// The audio back end the sound manager plays through: PCM buffers, one per sound, and
// voices that play a buffer on a channel. A voice refers to its buffer, so every voice
// of a buffer is destroyed before the buffer, and every buffer before its device.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>

// The 16 bytes of a WAV "fmt " chunk.
struct PXWaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

// Why a buffer could not be filled.
enum class PXAudioResult {
    Ok,
    BufferLost,
    PriorityLevelNeeded,
    InvalidParam,
    InvalidCall,
    Unknown,
};

// One channel's playing copy of a buffer. Volume and pan are in hundredths of a decibel:
// volume -10000 (silent) .. 0 (full); pan -10000 (right silent) .. 10000 (left silent).
class PXAudioVoice {
public:
    virtual ~PXAudioVoice() = default;

    // Starts from the current position, or keeps playing and only changes the loop flag.
    virtual void Play(bool loop) = 0;
    // Halts and keeps the position, so a later Play resumes.
    virtual void Stop() = 0;
    // True while playing once or looping.
    virtual bool IsPlaying() = 0;
    // Play position in bytes from the start of the buffer.
    virtual uint32_t GetPosition() = 0;
    virtual void SetPosition(uint32_t bytes) = 0;
    virtual void SetVolume(int32_t hundredthsOfDb) = 0;
    virtual void SetPan(int32_t hundredthsOfDb) = 0;
    // Playback rate in samples per second; starts at the buffer's sample rate.
    virtual uint32_t GetFrequency() = 0;
    virtual void SetFrequency(uint32_t hz) = 0;
};

class PXAudioBuffer {
public:
    virtual ~PXAudioBuffer() = default;

    // Copies `size` bytes (the buffer's whole size) of samples in.
    virtual PXAudioResult Fill(const uint8_t* data, uint32_t size) = 0;
    // A new voice on this buffer, or nullptr when the back end has none left.
    virtual std::unique_ptr<PXAudioVoice> CreateVoice() = 0;
};

class PXAudioDevice {
public:
    virtual ~PXAudioDevice() = default;

    // Opens the output; false when there is none (the game then runs silent).
    virtual bool Open() = 0;
    // A buffer of `size` bytes in `format`, or nullptr. `preferStatic` asks for memory
    // that suits sounds loaded once and played often; a back end may ignore it.
    virtual std::unique_ptr<PXAudioBuffer> CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                        bool preferStatic) = 0;
};

// How a voice that plays nothing keeps time: moves `position` (bytes from the start of a
// buffer of `size` bytes) on by `milliseconds` at `frequency` blocks of `blockAlign` bytes
// a second. A looping voice wraps; a one-shot voice that reaches the end goes back to 0
// and the answer is false (it stopped).
inline bool PXAdvancePlayPosition(double& position, double milliseconds, uint32_t frequency, uint16_t blockAlign,
                                  double size, bool looping)
{
    position += milliseconds / 1000.0 * frequency * blockAlign;
    if (position < size)
        return true;
    if (looping && size > 0) {
        position = std::fmod(position, size);
        return true;
    }
    position = 0.0;
    return false;
}
