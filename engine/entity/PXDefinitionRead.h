// Small readers of one key of a definition block, shared by the element types.
#pragma once

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
