// The fire element: reading its keys, loading the burn image, refusing sizes the simulation
// cannot run at, and driving the simulation from Update and Draw.
#include "engine/gui/PXEntity2DGUIPFire.h"

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUISprite.h"

PXEntity2DGUIPFireType::PXEntity2DGUIPFireType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadInt(block, "Width", &m_settings.width);
    ReadInt(block, "Height", &m_settings.height);
    ReadInt(block, "NumParticles", &m_settings.particleCount);
    ReadFlag(block, "Transparent", &m_settings.transparent, m_settings.transparent);
    // Without the key the scheme is the orange-yellow one (any value other than 1 to 4).
    ReadInt(block, "ColorScheme", &m_settings.colorScheme);
    ReadInt(block, "FlameHalf", &m_settings.flameHalf);
    ReadInt(block, "GravTime", &m_settings.gravTime);
    ReadFloat(block, "Gravity", &m_settings.gravity);
    ReadInt(block, "RandEffectChance", &m_settings.effectChance);
    ReadFloat(block, "KickStrength", &m_settings.kickStrength);
    ReadFloat(block, "BounceEnergy", &m_settings.bounceEnergy);
    ReadInt(block, "BurnFade", &m_settings.burnFade);
    ReadFlag(block, "BurnEdges", &m_settings.burnEdges, m_settings.burnEdges);
    ReadText(block, "BurnImage", &m_burnImageName);
}

PXEntity2DGUIPFireType::~PXEntity2DGUIPFireType()
{
    PXEntity2DGUIPFireType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIPFireType::CreateEntity()
{
    if (!PXFireSimulation::IsValidSize(m_settings.width, m_settings.height)) {
        LogF("%s - fire size %d x %d refused.\n", m_ref.typeName.c_str(), static_cast<int>(m_settings.width),
             static_cast<int>(m_settings.height));
        return nullptr;
    }
    auto fire = std::make_unique<PXEntity2DGUIPFire>(this);
    if (!fire->Simulation().IsReady())
        return nullptr;
    return fire;
}

bool PXEntity2DGUIPFireType::Load(bool reload)
{
    if (reload)
        Unload();
    if (m_loaded)
        return true;
    // A missing or unreadable file, or one that is not 8 bits per pixel, leaves no burn image.
    m_burnImage = PXReadAlphaMask(m_burnImageName);
    m_loaded = true;
    return true;
}

bool PXEntity2DGUIPFireType::Unload()
{
    m_burnImage.reset();
    m_loaded = false;
    return true;
}

PXEntity2DGUIPFire::PXEntity2DGUIPFire(PXEntity2DGUIPFireType* type) : PXEntity2DGUIElement(type)
{
    const PXFireSettings& settings = type->GetSettings();
    if (m_sim.Init(settings)) {
        m_width = settings.width;
        m_height = settings.height;
    }
}

bool PXEntity2DGUIPFire::Update(float elapsedMs)
{
    if (!(elapsedMs > 0.0f))
        return true;
    // Particles live in the fire's own coordinates, so the mouse is made relative to it.
    m_sim.Step(elapsedMs, g_mouseX - m_x, g_mouseY - m_y);
    Invalidate();
    return true;
}

bool PXEntity2DGUIPFire::Draw()
{
    if (!m_sim.IsReady())
        return false;
    FireType()->Load(false);
    if (g_screen)
        m_sim.BuildPixelTable(g_screen->GetPixelFormat());
    if (const PXBitmapDesc* burn = FireType()->GetBurnImage())
        m_sim.StampBurnImage(*burn);
    m_sim.DrawStreaks();
    m_sim.FeedEdge();
    m_sim.Propagate();
    // A frame that will not be shown needs no picture of the fire; the next one draws it.
    if (!g_screen || g_screen->IsDrawingHeld())
        return true;
    PXSurfaceDesc surface;
    if (g_screen->LockScreen(&surface) == 1) {
        m_sim.Render(surface, m_x, m_y);
        g_screen->UnlockScreen();
    }
    return true;
}

void PXEntity2DGUIPFire::Invalidate()
{
    if (!g_screen || !m_sim.IsReady())
        return;
    g_screen->InvalidateRect(PXRect{m_x, m_x + m_width, m_y, m_y + m_height}, false);
}
