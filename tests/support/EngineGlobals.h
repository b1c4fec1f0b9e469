// Publishing a harness's engine objects as the globals (tests, benchmarks and fuzz targets
// build their own instead of running the application shell), and clearing them again
// before those objects go, so that no later case meets a dangling global.
#pragma once

#include "engine/core/PXGlobals.h"

// The objects in the order of the globals; a null one publishes as null.
struct EngineObjects {
    PXGame* game = nullptr;
    PXScreen2D* screen = nullptr;
    PXFileSystem* fileSystem = nullptr;
    PXResourceCache* resources = nullptr;
    PXSoundManager* soundManager = nullptr;
    PXSettingsManager* settings = nullptr;
    PXEntityRegistry* entityRegistry = nullptr;
};

inline void PublishEngineObjects(const EngineObjects& objects)
{
    g_game = objects.game;
    g_screen = objects.screen;
    g_fileSystem = objects.fileSystem;
    g_resources = objects.resources;
    g_soundManager = objects.soundManager;
    g_settings = objects.settings;
    g_entityRegistry = objects.entityRegistry;
}

inline void ClearEngineGlobals()
{
    PublishEngineObjects(EngineObjects());
}
