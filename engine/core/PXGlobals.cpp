// Definitions of the engine's process-wide objects and input state.
#include "engine/core/PXGlobals.h"

PXGame* g_game = nullptr;
PXScreen2D* g_screen = nullptr;
PXFileSystem* g_fileSystem = nullptr;
PXResourceCache* g_resources = nullptr;
PXSoundManager* g_soundManager = nullptr;
PXSettingsManager* g_settings = nullptr;
PXEntityRegistry* g_entityRegistry = nullptr;

int32_t g_mouseX = 0;
int32_t g_mouseY = 0;
uint8_t g_leftButtonDown = 0;
uint8_t g_rightButtonDown = 0;

int32_t g_showFps = 0;
int32_t g_keyRepeatDelay = 120;
std::string g_lastHighScoreName;
uint8_t g_modeSwitching = 0;
