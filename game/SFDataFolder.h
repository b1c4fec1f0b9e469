// Where the game's data lies. The working folder never counts: a launcher or a shell may
// start the program from anywhere. The places, in order: the folder named on the command
// line or in SHARDFALL_DATA, the executable's own folder, then the installed data folder
// (first as seen from the executable, so a moved or unpacked install tree still works,
// then where the build's install prefix put it).
#pragma once

#include <string>
#include <vector>

struct SFDataPlace {
    std::string folder;  // with a trailing separator
    std::string what;    // how the place was chosen, for messages
};

struct SFDataSources {
    std::string optionFolder;       // --data DIR, or empty
    std::string environmentFolder;  // SHARDFALL_DATA, or empty
    std::string programFolder;      // the executable's folder, or empty when unknown
    std::string installedRelative;  // the installed data folder relative to the executable's
    std::string installedAbsolute;  // the installed data folder as the build configured it
};

// The places to look, in order, without empty or repeated ones.
std::vector<SFDataPlace> SFDataPlaces(const SFDataSources& sources);

// True when `folder` holds the packed data ("Shardfall.pxa") or the loose "Shardfall" tree.
bool SFHoldsGameData(const std::string& folder);

// The first place holding the data: 1 and `found` set, else 0.
int SFFindDataFolder(const std::vector<SFDataPlace>& places, std::string& found);

// What a player reads when no place holds the data: the places tried, one a line.
std::string SFNoDataMessage(const std::vector<SFDataPlace>& places);

// The whole search for a process entry: the command line's folder, SHARDFALL_DATA from the
// environment, then the program's and the installed places. The folder found, or "" with
// `problem` set to the message for the player.
std::string SFLocateGameData(const std::string& optionFolder, const std::string& programFolder,
                             const std::string& installedRelative, const std::string& installedAbsolute,
                             std::string& problem);
