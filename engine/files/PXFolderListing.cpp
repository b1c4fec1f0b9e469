// Recursive, deterministic folder listings for the directory file managers.
#include "engine/files/PXFolderListing.h"

#include <algorithm>
#include <cctype>

namespace {

int CompareWithoutCase(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

void PXSortFolderEntries(std::vector<PXFolderEntry>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const PXFolderEntry& a, const PXFolderEntry& b) {
        const int order = CompareWithoutCase(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
}

void PXListMatchingFiles(const PXFolderSearch& search, const std::string& root, const std::string& pattern,
                         const std::string& prefix, bool recursive, char separator,
                         std::vector<std::string>& out)
{
    if (recursive) {
        size_t split = std::string::npos;
        for (size_t i = pattern.size(); i-- > 1;) {
            if (pattern[i] == '/' || pattern[i] == '\\' || pattern[i] == ':') {
                split = i;
                break;
            }
        }
        const std::string folder = split == std::string::npos ? std::string() : pattern.substr(0, split + 1);
        const std::string file = split == std::string::npos ? pattern : pattern.substr(split + 1);
        for (const PXFolderEntry& entry : search(root + folder + "*.*")) {
            if (entry.directory)
                PXListMatchingFiles(search, root, folder + entry.name + separator + file,
                                    prefix + entry.name + separator, recursive, separator, out);
        }
    }
    for (const PXFolderEntry& entry : search(root + pattern))
        out.push_back(prefix + entry.name);
}
