/* A setup program as a pack installer would ship it: fills a property table, loads the install
 * helper with dlopen and calls InstallSamplePack. Prints "DLLERROR" and exits with the result.
 * Without DEVICE_ROOT the pack goes into this machine's own Jorvo.
 *   setup_program LIBRARY PACK_NAME FOLDER [DEVICE_ROOT] */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "jorvo/InstallHelper.h"

enum { kEntries = 4, kNameSlot = 32, kValueSlot = 512 };

static char names[kEntries][kNameSlot];
static char values[kEntries][kValueSlot];

static void Add(PropertyTable* table, const char* name, const char* value)
{
    snprintf(names[table->entriesInUse], kNameSlot, "%%%s%%", name);
    snprintf(values[table->entriesInUse], kValueSlot, "%s", value);
    table->entriesInUse++;
}

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5)
        return 2;
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    InstallSamplePackFunction install = library ? (InstallSamplePackFunction)dlsym(library, "InstallSamplePack") : NULL;
    if (!install)
        return 3;
    PropertyTable table = {0, 0, kEntries, kNameSlot, kValueSlot, 0, &names[0][0], &values[0][0]};
    Add(&table, "PACK_NAME", argv[2]);
    Add(&table, "FOLDER", argv[3]);
    if (argc == 5)
        Add(&table, "DEVICE_ROOT", argv[4]);
    const int result = install(&table);
    for (unsigned index = 0; index < table.entriesInUse; ++index) {
        if (strcmp(names[index], "%DLLERROR%") == 0)
            printf("%s", values[index]);
    }
    dlclose(library);
    return result;
}
