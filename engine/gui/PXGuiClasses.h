// Registers every GUI element class of this folder with a registry under its class name.
#pragma once

class PXEntityRegistry;

// Registers, in this order: "2DGUIElement", "sprite", "scrollingsprite", "animsprite", "font",
// "text", "MultiText", "FPSText", "button", "togglebutton", "PFire", "ListBox", "slider". The start-up
// registers "2DScene" itself (between "2DGUIElement" and "sprite" in its own list); nothing
// depends on the relative order. False when any name was already registered.
bool PXRegisterGuiClasses(PXEntityRegistry& registry);
