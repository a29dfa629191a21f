#include "process/ThreadSnapshot.h"

#include "platform/Platform.h"
#include "platform/ScopedHandle.h"

using namespace win;

const std::vector<DWORD>& ThreadSnapshot::ThreadsOf(DWORD processId) {
    static const std::vector<DWORD> kNone;
    Take();
    auto found = threads.find(processId);
    return found == threads.end() ? kNone : found->second;
}

void ThreadSnapshot::Take() {
    if (taken) return;
    taken = true;
    auto& processes = platform::Processes();
    const platform::ScopedHandle snapshot(processes.CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = processes.Thread32First(snapshot.Get(), &entry); more;
         more = processes.Thread32Next(snapshot.Get(), &entry)) {
        threads[entry.th32OwnerProcessID].push_back(entry.th32ThreadID);
    }
}
