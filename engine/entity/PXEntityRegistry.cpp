// The class registry: type definition, lookup, entity creation and start-up loading.
#include "engine/entity/PXEntityRegistry.h"

#include <vector>

#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"

namespace {

std::string TypeKey(const std::string& className, const std::string& typeName)
{
    return className + "|" + typeName;
}

std::string ReadText(const PXDefinitionBlock& block, const char* key)
{
    std::string text;
    if (block.FindKey(key))
        block.ReadString(&text);
    return text;
}

// Keeps the nesting depth of DefineType calls for as long as one call runs.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

}  // namespace

PXEntityRegistry::~PXEntityRegistry()
{
    ClearTypes();
}

bool PXEntityRegistry::RegisterPrototype(PXEntityTypePrototype* prototype, const std::string& className)
{
    if (!prototype)
        return false;
    return m_prototypes.emplace(className, prototype).second;
}

bool PXEntityRegistry::RegisterPrototypes(std::initializer_list<ClassEntry> entries)
{
    bool ok = true;
    for (const ClassEntry& e : entries)
        ok = RegisterPrototype(e.prototype, e.className) && ok;
    return ok;
}

const PXEntityRef* PXEntityRegistry::DefineType(const PXDefinitionBlock& block, bool anonymous)
{
    DepthGuard guard(m_defineDepth);
    std::string className = ReadText(block, "class");
    // Anonymous types still being built count too, so an inline definition nested in an
    // anonymous one never takes its parent's name.
    std::string typeName =
        anonymous ? "Anon" + std::to_string(m_typeCount + m_anonBuilding) : ReadText(block, "type");

    auto prototype = m_prototypes.find(className);
    if (prototype == m_prototypes.end()) {
        Log((className + " - unknown class.\n").c_str());
        return nullptr;
    }
    std::string key = TypeKey(className, typeName);
    if (m_types.count(key)) {
        Log((key + " - already defined.\n").c_str());
        return nullptr;
    }
    if (m_defineDepth > MaxInlineDepth) {
        Log((key + " - nested too deep.\n").c_str());
        return nullptr;
    }
    std::unique_ptr<PXEntityBaseType> type = BuildType(*prototype->second, block, anonymous);
    if (!type)
        return nullptr;
    ++m_typeCount;
    type->m_ref.className = className;
    type->m_ref.typeName = typeName;
    PXEntityBaseType* stored = type.get();
    m_types.emplace(key, std::move(type));
    return &stored->m_ref;
}

std::unique_ptr<PXEntityBaseType> PXEntityRegistry::BuildType(const PXEntityTypePrototype& prototype,
                                                              const PXDefinitionBlock& block, bool anonymous)
{
    if (anonymous)
        ++m_anonBuilding;
    std::unique_ptr<PXEntityBaseType> type = prototype.CreateType(&block);
    if (anonymous)
        --m_anonBuilding;
    return type;
}

PXEntityBaseType* PXEntityRegistry::FindType(const std::string& className, const std::string& typeName) const
{
    auto found = m_types.find(TypeKey(className, typeName));
    return found == m_types.end() ? nullptr : found->second.get();
}

std::unique_ptr<PXEntityBase> PXEntityRegistry::CreateEntity(const PXEntityRef& ref, uint32_t kind)
{
    return CreateEntity(ref.className, ref.typeName, kind);
}

std::unique_ptr<PXEntityBase> PXEntityRegistry::CreateEntity(const std::string& className,
                                                             const std::string& typeName, uint32_t kind)
{
    PXEntityBaseType* type = FindType(className, typeName);
    if (!type || !type->IsA(kind))
        return nullptr;
    // An entity made now would load its type again inside that Load, or be made inside the
    // making of another of its kind (a dialog frame whose title text is the dialog box that
    // holds the frame), without end.
    if (type->IsLoading()) {
        type->LogLoadLoop();
        return nullptr;
    }
    struct Making {
        explicit Making(bool& flag) : flag(flag) { flag = true; }
        ~Making() { flag = false; }
        bool& flag;
    } making(type->m_making);
    return type->CreateEntity();
}

bool PXEntityRegistry::LoadDefinitionFiles()
{
    if (!g_fileSystem)
        return true;
    std::vector<std::string> names;
    g_fileSystem->ListFiles("*.ent", "", true, names);
    if (g_game)
        g_game->SetLoadProgress(static_cast<uint32_t>(names.size() * 2), 0);
    for (const std::string& name : names) {
        PXFile* file = g_fileSystem->Open(name, FileModeRead);
        if (!file)
            continue;
        PXDefinitionBlock block;
        bool read = block.LoadFromFile(*file);
        g_fileSystem->Close(file);
        if (!read)
            continue;
        DefineType(block, false);
        if (g_game)
            g_game->AdvanceLoadProgress();
    }
    return true;
}

bool PXEntityRegistry::ClearTypes()
{
    // Unload everything first: a type's Unload deletes child entities that may belong to
    // types stored before it.
    for (auto& entry : m_types)
        entry.second->Unload();
    m_types.clear();
    m_prototypes.clear();
    return true;
}
