// The three base classes of every entity class: the runtime entity, its type (the values read
// from one definition, shared by all entities made from it) and the stateless prototype that
// builds a type from a definition block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityKind.h"
#include "engine/entity/PXEntityRef.h"

class PXDefinitionBlock;
class PXEntityBase;

class PXEntityBaseType {
public:
    PXEntityBaseType() = default;
    PXEntityBaseType(const PXEntityBaseType&) = delete;
    PXEntityBaseType& operator=(const PXEntityBaseType&) = delete;

    // A new entity of this type; the caller owns it.
    virtual std::unique_ptr<PXEntityBase> CreateEntity() = 0;
    virtual ~PXEntityBaseType();
    // Acquires what the definition names; idempotent. `reload` unloads first.
    virtual bool Load(bool reload);
    // Releases exactly what Load acquired; idempotent.
    virtual bool Unload();
    // True for this type's kind code, its ancestors' codes and "UNKN".
    virtual bool IsA(uint32_t kind) const;

    const PXEntityRef& GetRef() const { return m_ref; }
    bool IsLoaded() const { return m_loaded; }
    // True while a Load that makes other entities runs, or while the registry makes an
    // entity of this type; the registry makes no further entity of a type in either state.
    bool IsLoading() const { return m_loading || m_making; }
    // The log line for a definition that reached this type again while it loads.
    void LogLoadLoop() const;

protected:
    // Held by a Load that makes other entities, for as long as it runs. A definition can
    // lead back into its own type (a button whose content is the scene that holds it): the
    // inner Load would recurse without end or rebuild the lists the outer one is walking, so
    // it is refused (Entered() false) with a log line naming the type.
    class LoadScope {
    public:
        explicit LoadScope(PXEntityBaseType& type);
        ~LoadScope();
        LoadScope(const LoadScope&) = delete;
        LoadScope& operator=(const LoadScope&) = delete;
        bool Entered() const { return m_entered; }

    private:
        PXEntityBaseType& m_type;
        bool m_entered;
    };

    // The shape every Load and Unload of a type that owns something shares. LoadWith unloads
    // first for `reload`, then runs `acquire` and marks the type loaded unless it is loaded
    // already; true. UnloadWith runs `release` only when the type is loaded; true.
    template <typename Acquire> bool LoadWith(bool reload, Acquire&& acquire)
    {
        if (reload)
            Unload();
        if (!m_loaded) {
            acquire();
            m_loaded = true;
        }
        return true;
    }
    template <typename Release> bool UnloadWith(Release&& release)
    {
        if (m_loaded) {
            release();
            m_loaded = false;
        }
        return true;
    }

    PXEntityRef m_ref;
    bool m_loaded = false;
    bool m_loading = false;

private:
    bool m_making = false;  // set by the registry around CreateEntity

    // The registry names the type once its prototype has built it.
    friend class PXEntityRegistry;
};

class PXEntityBase {
public:
    // `type` is not owned; it outlives every entity made from it.
    explicit PXEntityBase(PXEntityBaseType* type) : m_type(type) {}
    PXEntityBase(const PXEntityBase&) = delete;
    PXEntityBase& operator=(const PXEntityBase&) = delete;

    virtual ~PXEntityBase();
    // Property setters and getters answer true when some class handled the id; an override
    // handles its own ids and passes the rest to its base class.
    virtual bool SetProperty(int32_t id, int32_t value);
    virtual bool SetAltProperty(int32_t id, int32_t value);
    virtual bool SetStringProperty(int32_t id, const std::string& value);
    virtual bool GetProperty(int32_t id, int32_t* out);
    virtual bool GetAltProperty(int32_t id, int32_t* out);
    virtual bool GetStringProperty(int32_t id, std::string* out);
    // Keeps the type loaded (a no-op once it is).
    virtual bool Update(float elapsedMs);
    virtual bool Draw();

    PXEntityBaseType* GetType() const { return m_type; }

protected:
    PXEntityBaseType* m_type;
};

class PXEntityTypePrototype {
public:
    virtual ~PXEntityTypePrototype() = default;
    // A type of this prototype's class built from `block` (all defaults for null), or none.
    virtual std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const = 0;
};

// The prototype of a class whose type's constructor reads the block itself.
template <typename Type> class PXEntityTypePrototypeFor : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<Type>(block);
    }
};
