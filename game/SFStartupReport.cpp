// Start-up failures, reported once on every channel the player may be watching.
#include "game/SFStartupReport.h"

#include "engine/core/PXLog.h"

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
