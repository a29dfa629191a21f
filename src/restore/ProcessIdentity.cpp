#include "restore/ProcessIdentity.h"

#include "process/clsEnhance.h"
#include "rules/ProcessSnapshot.h"

using namespace win;

RunningProcesses::RunningProcesses() {
    WalkProcessSnapshot([&](const PROCESSENTRY32& entry) { names[entry.th32ProcessID] = ProcessName(entry); });
}

ProcessIdentity RunningProcesses::Identify(DWORD processId) const {
    auto found = names.find(processId);
    if (found == names.end()) return ProcessIdentity{processId, 0, std::string()};
    return ProcessIdentity{processId, ProcessCreationTime(processId), found->second};
}

bool RunningProcesses::Runs(const ProcessIdentity& recorded) const {
    auto found = names.find(recorded.processId);
    if (found == names.end() || recorded.name.empty() || found->second != recorded.name) return false;
    if (!clsEnhance::IsNotWindows9x()) return true;
    return recorded.creationTime != 0 && ProcessCreationTime(recorded.processId) == recorded.creationTime;
}
