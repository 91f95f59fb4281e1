#pragma once
// Run-time class records and the base of every persistent object. Loaders create objects from a
// class name stored in a file, so every persistent class registers a record: its stored name,
// its schema number and a function that creates an empty object.
//
// Use, one line in the header (first thing in the class body) and one in the .cpp:
//
//     class SeqEventNote : public SeqEvent {
//         JORVO_DECLARE_PERSISTENT(SeqEventNote)
//         ...
//     };
//     JORVO_IMPLEMENT_PERSISTENT(SeqEventNote, SeqEvent, 0)    // in SeqEventNote.cpp
//
// Abstract classes use JORVO_IMPLEMENT_ABSTRACT(Class, Base). A class deriving directly from
// PersistentObject names PersistentObject as its base. The stored name is the class name as
// written in the macro, without namespace, and is part of the file formats: never rename it.
//
// Why registration is robust: the registry is a function-local static, so it exists before the
// first registration whatever the order of static initialisation. Every class is entered twice
// over: once by a static object in its own .cpp, and once by an inline static member that the
// header macro adds, which the compiler initialises in every translation unit including the
// header. That member refers to the class's record in its .cpp, so the linker cannot drop the
// class's object file from a static library while anything that includes the header is linked.
// Entering the same record again is harmless.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace jorvo {

class PersistentObject;
class BinaryArchive;
class CXMLArchive;

// The record of one persistent class. Records are static objects that live for the program.
class RuntimeClass {
public:
    using CreateFunction = std::unique_ptr<PersistentObject> (*)();

    // A record; `base` is null only for PersistentObject itself, `create` null for an abstract class.
    RuntimeClass(const char* name, std::uint16_t schema, const RuntimeClass* base, CreateFunction create);
    RuntimeClass(const RuntimeClass&) = delete;
    RuntimeClass& operator=(const RuntimeClass&) = delete;

    // The class name as stored in files, e.g. "SeqEventNote".
    std::string_view Name() const { return name_; }

    // The schema number written with the class record (0 for every class of this program).
    std::uint16_t Schema() const { return schema_; }

    // The record of the base class; null for PersistentObject.
    const RuntimeClass* Base() const { return base_; }

    // True when objects of this class cannot be created (abstract classes).
    bool IsAbstract() const { return create_ == nullptr; }

    // A new, empty object of this class; null for an abstract class.
    std::unique_ptr<PersistentObject> CreateObject() const;

    // True when this class is `other` or derives from it.
    bool IsDerivedFrom(const RuntimeClass& other) const;

    // The registered class stored under `name`; null when no such class is registered. The
    // registry is filled during start-up; look-ups and plug-in registrations run on the UI thread.
    static const RuntimeClass* FromName(std::string_view name);

    // Enters `record` in the registry and returns true. Entering the same record again is a
    // no-op; a different record under a name already taken is refused (false) and the first kept.
    static bool Register(const RuntimeClass& record);

    // Every registered class, in no particular order (for diagnostics and tests).
    static std::vector<const RuntimeClass*> RegisteredClasses();

private:
    const char* name_;
    std::uint16_t schema_;
    const RuntimeClass* base_;
    CreateFunction create_;
};

// The base of every object stored by the binary and XML archives.
class PersistentObject {
public:
    virtual ~PersistentObject() = default;

    // The record of PersistentObject itself (abstract; never registered by name).
    static const RuntimeClass& StaticRuntimeClass();

    // The record of this object's most derived class.
    virtual const RuntimeClass& GetRuntimeClass() const;

    // Writes this object's fields to, or reads them from, `archive` (which direction is
    // `archive.IsStoring()`). Throws ArchiveException on damaged input.
    virtual void Serialize(BinaryArchive& archive) = 0;

    // Writes or reads this object's XML element through `archive`.
    virtual void SerializeXML(CXMLArchive& archive) = 0;

    // True when this object's class is `cls` or derives from it.
    bool IsKindOf(const RuntimeClass& cls) const { return GetRuntimeClass().IsDerivedFrom(cls); }

    // True when this object is a T (T declared with JORVO_DECLARE_PERSISTENT).
    template <class T>
    bool IsKindOf() const { return IsKindOf(T::StaticRuntimeClass()); }

protected:
    PersistentObject() = default;
    PersistentObject(const PersistentObject&) = default;
    PersistentObject& operator=(const PersistentObject&) = default;
};

// `object` as a T when it is one, else null (also null for a null `object`).
template <class T>
T* PersistentCast(PersistentObject* object)
{
    return object != nullptr && object->IsKindOf<T>() ? static_cast<T*>(object) : nullptr;
}

// `object` as a const T when it is one, else null.
template <class T>
const T* PersistentCast(const PersistentObject* object)
{
    return object != nullptr && object->IsKindOf<T>() ? static_cast<const T*>(object) : nullptr;
}

} // namespace jorvo

// Declares the run-time class of `Class`; put it first in the class body. Leaves access public.
#define JORVO_DECLARE_PERSISTENT(Class)                                                              \
public:                                                                                              \
    static const ::jorvo::RuntimeClass& StaticRuntimeClass();                                        \
    const ::jorvo::RuntimeClass& GetRuntimeClass() const override { return StaticRuntimeClass(); }   \
                                                                                                     \
private:                                                                                             \
    [[maybe_unused]] static inline const bool jorvoRuntimeClassEntered_ =                            \
        ::jorvo::RuntimeClass::Register(StaticRuntimeClass());                                       \
                                                                                                     \
public:

// Defines the run-time class of a concrete `Class` derived from `Base`, stored with `schema`.
#define JORVO_IMPLEMENT_PERSISTENT(Class, Base, schema)                                              \
    JORVO_IMPLEMENT_RUNTIME_CLASS_(Class, Base, schema,                                              \
        []() -> std::unique_ptr<::jorvo::PersistentObject> { return std::make_unique<Class>(); })

// Defines the run-time class of an abstract `Class` derived from `Base` (never created by name).
#define JORVO_IMPLEMENT_ABSTRACT(Class, Base) JORVO_IMPLEMENT_RUNTIME_CLASS_(Class, Base, 0, nullptr)

#define JORVO_IMPLEMENT_RUNTIME_CLASS_(Class, Base, schema, create)                                  \
    const ::jorvo::RuntimeClass& Class::StaticRuntimeClass()                                         \
    {                                                                                                \
        static const ::jorvo::RuntimeClass record(#Class, schema, &Base::StaticRuntimeClass(), create); \
        return record;                                                                               \
    }                                                                                                \
    namespace {                                                                                      \
    [[maybe_unused]] const bool jorvoRuntimeClassEntered##Class =                                    \
        ::jorvo::RuntimeClass::Register(Class::StaticRuntimeClass());                                \
    }
