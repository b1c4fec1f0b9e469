// The installed document handler and the program folder it resolves bundled files against.
#include "engine/core/PXOpenDocument.h"

#include "engine/core/PXLog.h"

namespace {

PXDocumentHandler s_handler = nullptr;

std::string& ProgramFolder()
{
    static std::string folder;
    return folder;
}

}  // namespace

PXDocumentHandler SetDocumentHandler(PXDocumentHandler handler)
{
    PXDocumentHandler previous = s_handler;
    s_handler = handler;
    return previous;
}

PXDocumentHandler GetDocumentHandler()
{
    return s_handler;
}

void SetProgramFolder(const std::string& folder)
{
    ProgramFolder() = folder;
}

const std::string& GetProgramFolder()
{
    return ProgramFolder();
}

int OpenDocument(const std::string& target)
{
    if (s_handler == nullptr) {
        LogF("OpenDocument: no opener installed for %s", target.c_str());
        return 0;
    }
    return s_handler(target);
}
