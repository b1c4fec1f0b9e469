// The audio device on OpenAL Soft: a sound is an AL buffer, a channel a source on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/sound/PXAudioDevice.h"

// The ALC handle types, as the OpenAL headers name them.
struct ALCdevice_struct;
struct ALCcontext_struct;

class PXOpenALAudioDevice : public PXAudioDevice {
public:
    // The named output, or the system's default one when `deviceName` is empty.
    explicit PXOpenALAudioDevice(std::string deviceName = "");
    ~PXOpenALAudioDevice() override;
    PXOpenALAudioDevice(const PXOpenALAudioDevice&) = delete;
    PXOpenALAudioDevice& operator=(const PXOpenALAudioDevice&) = delete;

    // A device that mixes only when asked (Render): exact and independent of time, for
    // tests and tools. Stereo 16-bit at `sampleRate`.
    static std::unique_ptr<PXOpenALAudioDevice> CreateLoopback(int sampleRate);

    bool Open() override;
    std::unique_ptr<PXAudioBuffer> CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                bool preferStatic) override;

    // Loopback devices only: mixes `frames` interleaved stereo frames into `out`.
    bool Render(int16_t* out, int frames);

    // The source angle, in radians from straight ahead (positive to the right), that
    // gives a mono source the left/right attenuation of `pan` (hundredths of a decibel,
    // negative attenuates the right). `loudGain` receives the gain OpenAL Soft's
    // stereo panning leaves on the louder side at that angle.
    static double AngleForPan(int32_t pan, double& loudGain);

private:
    bool OpenLoopback();
    void Close();

    std::string m_deviceName;
    bool m_loopback = false;
    int m_loopbackRate = 0;
    ALCdevice_struct* m_device = nullptr;
    ALCcontext_struct* m_context = nullptr;
    bool m_directChannels = false;
};
