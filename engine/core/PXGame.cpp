// Engine side of the game object: random seeding, quit request and the songs.
#include "engine/core/PXGame.h"

#include <ctime>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXRandom.h"
#include "engine/files/PXResourceCache.h"
#include "engine/sound/PXSoundManager.h"

PXGame::PXGame()
{
    GlobalRandom().Seed(static_cast<uint32_t>(std::time(nullptr)));
}

PXGame::~PXGame() = default;

void PXGame::Shutdown()
{
    for (auto& [id, song] : m_songs) {
        if (song.voice >= 0 && g_soundManager != nullptr) {
            g_soundManager->StopChannel(static_cast<uint32_t>(song.voice));
        }
        if (song.sound != nullptr && g_resources != nullptr) {
            g_resources->ReleaseSound(song.sound);
        }
    }
    m_songs.clear();
    m_currentSong = -1;
}

void PXGame::RequestQuit()
{
    m_quit = true;
}

void PXGame::AddSong(const std::string& path, uint32_t songId)
{
    if (g_resources == nullptr) {
        return;
    }
    PXSoundEntry* sound = g_resources->AcquireSound(path);
    auto found = m_songs.find(songId);
    if (found != m_songs.end()) {
        // The earlier song of this id would otherwise be held until the end of the run.
        if (found->second.voice >= 0 && g_soundManager != nullptr) {
            g_soundManager->StopChannel(static_cast<uint32_t>(found->second.voice));
        }
        if (found->second.sound != nullptr) {
            g_resources->ReleaseSound(found->second.sound);
        }
        m_songs.erase(found);
    }
    m_songs[songId] = Song{sound, -1};
    if (m_pendingSong == static_cast<int64_t>(songId)) {
        m_pendingSong = -1;
        PlaySong(songId, m_pendingSongFadeMs);
    }
}

void PXGame::PlaySong(uint32_t songId, float fadeTime)
{
    auto found = m_songs.find(songId);
    if (found == m_songs.end()) {
        m_pendingSong = songId;
        m_pendingSongFadeMs = fadeTime;
        return;
    }
    m_pendingSong = -1;
    if (g_soundManager == nullptr) {
        return;
    }
    Song& song = found->second;
    if (song.voice < 0 && song.sound != nullptr) {
        uint32_t channel = 0;
        if (g_soundManager->CreateChannel(song.sound->soundId, channel, true)) {
            song.voice = channel;
            g_soundManager->SetChannelGroup(channel, PXSoundGroup::Music);
            g_soundManager->SetChannelVolume(channel, 0.0f);
        }
    }
    if (song.voice >= 0) {
        g_soundManager->FadeInChannel(static_cast<uint32_t>(song.voice), fadeTime);
    }
    m_currentSong = static_cast<int32_t>(songId);
}

void PXGame::StopSong(float fadeTime)
{
    m_pendingSong = -1;
    auto found = m_currentSong < 0 ? m_songs.end() : m_songs.find(static_cast<uint32_t>(m_currentSong));
    if (found == m_songs.end()) {
        return;
    }
    if (found->second.voice >= 0 && g_soundManager != nullptr) {
        g_soundManager->FadeOutChannel(static_cast<uint32_t>(found->second.voice), fadeTime);
    }
    found->second.voice = -1;
}

bool PXGame::IsSongPlaying() const
{
    auto found = m_currentSong < 0 ? m_songs.end() : m_songs.find(static_cast<uint32_t>(m_currentSong));
    return found != m_songs.end() && found->second.voice != -1;
}
