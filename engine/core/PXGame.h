// The game object's engine base: the quit and active flags and the frame entry points.
// The process entry owns the one game object; it lives for the whole run.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/PXEvent.h"

class PXGame {
public:
    // Seeds the shared random generator with the calendar time.
    PXGame();
    virtual ~PXGame();

    PXGame(const PXGame&) = delete;
    PXGame& operator=(const PXGame&) = delete;

    virtual int Initialise() = 0;
    virtual void RunFrame(PXEventQueue& queue) = 0;
    virtual void Shutdown();
    virtual void RequestQuit();
    // Asks for the scene of class `className` named `entityName` at the start of the
    // next frame; `style` picks the transition (-1: any).
    virtual void ChangeScene(const std::string& className, const std::string& entityName, int style) = 0;

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
    bool m_quit = false;
    bool m_inactive = false;
    uint32_t m_loadTotal = 0;
    uint32_t m_loadDone = 0;
};
