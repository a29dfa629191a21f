// Service manager area. The logic reaches these entry points as run-time imports of
// advapi32.dll (RuntimeImports.h); the simulation exports them from this interface.
#pragma once

#include "ServiceTypes.h"

namespace platform {
using namespace win;

class IServices {
public:
    virtual ~IServices() = default;
    virtual SC_HANDLE OpenSCManagerA(const char* machine, const char* database, DWORD access) = 0;
    virtual SC_HANDLE OpenServiceA(SC_HANDLE manager, const char* name, DWORD access) = 0;
    virtual BOOL QueryServiceConfigA(SC_HANDLE service, QUERY_SERVICE_CONFIGA* config, DWORD size,
                                     DWORD* needed) = 0;
    virtual BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) = 0;
    virtual BOOL CloseServiceHandle(SC_HANDLE handle) = 0;
    virtual BOOL ChangeServiceConfigA(SC_HANDLE service, DWORD serviceType, DWORD startType, DWORD errorControl,
                                      const char* binaryPath, const char* loadOrderGroup, DWORD* tagId,
                                      const char* dependencies, const char* startName, const char* password,
                                      const char* displayName) = 0;
};

}  // namespace platform
