// Small readers of one key of a definition block, shared by the element types. Each leaves
// its target as it is when the block has no such key.
#pragma once

#include <cstdint>
#include <string>

#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRef.h"

// When the block has `key`, sets *out from its first integer (non-zero is true), or to
// `unreadable` when the key carries no integer; without the key *out stays as it is.
inline void ReadFlag(const PXDefinitionBlock* block, const char* key, bool* out, bool unreadable)
{
    if (!block->FindKey(key))
        return;
    int value = unreadable ? 1 : 0;
    block->ReadInts(&value, 1);
    *out = value != 0;
}

// When the block has `key`, sets *out to the reference it names, or to none when it names
// none; without the key *out stays as it is.
inline void ReadRef(const PXDefinitionBlock* block, const char* key, PXEntityRef* out)
{
    if (block->FindKey(key) && !block->ReadEntityRef(out))
        *out = PXEntityRef{};
}

// The first integer of `key`; a key without one leaves *out as it is.
inline void ReadInt(const PXDefinitionBlock* block, const char* key, int32_t* out)
{
    if (block->FindKey(key))
        block->ReadInts(out, 1);
}

// The first number of `key`; a key without one leaves *out as it is.
inline void ReadFloat(const PXDefinitionBlock* block, const char* key, float* out)
{
    if (block->FindKey(key))
        block->ReadFloats(out, 1);
}

// The text of `key`.
inline void ReadText(const PXDefinitionBlock* block, const char* key, std::string* out)
{
    if (block->FindKey(key))
        block->ReadString(out);
}
