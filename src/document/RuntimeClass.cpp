#include "document/RuntimeClass.h"

#include <map>
#include <string>

namespace jorvo {

namespace {

// Function-local, so it exists before the first class registers, whatever the order in which
// the translation units are initialised.
std::map<std::string, const RuntimeClass*, std::less<>>& Registry()
{
    static std::map<std::string, const RuntimeClass*, std::less<>> registry;
    return registry;
}

} // namespace

RuntimeClass::RuntimeClass(const char* name, std::uint16_t schema, const RuntimeClass* base, CreateFunction create)
    : name_(name), schema_(schema), base_(base), create_(create)
{
}

std::unique_ptr<PersistentObject> RuntimeClass::CreateObject() const
{
    return create_ != nullptr ? create_() : nullptr;
}

bool RuntimeClass::IsDerivedFrom(const RuntimeClass& other) const
{
    for (const RuntimeClass* cls = this; cls != nullptr; cls = cls->base_) {
        if (cls == &other)
            return true;
    }
    return false;
}

const RuntimeClass* RuntimeClass::FromName(std::string_view name)
{
    const auto& registry = Registry();
    const auto found = registry.find(name);
    return found != registry.end() ? found->second : nullptr;
}

bool RuntimeClass::Register(const RuntimeClass& record)
{
    const auto [position, inserted] = Registry().emplace(std::string(record.Name()), &record);
    return inserted || position->second == &record;
}

std::vector<const RuntimeClass*> RuntimeClass::RegisteredClasses()
{
    std::vector<const RuntimeClass*> classes;
    for (const auto& entry : Registry())
        classes.push_back(entry.second);
    return classes;
}

const RuntimeClass& PersistentObject::StaticRuntimeClass()
{
    static const RuntimeClass record("PersistentObject", 0, nullptr, nullptr);
    return record;
}

const RuntimeClass& PersistentObject::GetRuntimeClass() const
{
    return StaticRuntimeClass();
}

} // namespace jorvo
