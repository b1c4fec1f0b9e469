// The audio device on OpenAL Soft: a sound is an AL buffer, a channel a source on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

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

    // Starts opening the output on a thread of its own, so that it overlaps whatever the
    // program does next (making its window); Open then waits for it. Nothing for a loopback
    // device or one already opening or open.
    void BeginOpen();
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
    // The output device and its context, not yet made current.
    void OpenOutput();
    void Close();

    std::string m_deviceName;
    bool m_loopback = false;
    int m_loopbackRate = 0;
    ALCdevice_struct* m_device = nullptr;
    ALCcontext_struct* m_context = nullptr;
    bool m_directChannels = false;
    // BeginOpen's thread; it alone touches m_device and m_context until it is joined.
    std::thread m_opening;
    // Whether BeginOpen's attempt has been made (a failed one is not repeated by Open).
    bool m_openedAhead = false;
    bool m_open = false;
};
