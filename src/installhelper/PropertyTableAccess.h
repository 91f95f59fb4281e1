#pragma once
// Reading and writing the setup program's property table. The table is the caller's memory, so
// every access stays inside the slots it declares: a value is cut to fit its slot with the
// terminating zero, and a name slot's text ends at its zero or at the slot's end.
#include <string>
#include <string_view>

#include "jorvo/InstallHelper.h"

namespace jorvo::installhelper {

// The value of the first entry whose name slot holds "%name%"; empty when there is none or the
// table is null.
std::string GetProperty(const PropertyTable* table, std::string_view name);

// Copies `text` into the value slot of entry "%name%", appending the entry when missing. Nothing
// happens when the table is full, null, or its slots cannot hold the enclosed name.
void SetProperty(PropertyTable* table, std::string_view name, std::string_view text);

} // namespace jorvo::installhelper
