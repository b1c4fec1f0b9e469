// The game object's engine base: the quit and active flags and the frame entry points.
// The process entry owns the one game object; it lives for the whole run.
#pragma once

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

protected:
    bool m_quit = false;
    bool m_inactive = false;
};
