/* The desktop install helper's call interface: what a setup program passes to
 * libJorvoInstallHelper.so. Plain C, so any setup program can fill the table and call the
 * exports through dlopen/dlsym. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The property table, owned by the setup program. A name slot holds a property name enclosed in
 * percent signs ("%PACK_NAME%"); its value slot holds the text. Slots hold single-byte,
 * zero-terminated text; slot i lies at names + i * nameSlotSize (values + i * valueSlotSize).
 * Properties: "PACK_NAME" and "FOLDER" in, "DLLERROR" out, "DEVICE_ROOT" in (optional). */
typedef struct PropertyTable {
    uint32_t reserved0;
    uint32_t reserved1;
    uint32_t capacity;      /* most entries the table can hold */
    uint32_t nameSlotSize;  /* bytes of one name slot */
    uint32_t valueSlotSize; /* bytes of one value slot */
    uint32_t entriesInUse;  /* entries filled so far */
    char* names;            /* the first name slot */
    char* values;           /* the first value slot */
} PropertyTable;

/* Receives the install's progress: step of range, and a text to show. */
typedef void (*InstallProgressCallback)(int step, int range, const char* text);

/* Installs the sample pack the table describes onto the device. 0 when installed; 1 otherwise,
 * with the reason in "DLLERROR". */
typedef int (*InstallSamplePackFunction)(PropertyTable* table);
int InstallSamplePack(PropertyTable* table);

/* Sets (null: clears) the receiver of progress reports; without one nothing is reported. */
typedef void (*SetInstallProgressCallbackFunction)(InstallProgressCallback callback);
void SetInstallProgressCallback(InstallProgressCallback callback);

#ifdef __cplusplus
}
#endif
