// How each program identifies itself: the version information and the manifest that
// the resource script gives it.
#pragma once

#include <string>

namespace resources {

constexpr const char* kProductName = "Kestrava";

struct ProgramInfo {
    const char* name;         // file name without ".exe"
    const char* description;  // the file description shown by Windows
    const char* manifest;     // manifest file under src/resources
};

// The program of that name, or null.
const ProgramInfo* FindProgramInfo(const std::string& name);

}  // namespace resources
