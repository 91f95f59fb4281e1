#pragma once
// Deep copies through memory: the object is stored into a fresh memory block and a new object is
// loaded back from it. Everything the object owns is copied; what it refers to by name stays shared.
#include <memory>

#include "document/BinaryArchive.h"

namespace jorvo {

// A new object equal to `source`, of the same most derived class (which T must be or be a base
// of). Raises ArchiveException when the class cannot be copied (not registered, or its Serialize
// does not read back what it wrote). `source` is not changed; Serialize takes it non-const only
// because one function serves both directions.
template <class T>
std::unique_ptr<T> DeepCopy(T& source)
{
    MemoryStream memory;
    BinaryArchive store(memory, BinaryArchive::Mode::Store);
    store.WriteObject(&source);
    store.Close();
    memory.Seek(0);
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    return load.ReadObject<T>();
}

} // namespace jorvo
