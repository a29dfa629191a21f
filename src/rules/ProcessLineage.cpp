#include "rules/ProcessLineage.h"

#include <algorithm>
#include <cstring>

#include "platform/RuntimeImports.h"
#include "platform/WindowsFamily.h"
#include "process/ProcessCreationTime.h"
#include "rules/ProcessSnapshot.h"

using namespace win;

namespace {

// Enough for about 300 processes with 5,000 threads among them, as on a busy desktop.
constexpr DWORD kFirstBufferSize = 512 * 1024;
constexpr int kTries = 4;

DWORD ProcessIdOf(HANDLE id) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(id)); }

// The call that tells the system's process information: the NT family's, where it has it.
platform::imports::NtQuerySystemInformationProc SystemInformationQuery() {
    return platform::IsNtFamily() ? platform::imports::NtQuerySystemInformation() : nullptr;
}

// The records of the system's process information; false when the call failed.
bool FromSystemInformation(std::vector<ProcessLineage>& processes) {
    auto query = SystemInformationQuery();
    if (query == nullptr) return false;
    std::vector<BYTE> buffer(kFirstBufferSize);
    DWORD length = 0;
    NTSTATUS status = STATUS_INFO_LENGTH_MISMATCH;
    // Processes started between two calls may make the list longer again.
    for (int i = 0; i < kTries && status == STATUS_INFO_LENGTH_MISMATCH; ++i) {
        if (i > 0) buffer.resize(std::max<size_t>(buffer.size() * 2, length + kFirstBufferSize / 4));
        length = 0;
        status = query(SystemProcessInformation, buffer.data(), static_cast<DWORD>(buffer.size()), &length);
    }
    if (status < 0) return false;
    const size_t filled = std::min<size_t>(length, buffer.size());
    for (size_t at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= filled;) {
        SYSTEM_PROCESS_INFORMATION record;
        std::memcpy(&record, buffer.data() + at, sizeof record);
        processes.push_back({ProcessIdOf(record.UniqueProcessId), ProcessIdOf(record.InheritedFromUniqueProcessId),
                             static_cast<uint64_t>(record.CreateTime)});
        if (record.NextEntryOffset == 0) break;
        at += record.NextEntryOffset;
    }
    return true;
}

}  // namespace

bool ListProcessLineage(std::vector<ProcessLineage>& processes) {
    processes.clear();
    if (FromSystemInformation(processes)) return true;
    processes.clear();
    return WalkProcessSnapshot([&](const PROCESSENTRY32& entry) {
        processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, 0});
    });
}

win::DWORD ProcessListSize() {
    auto query = SystemInformationQuery();
    if (query == nullptr) return 0;
    DWORD length = 0;
    return query(SystemProcessInformation, nullptr, 0, &length) == STATUS_INFO_LENGTH_MISMATCH ? length : 0;
}

uint64_t CreationTimeOf(const ProcessLineage& process) {
    return process.creationTime != 0 ? process.creationTime : ProcessCreationTime(process.processId);
}
