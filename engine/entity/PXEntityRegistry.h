// The class registry: class names to prototypes, "class|type" keys to entity types.
//
// Lifetimes and ownership. Prototypes are static objects that live for the whole run; the
// registry only points at them. Every entity type is created by DefineType and owned by the
// registry until ClearTypes. A type owns everything its definition names (images, sounds,
// child entities), acquiring it in Load and releasing it in Unload; it outlives every entity
// made from it. Entities come from CreateEntity and belong to whoever asked for them, and an
// entity never deletes its type. So the order is: register prototypes, load the definition
// files, create and delete entities for the whole run, and call ClearTypes only after every
// entity has been deleted.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "engine/entity/PXEntityBase.h"
#include "engine/entity/PXEntityRef.h"

class PXDefinitionBlock;

class PXEntityRegistry {
public:
    // Inline definitions nested deeper than this define nothing, so a hostile file cannot
    // exhaust the stack.
    static constexpr int MaxInlineDepth = 64;

    PXEntityRegistry() = default;
    ~PXEntityRegistry();
    PXEntityRegistry(const PXEntityRegistry&) = delete;
    PXEntityRegistry& operator=(const PXEntityRegistry&) = delete;

    // False for no prototype or a class name that is already registered (case-sensitive).
    bool RegisterPrototype(PXEntityTypePrototype* prototype, const std::string& className);
    // One prototype and its class name.
    struct ClassEntry {
        PXEntityTypePrototype* prototype;
        const char* className;
    };
    // Registers every entry in order, even after a refused one; false when any was refused.
    bool RegisterPrototypes(std::initializer_list<ClassEntry> entries);
    // Builds a type from the block's "class" and "type" keys (an anonymous one is named
    // "Anon" and the type count). Returns its reference, or none after logging an unknown
    // class or a duplicate.
    const PXEntityRef* DefineType(const PXDefinitionBlock& block, bool anonymous);
    PXEntityBaseType* FindType(const std::string& className, const std::string& typeName) const;
    // A new entity of the named type if the type answers `kind`; the caller owns it.
    std::unique_ptr<PXEntityBase> CreateEntity(const PXEntityRef& ref, uint32_t kind);
    std::unique_ptr<PXEntityBase> CreateEntity(const std::string& className, const std::string& typeName,
                                               uint32_t kind);
    // Defines a type from every "*.ent" file of g_fileSystem, in its listing order.
    bool LoadDefinitionFiles();
    // Unloads every type, then deletes them all; both maps are empty afterwards.
    bool ClearTypes();

    uint32_t GetTypeCount() const { return m_typeCount; }

private:
    std::unique_ptr<PXEntityBaseType> BuildType(const PXEntityTypePrototype& prototype,
                                                const PXDefinitionBlock& block, bool anonymous);

    std::map<std::string, PXEntityTypePrototype*> m_prototypes;
    std::map<std::string, std::unique_ptr<PXEntityBaseType>> m_types;
    uint32_t m_typeCount = 0;
    int m_defineDepth = 0;
    uint32_t m_anonBuilding = 0;
};

// `made` as a T, or none (deleting it) when it is not one.
template <typename T>
std::unique_ptr<T> EntityAs(std::unique_ptr<PXEntityBase> made)
{
    auto* typed = dynamic_cast<T*>(made.get());
    if (typed == nullptr) {
        return nullptr;
    }
    made.release();
    return std::unique_ptr<T>(typed);
}

// A new entity of the referenced type as a T, or none when there is no registry, the
// reference is empty, the type does not answer `kind` or the entity is not a T.
template <typename T>
std::unique_ptr<T> CreateEntityAs(PXEntityRegistry* registry, const PXEntityRef& ref, uint32_t kind)
{
    if (registry == nullptr || ref.IsEmpty()) {
        return nullptr;
    }
    return EntityAs<T>(registry->CreateEntity(ref, kind));
}
