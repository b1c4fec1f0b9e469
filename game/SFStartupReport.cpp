// Start-up failures, reported once on every channel the player may be watching.
#include "game/SFStartupReport.h"

#include "engine/core/PXLog.h"
#include "engine/graphics/PXScreen.h"
#include "game/SFCommandLine.h"
#include "game/SFGame.h"

void SFReportStartupError(const std::string& text, std::FILE* err, SFMessageBoxFunction showBox)
{
    Log(("Startup failed: " + text + "\r\n").c_str());
    if (err != nullptr) {
        std::fprintf(err, "shardfall: %s\n", text.c_str());
        std::fflush(err);
    }
    if (showBox != nullptr) {
        showBox(SFStartupErrorTitle, text);
    }
}

int SFStartGame(SFGame& game, PXScreen& screen, const SFCommandLine& line, const std::string& dataFolder,
                SFMessageBoxFunction showBox)
{
    game.SetFullScreenOverride(line.fullScreen);
    LogF("Game data from %s", dataFolder.c_str());
    if (game.Start()) {
        return 0;
    }
    screen.Destroy();
    SFReportStartupError(game.GetStartError() + "\nGame data: " + dataFolder, stderr, showBox);
    game.RequestQuit();
    return SFExitStartFailed;
}
