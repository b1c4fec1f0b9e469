// Engine side of the game object.
#include "engine/core/PXGame.h"

#include <ctime>

#include "engine/core/PXRandom.h"

PXGame::PXGame()
{
    GlobalRandom().Seed(static_cast<uint32_t>(std::time(nullptr)));
}

PXGame::~PXGame() = default;

void PXGame::Shutdown()
{
}

void PXGame::RequestQuit()
{
    m_quit = true;
}
