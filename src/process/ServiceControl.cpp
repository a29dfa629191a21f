// The service operations of clsEnhance, through the service manager's run-time imports.
#include <memory>
#include <new>

#include "platform/RuntimeImports.h"
#include "platform/ScopedServiceHandle.h"
#include "process/clsEnhance.h"

using namespace win;

namespace {
constexpr DWORD kConfigBufferSize = 4096;
}

bool clsEnhance::SendServiceStop(const char* serviceName) {
    auto openSCManager = platform::imports::OpenSCManagerA();
    auto openService = platform::imports::OpenServiceA();
    auto controlService = platform::imports::ControlService();
    if (!openSCManager || !platform::CanCloseServiceHandles() || !openService || !controlService) return false;
    const platform::ScopedServiceHandle manager(openSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    const platform::ScopedServiceHandle service(openService(manager.Get(), serviceName, SERVICE_ALL_ACCESS));
    if (!service) return false;
    SERVICE_STATUS status{};
    return controlService(service.Get(), SERVICE_CONTROL_STOP, &status) != FALSE;
}

bool clsEnhance::SetServiceStartType(const char* serviceName, DWORD startType, DWORD& previousStartType) {
    if (!IsNotWindows9x()) return false;
    auto openSCManager = platform::imports::OpenSCManagerA();
    auto openService = platform::imports::OpenServiceA();
    auto queryServiceConfig = platform::imports::QueryServiceConfigA();
    auto changeServiceConfig = platform::imports::ChangeServiceConfigA();
    if (!openSCManager || !openService || !queryServiceConfig || !changeServiceConfig ||
        !platform::CanCloseServiceHandles()) {
        return false;
    }
    const platform::ScopedServiceHandle manager(openSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return false;
    const platform::ScopedServiceHandle service(
        openService(manager.Get(), serviceName, SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG));
    if (!service) return false;
    // The allocation is aligned for any object, so the structure can start it.
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[kConfigBufferSize]);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.get());
    DWORD needed = 0;
    if (!buffer || !queryServiceConfig(service.Get(), config, kConfigBufferSize, &needed)) return false;
    previousStartType = config->dwStartType;
    return changeServiceConfig(service.Get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr) != FALSE;
}

void clsEnhance::StopService(const char* serviceName) {
    DWORD previous = 0;
    SendServiceStop(serviceName);
    SetServiceStartType(serviceName, SERVICE_DISABLED, previous);
}

void clsEnhance::StartService(const char* serviceName) {
    DWORD previous = 0;
    SetServiceStartType(serviceName, SERVICE_AUTO_START, previous);
}
