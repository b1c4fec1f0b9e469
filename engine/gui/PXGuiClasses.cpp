// The static prototypes of the GUI element classes and their registration.
#include "engine/gui/PXGuiClasses.h"

#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIElement.h"

namespace {
PXEntity2DGUIElementPrototype s_elementPrototype;
}  // namespace

bool PXRegisterGuiClasses(PXEntityRegistry& registry)
{
    struct Entry {
        PXEntityTypePrototype* prototype;
        const char* className;
    };
    const Entry entries[] = {
        {&s_elementPrototype, "2DGUIElement"},
    };
    bool ok = true;
    for (const Entry& e : entries)
        ok = registry.RegisterPrototype(e.prototype, e.className) && ok;
    return ok;
}
