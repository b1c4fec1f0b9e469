// Fuzz target: the definition reader over arbitrary text, every lookup and every value form,
// inline definitions included (through a registry with one class).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"

namespace {

class FuzzType : public PXEntityBaseType {
public:
    explicit FuzzType(const PXDefinitionBlock* block)
    {
        PXEntityRef ref;
        if (block && block->FindKey("ChildEnt"))
            block->ReadEntityRef(&ref);
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<PXEntityBase>(this); }
};

class FuzzPrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<FuzzType>(block);
    }
};

FuzzPrototype s_prototype;

// The first word of the text, so that keys the input spells itself get looked up too.
std::string FirstWord(const std::string& text)
{
    size_t start = text.find_first_not_of(" \t\r\n#{}=");
    if (start == std::string::npos)
        return "";
    size_t end = text.find_first_of(" \t\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void ReadEveryForm(const PXDefinitionBlock& block)
{
    std::string text;
    if (block.ReadString(&text) && text.size() > block.GetLength())
        __builtin_trap();
    int ints[4] = {};
    block.ReadInts(ints, 4);
    float floats[3] = {};
    block.ReadFloats(floats, 3);
    PXColor color;
    block.ReadColor(&color);
    char ch = 0;
    int code = 0;
    block.ReadCharCode(&ch, &code);
    PXEntityRef ref;
    block.ReadEntityRef(&ref);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PXEntityRegistry registry;
    registry.RegisterPrototype(&s_prototype, "sprite");
    g_entityRegistry = &registry;

    PXDefinitionBlock block;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (block.LoadFromText(text.data(), text.size())) {
        const std::string keys[] = {
            "class", "type", "Value", "Pos", "Text", "ChildEnt", "a", FirstWord(text), std::string(300, 'k')};
        for (const std::string& key : keys) {
            if (block.FindKey(key))
                ReadEveryForm(block);
        }
    }
    g_entityRegistry = nullptr;
    return 0;
}
