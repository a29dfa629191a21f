// TCP/IP registry parameters derived from the probed payload size, for both
// Windows families.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "network/NetworkBackup.h"
#include "network/NetworkTuner.h"
#include "network/TcpKeys.h"
#include "platform/Platform.h"
#include "platform/WindowsFamily.h"
#include "registry/OverwriteRecorder.h"
#include "registry/RegistryKey.h"

namespace {

constexpr int kIpAndTcpHeaders = 40;
constexpr int kWindowLimit9x = 65535;
constexpr int kWindowLimitNt = 372564;

std::string Decimal(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

// Windows Vista and later detect black-hole routers by default, so that connections behind a
// router that drops "fragmentation needed" do not hang; switching it off there does harm.
bool DetectsBlackHolesByDefault() { return platform::IsVistaOrLater(); }

}  // namespace

void NetworkTuner::ComputeMssAndWindow(int size, int& mss, int& window) {
    const int limit = platform::IsNtFamily() ? kWindowLimitNt : kWindowLimit9x;
    mss = size - kIpAndTcpHeaders;
    // The largest whole multiple of the segment size within the limit, at least one segment.
    window = mss > 0 ? mss * std::max(1, limit / mss) : mss;
}

void NetworkTuner::ApplyTcpTuning(int size, const std::string& backupPath) {
    tcpBackupText.clear();
    const bool nt = platform::IsNtFamily();
    int mss = 0;
    int window = 0;
    ComputeMssAndWindow(size, mss, window);
    if (nt) {
        ApplyNtValues(window);
    } else {
        Apply9xValues(size, mss, window);
    }
    network::AppendNetworkBackup(backupPath, tcpBackupText);
}

void NetworkTuner::BeforeOverwrite(RegistryKey& key, const char* name) {
    if (overwriteRecorder) overwriteRecorder->BeforeOverwrite(key, name);
}

void NetworkTuner::ApplyNtValues(int window) {
    const auto windowBytes = static_cast<win::DWORD>(window);
    const win::DWORD values[] = {1, windowBytes, 1, 64, 0, 1, windowBytes, 2};
    static_assert(std::size(values) == std::size(kNtTcpValues), "one value per name");
    const bool leaveBlackHoleDetection = DetectsBlackHolesByDefault();
    RegistryKey key;
    key.Open(win::HKEY_LOCAL_MACHINE, kNtTcpParameters, true, false);
    for (size_t i = 0; i < std::size(values); ++i) {
        if (leaveBlackHoleDetection && std::strcmp(kNtTcpValues[i], kNtBlackHoleDetect) == 0) continue;
        RecordOldValue(key, kNtTcpValues[i], OldValue::Dword);
        BeforeOverwrite(key, kNtTcpValues[i]);
        key.SetDword(kNtTcpValues[i], values[i]);
    }
    key.Close();
}

void NetworkTuner::Apply9xValues(int size, int mss, int window) {
    RegistryKey key;
    auto setString = [this, &key](const std::string& path, const char* name, const std::string& text) {
        key.Open(win::HKEY_LOCAL_MACHINE, path, true, false);
        RecordOldValue(key, name, OldValue::String);
        BeforeOverwrite(key, name);
        key.SetString(name, text);
        key.Close();
    };
    setString(kMstcp, "DefaultRcvWindow", Decimal(window));
    setString(kMstcp, "DefaultMSS", Decimal(mss));
    setString(kMstcp, "DefaultTTL", "64");
    setString(kMstcp, "PMTUDiscovery", "1");
    setString(kMstcp, "PMTUBlackHoleDetect", "0");
    setString(kMstcpParameters, "SackOpts", "1");

    key.Open(win::HKEY_LOCAL_MACHINE, kMstcpParameters, true, false);
    RecordOldValue(key, "MaxDupAcks", OldValue::Dword);
    BeforeOverwrite(key, "MaxDupAcks");
    key.SetDword("MaxDupAcks", 2);
    key.Close();

    // The backup keeps adapter 0001's old MaxMTU; adapters 0000 to 0009 all get the new one.
    key.Open(win::HKEY_LOCAL_MACHINE, std::string(kNetTransAdapter) + "0001", true, false);
    RecordOldValue(key, "MaxMTU", OldValue::String);
    key.Close();
    for (int adapter = 0; adapter < kNetTransAdapters; ++adapter) {
        key.Open(win::HKEY_LOCAL_MACHINE, std::string(kNetTransAdapter) + "000" + Decimal(adapter), true, false);
        BeforeOverwrite(key, "MaxMTU");
        key.SetString("MaxMTU", Decimal(size));
        key.Close();
    }

    setString(kMstcp, "Tcp1323Opts", "1");
}
