// The data-folder search.
#include "game/SFDataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string WithSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') {
        return folder;
    }
    return folder + "/";
}

// A place as a person reads it: "bin/../share/shardfall/" becomes "share/shardfall/".
std::string Readable(const std::string& folder)
{
    return std::filesystem::path(folder).lexically_normal().generic_string();
}

}  // namespace

std::vector<SFDataPlace> SFDataPlaces(const SFDataSources& sources)
{
    std::vector<SFDataPlace> places;
    auto add = [&places](const std::string& folder, const std::string& what) {
        if (folder.empty()) {
            return;
        }
        const std::string normal = Readable(WithSeparator(folder));
        for (const SFDataPlace& place : places) {
            if (place.folder == normal) {
                return;
            }
        }
        places.push_back({normal, what});
    };
    add(sources.optionFolder, "named by --data");
    add(sources.environmentFolder, "named by SHARDFALL_DATA");
    add(sources.programFolder, "beside the program");
    if (!sources.programFolder.empty() && !sources.installedRelative.empty()) {
        add(WithSeparator(sources.programFolder) + sources.installedRelative, "installed data folder");
    }
    add(sources.installedAbsolute, "installed data folder");
    return places;
}

bool SFHoldsGameData(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::path base(folder);
    return std::filesystem::is_regular_file(base / "Shardfall.pxa", error) ||
           std::filesystem::is_directory(base / "Shardfall", error);
}

int SFFindDataFolder(const std::vector<SFDataPlace>& places, std::string& found)
{
    for (const SFDataPlace& place : places) {
        if (SFHoldsGameData(place.folder)) {
            found = place.folder;
            return 1;
        }
    }
    return 0;
}

std::string SFNoDataMessage(const std::vector<SFDataPlace>& places)
{
    std::string text = "The game data (Shardfall.pxa or a Shardfall folder) was not found. Looked in:";
    for (const SFDataPlace& place : places) {
        text += "\n  " + place.folder + " (" + place.what + ")";
    }
    if (places.empty()) {
        text += "\n  (no folder: the program's own location is unknown)";
    }
    text += "\nReinstall the game, or name the data folder with --data DIR.";
    return text;
}

std::string SFLocateGameData(const std::string& optionFolder, const std::string& programFolder,
                             const std::string& installedRelative, const std::string& installedAbsolute,
                             std::string& problem)
{
    SFDataSources sources;
    sources.optionFolder = optionFolder;
    const char* environment = std::getenv("SHARDFALL_DATA");
    sources.environmentFolder = environment != nullptr ? environment : "";
    sources.programFolder = programFolder;
    sources.installedRelative = installedRelative;
    sources.installedAbsolute = installedAbsolute;
    const std::vector<SFDataPlace> places = SFDataPlaces(sources);
    std::string folder;
    if (!SFFindDataFolder(places, folder)) {
        problem = SFNoDataMessage(places);
    }
    return folder;
}
