// What the display a window lies on can do, asked of the display server itself (cheap:
// no graphics driver is loaded to find out).
#pragma once

struct SDL_Window;

class PXSDLDisplayProbe {
public:
    // False when the window is on an X server that offers no direct rendering to a graphics
    // card (no DRI2, DRI3 or vendor GLX extension, as on a virtual frame-buffer server or
    // most remote displays): an OpenGL context there is always rasterised on the processor.
    // True otherwise, and whenever the display cannot be asked.
    static bool MayRenderOnGraphicsCard(SDL_Window* window);
};
