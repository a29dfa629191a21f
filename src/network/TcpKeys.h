// The TCP/IP keys under HKEY_LOCAL_MACHINE that the tuning writes, and their values.
#pragma once

// NT family, all REG_DWORD, in the order of writing. Windows Vista and later detect black-hole
// routers by default, and the tuning leaves that value alone there.
constexpr const char* kNtTcpParameters = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kNtBlackHoleDetect = "EnablePMTUBHDetect";
constexpr const char* kNtTcpValues[] = {"SackOpts",           "TcpWindowSize",       "Tcp1323Opts",
                                        "DefaultTTL",         kNtBlackHoleDetect,    "EnablePMTUDiscovery",
                                        "GlobalMaxTcpWindowSize", "TcpMaxDupAcks"};
// 9x family
constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kMstcpParameters = "System\\CurrentControlSet\\Services\\VxD\\MSTCP\\Parameters";
// Followed by the adapter number, "0000" to "0009".
constexpr const char* kNetTransAdapter = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
constexpr int kNetTransAdapters = 10;
// The values of each 9x key; all REG_SZ but MaxDupAcks, a REG_DWORD.
constexpr const char* kMstcpValues[] = {"DefaultRcvWindow", "DefaultMSS",         "DefaultTTL",
                                        "PMTUDiscovery",    "PMTUBlackHoleDetect", "Tcp1323Opts"};
constexpr const char* kMstcpParametersValues[] = {"SackOpts", "MaxDupAcks"};
constexpr const char* kNetTransAdapterValue = "MaxMTU";
