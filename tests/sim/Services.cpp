#include "sim/Services.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "sim/Machine.h"

namespace sim {
namespace {

constexpr DWORD kOwnProcessService = 0x10;
constexpr char kStartName[] = "LocalSystem";

struct ManagerHandle : HandleObject {};

struct ServiceHandle : HandleObject {
    std::string key;
    DWORD access = 0;
};

template <typename T>
T Failing(DWORD error, T result) {
    platform::Handles().SetLastError(error);
    return result;
}

Services& Part() { return Machine::Current().services; }

SC_HANDLE KAPI OpenSCManagerEntry(const char* machine, const char* database, DWORD access) {
    return Part().OpenSCManagerA(machine, database, access);
}
SC_HANDLE KAPI OpenServiceEntry(SC_HANDLE manager, const char* name, DWORD access) {
    return Part().OpenServiceA(manager, name, access);
}
BOOL KAPI QueryServiceConfigEntry(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size, DWORD* needed) {
    return Part().QueryServiceConfigA(service, config, size, needed);
}
BOOL KAPI ControlServiceEntry(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) {
    return Part().ControlService(service, control, status);
}
BOOL KAPI CloseServiceHandleEntry(SC_HANDLE handle) { return Part().CloseServiceHandle(handle); }
BOOL KAPI ChangeServiceConfigEntry(SC_HANDLE service, DWORD serviceType, DWORD startType, DWORD errorControl,
                                   const char* binaryPath, const char* loadOrderGroup, DWORD* tagId,
                                   const char* dependencies, const char* startName, const char* password,
                                   const char* displayName) {
    return Part().ChangeServiceConfigA(service, serviceType, startType, errorControl, binaryPath, loadOrderGroup,
                                       tagId, dependencies, startName, password, displayName);
}

}  // namespace

Services::Services(Machine& machine) : machine_(machine) {
    const std::pair<const char*, FARPROC> entries[] = {
        {"OpenSCManagerA", win::ProcCast<FARPROC>(&OpenSCManagerEntry)},
        {"OpenServiceA", win::ProcCast<FARPROC>(&OpenServiceEntry)},
        {"QueryServiceConfigA", win::ProcCast<FARPROC>(&QueryServiceConfigEntry)},
        {"ControlService", win::ProcCast<FARPROC>(&ControlServiceEntry)},
        {"CloseServiceHandle", win::ProcCast<FARPROC>(&CloseServiceHandleEntry)},
        {"ChangeServiceConfigA", win::ProcCast<FARPROC>(&ChangeServiceConfigEntry)},
    };
    for (const auto& [name, entry] : entries) machine_.modules.Export("advapi32.dll", name, entry);
    platform::Current().services = this;
}

Services::~Services() { platform::Current().services = nullptr; }

std::string Services::Key(const std::string& name) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    return key;
}

void Services::AddService(const std::string& name, DWORD startType, bool running, const std::string& binaryPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    Service& service = services_[Key(name)];
    service.name = name;
    service.binaryPath = binaryPath;
    service.startType = startType;
    service.running = running;
}

bool Services::Exists(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return services_.count(Key(name)) != 0;
}

DWORD Services::StartType(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = services_.find(Key(name));
    return it == services_.end() ? 0 : it->second.startType;
}

bool Services::IsRunning(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = services_.find(Key(name));
    return it != services_.end() && it->second.running;
}

void Services::FailManager(bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    failManager_ = fail;
}

int Services::ManagerOpens() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return managerOpens_;
}

SC_HANDLE Services::OpenSCManagerA(const char*, const char*, DWORD) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failManager_) return Failing(ERROR_ACCESS_DENIED, nullptr);
        ++managerOpens_;
    }
    return machine_.handles.Add(std::make_shared<ManagerHandle>());
}

SC_HANDLE Services::OpenServiceA(SC_HANDLE manager, const char* name, DWORD access) {
    if (!machine_.handles.Get<ManagerHandle>(manager)) return Failing(ERROR_INVALID_HANDLE, nullptr);
    if (name == nullptr) return Failing(ERROR_INVALID_PARAMETER, nullptr);
    auto handle = std::make_shared<ServiceHandle>();
    handle->key = Key(name);
    handle->access = access;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (services_.count(handle->key) == 0) return Failing(ERROR_SERVICE_DOES_NOT_EXIST, nullptr);
    }
    return machine_.handles.Add(handle);
}

