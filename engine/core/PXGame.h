// The game object's engine base: the quit and active flags, the frame entry points and
// the songs (looping sounds faded in and out by id).
// The process entry owns the one game object; it lives for the whole run.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/core/PXEvent.h"

class PXEntity2DScene;
struct PXSoundEntry;

class PXGame {
public:
    // Seeds the shared random generator with the calendar time.
    PXGame();
    virtual ~PXGame();

    PXGame(const PXGame&) = delete;
    PXGame& operator=(const PXGame&) = delete;

    virtual int Initialise() = 0;
    virtual void RunFrame(PXEventQueue& queue) = 0;
    // Releases every song.
    virtual void Shutdown();
    virtual void RequestQuit();
    // Asks for the scene of class `className` named `entityName` at the start of the
    // next frame; `style` picks the transition (-1: any).
    virtual void ChangeScene(const std::string& className, const std::string& entityName, int style) = 0;
    // The current scene, or none.
    virtual PXEntity2DScene* GetScene() const { return nullptr; }

    // Songs: a sound acquired through g_resources under an id, played on its own looping
    // channel in the Music sound group. Adding an id again replaces (and releases) the
    // earlier song. A song asked to play before it is added starts when it is added (unless
    // stopped in between), so a big song can be loaded after the first picture.
    void AddSong(const std::string& path, uint32_t songId);
    void PlaySong(uint32_t songId, float fadeTime);
    void StopSong(float fadeTime);
    bool IsSongPlaying() const;
    int32_t GetCurrentSong() const { return m_currentSong; }

    bool IsQuitRequested() const { return m_quit; }
    bool IsInactive() const { return m_inactive; }

    // Start-up loading progress: the registry sets the total and counts each defined file.
    void SetLoadProgress(uint32_t total, uint32_t done)
    {
        m_loadTotal = total;
        m_loadDone = done;
    }
    void AdvanceLoadProgress() { ++m_loadDone; }
    uint32_t GetLoadTotal() const { return m_loadTotal; }
    uint32_t GetLoadDone() const { return m_loadDone; }

protected:
    struct Song {
        PXSoundEntry* sound = nullptr;  // held through g_resources until Shutdown
        int64_t voice = -1;             // channel id, -1 while none
    };

    bool m_quit = false;
    bool m_inactive = false;
    std::map<uint32_t, Song> m_songs;
    int32_t m_currentSong = -1;
    int64_t m_pendingSong = -1;
    float m_pendingSongFadeMs = 0.0f;
    uint32_t m_loadTotal = 0;
    uint32_t m_loadDone = 0;
};
