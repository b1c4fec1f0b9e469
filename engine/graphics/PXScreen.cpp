// The window-level operations every screen shares.
#include "engine/graphics/PXScreen.h"

bool PXScreen::ToggleFullScreen()
{
    PXScreenDesc desc;
    desc.width = static_cast<uint32_t>(m_width);
    desc.height = static_cast<uint32_t>(m_height);
    desc.pixelFormat.bitsPerPixel = m_pixelFormat.bitsPerPixel;
    desc.fullScreen = !m_fullScreen;
    // Copy the title: Create may replace m_title while reading it.
    const std::string title = m_title;
    Create(&desc, title.c_str());
    return desc.fullScreen == m_fullScreen;
}

uint32_t PXScreen::SetIcon(const PXBitmapDesc&)
{
    return 0;
}
