// Telling the player why the game cannot start: the same text in log.txt, on the error
// stream and, where the platform can show one, in a message box.
#pragma once

#include <cstdio>
#include <string>

// Shows `text` in a box titled `title` and waits for the player; false when no box could
// be shown.
using SFMessageBoxFunction = bool (*)(const std::string& title, const std::string& text);

// The title of the box; not the game window's, so the two are never mistaken.
constexpr const char* SFStartupErrorTitle = "Shardfall cannot start";

// Logs the text (when the settings store is published), writes it to `err` and then shows
// it with `showBox` (none: no box). The error stream comes first, as the box waits.
void SFReportStartupError(const std::string& text, std::FILE* err, SFMessageBoxFunction showBox);
