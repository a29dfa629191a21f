// Walks of the export table of a module loaded in this process, and a byte search
// over its code. A module handle is the address of its image.
#pragma once

#include <cstdint>

#include "platform/KernelTypes.h"

// The ordinal (export Base added) of the export with exactly this name, or -1.
int64_t FindExportOrdinal(win::HMODULE module, const char* name);
// The address of the exported code, following forwarders into their library; null on failure.
const win::BYTE* GetExportAddress(win::HMODULE module, int64_t ordinal);
// The distance from the export to the next higher exported address, else to the end
// of its code section, else 0x7FFFFFFF; 0 on failure.
win::DWORD GetExportCodeLength(win::HMODULE module, int64_t ordinal);
// The first address in [start, start + length - patternLength] where the pattern
// occurs, or null.
const win::BYTE* FindBytePattern(const win::BYTE* start, win::DWORD length, const win::BYTE* pattern,
                                 win::DWORD patternLength);
