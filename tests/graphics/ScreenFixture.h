// A small headless screen with padded rows, and helpers to place hand-made images on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/graphics/PXMemoryScreen2D.h"

// 5-5-5 pixel from 5-bit channel values.
constexpr uint16_t Px(uint32_t r, uint32_t g, uint32_t b)
{
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}

constexpr uint16_t White = 0x7FFF;

class ScreenTest : public ::testing::Test {
protected:
    static constexpr int32_t W = 16;
    static constexpr int32_t H = 12;

    // Padded rows catch loops that step by width instead of pitch.
    ScreenTest() : screen(nullptr, 6) {}

    void SetUp() override
    {
        PXScreenDesc desc;
        desc.width = W;
        desc.height = H;
        desc.pixelFormat.bitsPerPixel = 16;
        ASSERT_EQ(1u, screen.Create(&desc, "test"));
        // Create clears and invalidates everything; keep the whole screen drawable.
    }

    uint32_t AddImage(uint32_t w, uint32_t h, std::vector<uint16_t> pixels, int32_t originX = 0,
                      int32_t originY = 0)
    {
        auto image = std::make_unique<PXImage>();
        image->width = w;
        image->height = h;
        image->pixels = std::move(pixels);
        image->originX = originX;
        image->originY = originY;
        uint32_t id = 0;
        EXPECT_EQ(1u, screen.AddImage(std::move(image), &id));
        return id;
    }

    PXImage* Image(uint32_t id)
    {
        PXImage* image = nullptr;
        EXPECT_EQ(1u, screen.GetImage(id, &image));
        return image;
    }

    void FillScreen(uint16_t value)
    {
        for (int32_t y = 0; y < H; ++y) {
            for (int32_t x = 0; x < W; ++x) {
                screen.SetPixel(x, y, value);
            }
        }
    }

    // The frame as rows of pixels, for whole-picture comparisons.
    std::vector<uint16_t> Frame() const
    {
        std::vector<uint16_t> out;
        for (int32_t y = 0; y < H; ++y) {
            for (int32_t x = 0; x < W; ++x) {
                out.push_back(screen.GetPixel(x, y));
            }
        }
        return out;
    }

    // Pixels of a rectangle of the frame, row by row.
    std::vector<uint16_t> Region(int32_t x, int32_t y, int32_t w, int32_t h) const
    {
        std::vector<uint16_t> out;
        for (int32_t yy = y; yy < y + h; ++yy) {
            for (int32_t xx = x; xx < x + w; ++xx) {
                out.push_back(screen.GetPixel(xx, yy));
            }
        }
        return out;
    }

    PXMemoryScreen2D screen;
};
