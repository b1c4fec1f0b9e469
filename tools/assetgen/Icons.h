// The program's icon at the sizes desktops ask for: PNG files for the icon theme and one
// Windows ".ico" that holds them all (for the executable's icon resource).
#pragma once

#include <string>

// Writes shardfall-<size>.png for every size and shardfall.ico into `folder` (which must
// exist); 1 on success, 0 (with a message on stderr) on the first failure.
int WriteIcons(const std::string& folder);
