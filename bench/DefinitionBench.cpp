// Definition reading costs: one key lookup in a scene-sized definition, and defining a type
// whose constructor reads a dozen keys and one inline child.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"

namespace {

std::string SceneText()
{
    std::string text = "class = 2DScene\ntype = mainmenu\n# elements\n";
    for (int i = 0; i < 40; ++i) {
        text += "Element" + std::to_string(i) + " = " + std::to_string(i) + ", 120, 80, sprite, Banner" +
                std::to_string(i) + "\n";
        if (i % 10 == 0)
            text += "Inline" + std::to_string(i) + " = @\n{\nclass = sprite\nimage = \"a.img\"\n}\n";
    }
    text += "CursorEnt = sprite, Cursor\n";
    return text;
}

void BM_FindKeyLastLine(benchmark::State& state)
{
    std::string text = SceneText();
    PXDefinitionBlock block;
    block.LoadFromText(text.data(), text.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(block.FindKey("CursorEnt"));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_FindKeyLastLine);

class BenchType : public PXEntityBaseType {
public:
    explicit BenchType(const PXDefinitionBlock* block)
    {
        int ints[4];
        std::string text;
        for (const char* key : {"Pos", "Size", "Priority", "Frames", "Delay", "Colour"})
            if (block->FindKey(key))
                block->ReadInts(ints, 4);
        for (const char* key : {"image", "tooltip", "ClickSound", "Text", "Align"})
            if (block->FindKey(key))
                block->ReadString(&text);
        if (block->FindKey("MainImageEnt"))
            block->ReadEntityRef(&m_child);
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<PXEntityBase>(this); }

private:
    PXEntityRef m_child;
};

class BenchPrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<BenchType>(block);
    }
};

void BM_DefineButtonWithInlineSprite(benchmark::State& state)
{
    static BenchPrototype prototype;
    const std::string text = "class = button\ntype = PlayButton\nPos = 220, 300\nPriority = 5\n"
                             "tooltip = \"Start a new game\"\nMainImageEnt = @\n{\nclass = button\n"
                             "image = \"Shardfall/Images/banners.img\"\nFrames = 4\n}\n"
                             "ClickSound = \"Shardfall/Sounds/Switch.wav\"\n";
    PXDefinitionBlock block;
    block.LoadFromText(text.data(), text.size());
    for (auto _ : state) {
        state.PauseTiming();
        auto registry = std::make_unique<PXEntityRegistry>();
        registry->RegisterPrototype(&prototype, "button");
        g_entityRegistry = registry.get();
        state.ResumeTiming();
        benchmark::DoNotOptimize(registry->DefineType(block, false));
        state.PauseTiming();
        registry.reset();
        g_entityRegistry = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DefineButtonWithInlineSprite);

}  // namespace
