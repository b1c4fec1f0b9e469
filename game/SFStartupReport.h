// Telling the player why the game cannot start: the same text in log.txt, on the error
// stream and, where the platform can show one, in a message box.
#pragma once

#include <cstdio>
#include <string>

class PXScreen;
class SFGame;
struct SFCommandLine;

// Shows `text` in a box titled `title` and waits for the player; false when no box could
// be shown.
using SFMessageBoxFunction = bool (*)(const std::string& title, const std::string& text);

// The title of the box; not the game window's, so the two are never mistaken.
constexpr const char* SFStartupErrorTitle = "Shardfall cannot start";

// Logs the text (when the settings store is published), writes it to `err` and then shows
// it with `showBox` (none: no box). The error stream comes first, as the box waits.
void SFReportStartupError(const std::string& text, std::FILE* err, SFMessageBoxFunction showBox);

// Starts `game` (already published with its engine objects) on the data in `dataFolder`
// with the command line's mode: 0 when it runs. Otherwise the window is closed first, so no
// empty window stays behind the message, the failure is reported and the game asked to
// quit; the result is then SFExitStartFailed.
int SFStartGame(SFGame& game, PXScreen& screen, const SFCommandLine& line, const std::string& dataFolder,
                SFMessageBoxFunction showBox);
