// The desktop opener on POSIX hosts: "xdg-open" started fully detached, and the folder the
// executable lives in.
#pragma once

#include <string>

// Starts "xdg-open <target>" (found through PATH) in a session of its own with its standard
// streams on /dev/null. Waits only until the opener has been exec'd, never for it to finish,
// and leaves no child behind. 1 when started; 0 (with a log line) when it could not be.
int PXPosixOpenDocument(const std::string& target);

// The folder of the running executable with a trailing '/', or "" when it cannot be read.
std::string PXPosixProgramFolder();

// Installs the opener as the engine's document handler and publishes the program folder.
void PXPosixInstallDocumentOpener();
