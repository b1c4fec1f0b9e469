// The program's command line, shared by every platform's process entry: the options, the
// usage and version texts, and what the entry does before the game starts.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Exit codes of the process beside 0.
constexpr int SFExitStartFailed = 1;
constexpr int SFExitUsage = 2;

struct SFCommandLine {
    enum class Action { Play, Help, Version, Usage };

    Action action = Action::Play;
    // -1 keeps the saved mode; 0 windowed, 1 full screen for this start.
    int32_t fullScreen = -1;
    // The folder named by --data; empty when none was.
    std::string dataFolder;
    // Why the line was refused (Action::Usage).
    std::string problem;
};

// Reads the arguments after the program name. A later --windowed or --fullscreen wins over
// an earlier one; anything unknown, or --data without a folder, gives Action::Usage.
SFCommandLine SFParseCommandLine(const std::vector<std::string>& args);

// "Shardfall <version>".
std::string SFVersionText();
// The options, one a line, for --help and after a refused line.
std::string SFUsageText();

// Answers --help and --version on `out` and a refused line on `err`, and gives the exit
// code; -1 when the game is to start.
int SFAnswerCommandLine(const SFCommandLine& line, std::FILE* out, std::FILE* err);
