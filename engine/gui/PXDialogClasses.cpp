// The static prototypes of the dialog classes and their registration.
#include "engine/gui/PXDialogClasses.h"

#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntityDialogBox.h"
#include "engine/gui/PXEntityDialogScene.h"
#include "engine/gui/PXEntityHighScoreInputScene.h"
#include "engine/gui/PXEntityMessageBox.h"
#include "engine/gui/PXEntityVectorFrame.h"

namespace {
PXEntityDialogBoxPrototype s_dialogBoxPrototype;
PXEntityMessageBoxPrototype s_messageBoxPrototype;
PXEntityVectorFramePrototype s_vectorFramePrototype;
PXEntityDialogScenePrototype s_dialogScenePrototype;
PXEntityHighScoreInputScenePrototype s_highScoreInputScenePrototype;
}  // namespace

bool PXRegisterDialogClasses(PXEntityRegistry& registry)
{
    return registry.RegisterPrototypes({
        {&s_dialogBoxPrototype, "PXDialogBox"},
        {&s_messageBoxPrototype, "PXMessageBox"},
        {&s_vectorFramePrototype, "PXVectorFrame"},
        {&s_dialogScenePrototype, "PXDialogScene"},
        {&s_highScoreInputScenePrototype, "PXHighScoreInputScene"},
    });
}
