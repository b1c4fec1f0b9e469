// The folder listing the directory file managers share: recursion into sub-folders and a
// listing order that never depends on the host file system's own order.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One match of a host folder search.
struct PXFolderEntry {
    std::string name;
    bool directory = false;
};

// Lists the matches of one host pattern ("<root>dir/*.ent"), "." and ".." left out.
using PXFolderSearch = std::function<std::vector<PXFolderEntry>(const std::string& hostPattern)>;

// Sorts by name without case, ties broken by the exact bytes, so listings (and the order in
// which archives are mounted) are the same on every host.
void PXSortFolderEntries(std::vector<PXFolderEntry>& entries);

// Appends prefix + name for every file matching `pattern` below `root`. Recursive listings
// first descend into every sub-folder (split at the pattern's last separator, never at its
// first character), joining names with `separator`.
void PXListMatchingFiles(const PXFolderSearch& search, const std::string& root, const std::string& pattern,
                         const std::string& prefix, bool recursive, char separator,
                         std::vector<std::string>& out);
