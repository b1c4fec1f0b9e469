// Registers the dialog classes and the name-entry scene with a registry under their class names.
#pragma once

class PXEntityRegistry;

// Registers, in this order: "PXDialogBox", "PXMessageBox", "PXVectorFrame", "PXDialogScene",
// "PXHighScoreInputScene". The plain dialog frame and the input box have no class name.
// False when any name was already registered.
bool PXRegisterDialogClasses(PXEntityRegistry& registry);