// Called with the lock held.
Services::Service* Services::Opened(SC_HANDLE handle, DWORD right) {
    auto opened = machine_.handles.Get<ServiceHandle>(handle);
    if (!opened) return Failing(ERROR_INVALID_HANDLE, nullptr);
    if ((opened->access & right) != right) return Failing(ERROR_ACCESS_DENIED, nullptr);
    auto it = services_.find(opened->key);
    return it == services_.end() ? Failing(ERROR_SERVICE_DOES_NOT_EXIST, nullptr) : &it->second;
}

// The strings follow the structure in the caller's buffer, as the service manager lays them out.
BOOL Services::QueryServiceConfigA(SC_HANDLE handle, QUERY_SERVICE_CONFIGA* config, DWORD size, DWORD* needed) {
    std::lock_guard<std::mutex> lock(mutex_);
    Service* service = Opened(handle, SERVICE_QUERY_CONFIG);
    if (!service) return FALSE;
    const std::string strings[] = {service->binaryPath, "", "", kStartName, service->name};
    std::vector<char> text;
    std::vector<size_t> offsets;
    for (const std::string& s : strings) {
        offsets.push_back(text.size());
        text.insert(text.end(), s.begin(), s.end());
        text.push_back('\0');
    }
    text.push_back('\0');  // the dependency list ends with an empty string
    DWORD required = static_cast<DWORD>(sizeof(QUERY_SERVICE_CONFIGA) + text.size());
    if (needed) *needed = required;
    if (config == nullptr || size < required) return Failing(ERROR_INSUFFICIENT_BUFFER, FALSE);
    char* area = reinterpret_cast<char*>(config + 1);
    std::memcpy(area, text.data(), text.size());
    config->dwServiceType = kOwnProcessService;
    config->dwStartType = service->startType;
    config->dwErrorControl = 1;
    config->lpBinaryPathName = area + offsets[0];
    config->lpLoadOrderGroup = area + offsets[1];
    config->dwTagId = 0;
    config->lpDependencies = area + offsets[2];
    config->lpServiceStartName = area + offsets[3];
    config->lpDisplayName = area + offsets[4];
    return TRUE;
}

BOOL Services::ControlService(SC_HANDLE handle, DWORD control, SERVICE_STATUS* status) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (control != SERVICE_CONTROL_STOP) return Failing(ERROR_INVALID_PARAMETER, FALSE);
    Service* service = Opened(handle, SERVICE_STOP);
    if (!service) return FALSE;
    if (!service->running) return Failing(ERROR_SERVICE_NOT_ACTIVE, FALSE);
    service->running = false;
    if (status) {
        *status = SERVICE_STATUS{};
        status->dwServiceType = kOwnProcessService;
        status->dwCurrentState = SERVICE_STOPPED;
    }
    return TRUE;
}

BOOL Services::CloseServiceHandle(SC_HANDLE handle) {
    if (!machine_.handles.Get<ManagerHandle>(handle) && !machine_.handles.Get<ServiceHandle>(handle)) {
        return Failing(ERROR_INVALID_HANDLE, FALSE);
    }
    return machine_.handles.CloseHandle(handle);
}

// Only the start type is kept; the other settings are accepted and not recorded.
BOOL Services::ChangeServiceConfigA(SC_HANDLE handle, DWORD, DWORD startType, DWORD, const char*, const char*,
                                    DWORD*, const char*, const char*, const char*, const char*) {
    std::lock_guard<std::mutex> lock(mutex_);
    Service* service = Opened(handle, SERVICE_CHANGE_CONFIG);
    if (!service) return FALSE;
    if (startType != SERVICE_NO_CHANGE) {
        if (startType > SERVICE_DISABLED) return Failing(ERROR_INVALID_PARAMETER, FALSE);
        service->startType = startType;
    }
    return TRUE;
}

}  // namespace sim
