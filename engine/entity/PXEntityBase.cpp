// Base behaviour shared by every entity type and runtime entity.
#include "engine/entity/PXEntityBase.h"

#include "engine/core/PXLog.h"

PXEntityBaseType::~PXEntityBaseType() = default;

void PXEntityBaseType::LogLoadLoop() const
{
    LogF("%s, %s - reached again while it loads.\n", m_ref.className.c_str(), m_ref.typeName.c_str());
}

PXEntityBaseType::LoadScope::LoadScope(PXEntityBaseType& type) : m_type(type), m_entered(!type.m_loading)
{
    if (m_entered)
        type.m_loading = true;
    else
        type.LogLoadLoop();
}

PXEntityBaseType::LoadScope::~LoadScope()
{
    if (m_entered)
        m_type.m_loading = false;
}

bool PXEntityBaseType::Load(bool)
{
    m_loaded = true;
    return true;
}

bool PXEntityBaseType::Unload()
{
    m_loaded = false;
    return true;
}

bool PXEntityBaseType::IsA(uint32_t kind) const
{
    return kind == PXKind::Unknown;
}

PXEntityBase::~PXEntityBase() = default;

bool PXEntityBase::SetProperty(int32_t, int32_t)
{
    return false;
}

bool PXEntityBase::SetAltProperty(int32_t, int32_t)
{
    return false;
}

bool PXEntityBase::SetStringProperty(int32_t, const std::string&)
{
    return false;
}

bool PXEntityBase::GetProperty(int32_t, int32_t*)
{
    return false;
}

bool PXEntityBase::GetAltProperty(int32_t, int32_t*)
{
    return false;
}

bool PXEntityBase::GetStringProperty(int32_t, std::string*)
{
    return false;
}

bool PXEntityBase::Update(float)
{
    if (m_type)
        m_type->Load(false);
    return true;
}

bool PXEntityBase::Draw()
{
    return true;
}
