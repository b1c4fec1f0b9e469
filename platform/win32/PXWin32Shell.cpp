// ShellExecuteA behind OpenDocument.
#include "platform/win32/PXWin32Shell.h"

#include <windows.h>
#include <shellapi.h>

#include "engine/core/PXLog.h"

int PXWin32Shell::OpenDocument(const std::string& path)
{
    if (path.empty())
        return 0;
    // ShellExecuteA answers a value above 32 on success.
    HINSTANCE result = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<intptr_t>(result) <= 32) {
        LogF("OpenDocument - could not open %s", path.c_str());
        return 0;
    }
    return 1;
}
