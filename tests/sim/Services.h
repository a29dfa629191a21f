// The service control manager of the simulated machine: installed services with
// a start type and a running state. Its entry points are exported from
// advapi32.dll; tests remove an export to make it missing.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/Services.h"

namespace sim {
using namespace win;

class Machine;

class Services : public platform::IServices {
public:
    explicit Services(Machine& machine);
    ~Services() override;

    // --- Test control ---
    // Names are compared without regard to case; the configuration's size grows with the path.
    void AddService(const std::string& name, DWORD startType, bool running, const std::string& binaryPath = "");
    bool Exists(const std::string& name) const;
    DWORD StartType(const std::string& name) const;
    bool IsRunning(const std::string& name) const;
    void FailManager(bool fail);
    // Successful OpenSCManagerA calls so far.
    int ManagerOpens() const;

    // --- IServices ---
    SC_HANDLE OpenSCManagerA(const char* machine, const char* database, DWORD access) override;
    SC_HANDLE OpenServiceA(SC_HANDLE manager, const char* name, DWORD access) override;
    BOOL QueryServiceConfigA(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size, DWORD* needed) override;
    BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) override;
    BOOL CloseServiceHandle(SC_HANDLE handle) override;
    BOOL ChangeServiceConfigA(SC_HANDLE service, DWORD serviceType, DWORD startType, DWORD errorControl,
                              const char* binaryPath, const char* loadOrderGroup, DWORD* tagId,
                              const char* dependencies, const char* startName, const char* password,
                              const char* displayName) override;

private:
    struct Service {
        std::string name;
        std::string binaryPath;
        DWORD startType = SERVICE_DEMAND_START;
        bool running = false;
    };
    static std::string Key(const std::string& name);
    // The service a handle opened with the given right refers to; null (last error set) otherwise.
    Service* Opened(SC_HANDLE handle, DWORD right);

    Machine& machine_;
    mutable std::mutex mutex_;
    std::map<std::string, Service> services_;
    bool failManager_ = false;
    int managerOpens_ = 0;
};

}  // namespace sim
