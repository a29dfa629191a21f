#include "sim/Machine.h"

#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {
Machine* current = nullptr;
}

Machine::Machine() {
    if (current != nullptr) {
        std::fprintf(stderr, "sim: only one machine may exist at a time\n");
        std::abort();
    }
    current = this;
}

Machine::~Machine() {
    programs.JoinAll();
    current = nullptr;
}

Machine& Machine::Current() {
    if (current == nullptr) {
        std::fprintf(stderr, "sim: no machine\n");
        std::abort();
    }
    return *current;
}

}  // namespace sim
