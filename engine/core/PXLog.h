// The log file: lines appended to "log.txt" in the per-user data folder.
#pragma once

// Appends text as it stands (no line end is added). Does nothing while no settings
// manager is published or when the file cannot be opened.
void Log(const char* text);

// printf-style; the line is cut to fit its buffer and always ends in CR LF.
void LogF(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
