#include "resources/ProgramInfo.h"

namespace resources {

const ProgramInfo* FindProgramInfo(const std::string& name) {
    static const ProgramInfo programs[] = {
        {"Vornel", "Kestrava 게임 부스터", "Vornel.manifest"},
        {"Drainex", "Kestrava 메모리 정리 도우미", "Drainex.manifest"},
    };
    for (const ProgramInfo& program : programs) {
        if (name == program.name) return &program;
    }
    return nullptr;
}

}  // namespace resources
