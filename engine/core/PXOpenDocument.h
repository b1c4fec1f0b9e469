// Opening a document or web address with the desktop's own viewer. The engine only holds
// the handler; the platform installs one at start-up (and says where the program's bundled
// documents lie), tests install a recording one.
#pragma once

#include <string>

// Starts the viewer for `target` (an absolute path or an address) without waiting for it;
// 1 when it was started, 0 when not.
using PXDocumentHandler = int (*)(const std::string& target);

// Installs the handler (none removes it) and returns the one it replaces.
PXDocumentHandler SetDocumentHandler(PXDocumentHandler handler);
PXDocumentHandler GetDocumentHandler();

// The folder that holds the program and its loose data, with a trailing '/'; empty while
// the platform has not said.
void SetProgramFolder(const std::string& folder);
const std::string& GetProgramFolder();

// Hands `target` to the installed handler and returns its answer; without a handler the
// request is logged and 0 returned.
int OpenDocument(const std::string& target);
