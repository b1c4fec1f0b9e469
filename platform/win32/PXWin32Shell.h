// Hands documents and addresses to the desktop's opener.
#pragma once

#include <string>

class PXWin32Shell {
public:
    // Opens `path` (a file or an address) with the shell's "open" verb, without waiting.
    // 1 when the shell took it; a failure is logged and answers 0.
    static int OpenDocument(const std::string& path);
};
