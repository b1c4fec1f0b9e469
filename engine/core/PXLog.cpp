// Log file writer. The folder comes from the settings manager; without one nothing is written.
#include "engine/core/PXLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/settings/PXSettingsManager.h"

namespace {

constexpr size_t LogBufferSize = 4096;

void AppendToLogFile(const char* text, size_t length)
{
    if (!g_settings || length == 0)
        return;
    std::string path = g_settings->GetUserDataFolder("") + "log.txt";
    // Binary append: the CR LF line ends are written as they are on every host.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return;
    std::fwrite(text, 1, length, file);
    std::fclose(file);
}

}  // namespace

void Log(const char* text)
{
    if (text)
        AppendToLogFile(text, std::strlen(text));
}

void LogF(const char* format, ...)
{
    // On the stack: the game logs from its loading thread too.
    char buffer[LogBufferSize];
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, LogBufferSize - 2, format, args);
    va_end(args);
    size_t length = 0;
    if (written > 0)
        length = std::min(static_cast<size_t>(written), LogBufferSize - 3);
    buffer[length++] = '\r';
    buffer[length++] = '\n';
    buffer[length] = '\0';
    AppendToLogFile(buffer, length);
}
