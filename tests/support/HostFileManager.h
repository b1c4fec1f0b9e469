// The host's own file manager for tests that serve a temporary folder, and the spelling
// its recursive listings give names in sub-folders.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "engine/files/PXFileManager.h"
#ifdef _WIN32
#include "platform/win32/PXWin32FileManager.h"
using HostFileManager = PXWin32FileManager;
// Recursive listings join a sub-folder and its entries with this.
constexpr char kHostListSeparator = '\\';
#else
#include "platform/posix/PXPosixFileManager.h"
using HostFileManager = PXPosixFileManager;
constexpr char kHostListSeparator = '/';
#endif

inline std::unique_ptr<PXFileManager> MakeHostFileManager()
{
    return std::make_unique<HostFileManager>();
}

// `path`, written with '/', as the host manager's recursive listing names it.
inline std::string HostListedName(std::string path)
{
    std::replace(path.begin(), path.end(), '/', kHostListSeparator);
    return path;
}
