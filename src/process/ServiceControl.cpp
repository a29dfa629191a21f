// The service operations of clsEnhance, through the service manager's run-time imports.
#include <memory>
#include <new>

#include "platform/RuntimeImports.h"
#include "process/clsEnhance.h"

using namespace win;

namespace {
constexpr DWORD kConfigBufferSize = 4096;
}

bool clsEnhance::SendServiceStop(const char* serviceName) {
    auto openSCManager = platform::imports::OpenSCManagerA();
    auto openService = platform::imports::OpenServiceA();
    auto controlService = platform::imports::ControlService();
    auto closeServiceHandle = platform::imports::CloseServiceHandle();
    if (!openSCManager || !closeServiceHandle || !openService || !controlService) return false;
    SC_HANDLE manager = openSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) return false;
    SC_HANDLE service = openService(manager, serviceName, SERVICE_ALL_ACCESS);
    if (service == nullptr) {
        closeServiceHandle(manager);
        return false;
    }
    SERVICE_STATUS status{};
    BOOL result = controlService(service, SERVICE_CONTROL_STOP, &status);
    closeServiceHandle(service);
    closeServiceHandle(manager);
    return result != FALSE;
}

bool clsEnhance::SetServiceStartType(const char* serviceName, DWORD startType, DWORD& previousStartType) {
    if (!IsNotWindows9x()) return false;
    auto openSCManager = platform::imports::OpenSCManagerA();
    auto openService = platform::imports::OpenServiceA();
    auto queryServiceConfig = platform::imports::QueryServiceConfigA();
    auto changeServiceConfig = platform::imports::ChangeServiceConfigA();
    auto closeServiceHandle = platform::imports::CloseServiceHandle();
    if (!openSCManager || !openService || !queryServiceConfig || !changeServiceConfig || !closeServiceHandle) {
        return false;
    }
    SC_HANDLE manager = openSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) return false;
    SC_HANDLE service = openService(manager, serviceName, SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG);
    bool result = false;
    if (service != nullptr) {
        // The allocation is aligned for any object, so the structure can start it.
        std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[kConfigBufferSize]);
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.get());
        DWORD needed = 0;
        if (buffer && queryServiceConfig(service, config, kConfigBufferSize, &needed)) {
            previousStartType = config->dwStartType;
            result = changeServiceConfig(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr) != FALSE;
        }
        closeServiceHandle(service);
    }
    closeServiceHandle(manager);
    return result;
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
