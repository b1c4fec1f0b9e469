// The frame-rate text: an exponentially smoothed frame time shown through a safe formatter.
#include "engine/gui/PXEntity2DGUIFPSText.h"

#include <cmath>
#include <cstdio>

#include "engine/core/PXGlobals.h"

std::string PXFormatInt(const std::string& format, int value)
{
    std::string out;
    bool used = false;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out.push_back('%');
            i += 2;
            continue;
        }
        // %[flags][width]conversion, with the width kept to two digits.
        size_t j = i + 1;
        while (j < format.size() && std::string("-+ 0#").find(format[j]) != std::string::npos && j - i < 6)
            ++j;
        size_t digits = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && digits < 2) {
            ++j;
            ++digits;
        }
        const char conversion = j < format.size() ? format[j] : '\0';
        if (!used && conversion != '\0' && std::string("diuxX").find(conversion) != std::string::npos) {
            char buffer[64];
            const std::string spec = format.substr(i, j + 1 - i);
            std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
            out += buffer;
            used = true;
            i = j + 1;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

PXEntity2DGUIFPSTextType::PXEntity2DGUIFPSTextType(const PXDefinitionBlock* block)
    : PXEntity2DGUITextType(block)
{
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIFPSTextType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIFPSText>(this);
}

PXEntity2DGUIFPSText::PXEntity2DGUIFPSText(PXEntityBaseType* type) : PXEntity2DGUIText(type) {}

bool PXEntity2DGUIFPSText::Update(float elapsedMs)
{
    if (g_showFps) {
        m_average = m_average * 0.9375f + elapsedMs * 0.0625f;
        // No frame time yet means no rate to show rather than a division by zero.
        const float rate = m_average > 0.0f ? 1000.0f / m_average : 0.0f;
        const int value = std::isfinite(rate) && rate < 1.0e9f ? static_cast<int>(rate) : 0;
        Invalidate();
        ChangeText(PXFormatInt(TextType()->GetDefaultText(), value));
        Invalidate();
    } else {
        ChangeText(std::string());
    }
    return PXEntity2DGUIText::Update(elapsedMs);
}
