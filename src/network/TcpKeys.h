// The TCP/IP keys under HKEY_LOCAL_MACHINE that the tuning writes.
#pragma once

// NT family
constexpr const char* kNtTcpParameters = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
// 9x family
constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kMstcpParameters = "System\\CurrentControlSet\\Services\\VxD\\MSTCP\\Parameters";
// Followed by the adapter number, "0000" to "0009".
constexpr const char* kNetTransAdapter = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
constexpr int kNetTransAdapters = 10;
