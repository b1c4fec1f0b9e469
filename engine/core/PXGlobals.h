// The engine's process-wide objects and input state. The process entry creates the
// objects in order, publishes them here, and clears them as it destroys them; none of
// these pointers owns what it points to.
#pragma once

#include <cstdint>
#include <string>

class PXGame;
class PXScreen2D;
class PXFileSystem;
class PXResourceCache;
class PXSoundManager;
class PXSettingsManager;
class PXEntityRegistry;

extern PXGame* g_game;
extern PXScreen2D* g_screen;
extern PXFileSystem* g_fileSystem;
extern PXResourceCache* g_resources;
extern PXSoundManager* g_soundManager;
extern PXSettingsManager* g_settings;
extern PXEntityRegistry* g_entityRegistry;

// Last mouse position in frame pixels and the button flags, kept by the game's frame.
extern int32_t g_mouseX;
extern int32_t g_mouseY;
extern uint8_t g_leftButtonDown;
extern uint8_t g_rightButtonDown;

// Tuning values from "config.cfg" and the stored settings.
extern int32_t g_showFps;
extern int32_t g_keyRepeatDelay;
extern std::string g_lastHighScoreName;
// Set while a full-screen toggle is under way, so its deactivation is not taken as the
// player leaving the game.
extern uint8_t g_modeSwitching;
