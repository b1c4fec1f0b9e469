// The display probe: the X server's extension list, through the window's own connection.
#include "platform/sdl/PXSDLDisplayProbe.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <initializer_list>

bool PXSDLDisplayProbe::MayRenderOnGraphicsCard(SDL_Window* window)
{
#if defined(SF_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
    if (window == nullptr) {
        return true;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11 ||
        info.info.x11.display == nullptr) {
        return true;
    }
    // Mesa's hardware drivers reach the card through DRI2 or DRI3; the vendor drivers
    // announce their own GLX.
    for (const char* extension : {"DRI3", "DRI2", "NV-GLX", "ATIFGLEXTENSION"}) {
        int opcode = 0;
        int firstEvent = 0;
        int firstError = 0;
        if (XQueryExtension(info.info.x11.display, extension, &opcode, &firstEvent, &firstError)) {
            return true;
        }
    }
    return false;
#else
    (void)window;
    return true;
#endif
}
