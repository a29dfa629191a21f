#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "network/NetworkTuner.h"
#include "registry/OverwriteRecorder.h"
#include "sim/Machine.h"

namespace {

using win::DWORD;
using win::HKEY_LOCAL_MACHINE;

const std::string kNt = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kMstcpParameters = kMstcp + "\\Parameters";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
const std::string kBackup = "C:\\Kestrava\\backup.nbk";

void PutDword(sim::Machine& machine, const std::string& path, const std::string& name, DWORD value) {
    std::vector<win::BYTE> data(4);
    std::memcpy(data.data(), &value, 4);
    machine.registry.PutValue(HKEY_LOCAL_MACHINE, path, name, win::REG_DWORD, data);
}

void PutString(sim::Machine& machine, const std::string& path, const std::string& name, const std::string& text) {
    std::vector<win::BYTE> data(text.begin(), text.end());
    data.push_back(0);
    machine.registry.PutValue(HKEY_LOCAL_MACHINE, path, name, win::REG_SZ, data);
}

// The value as "dword:N" or "sz:text", or "missing".
std::string ValueOf(sim::Machine& machine, const std::string& path, const std::string& name) {
    DWORD type = 0;
    std::vector<win::BYTE> data;
    if (!machine.registry.ReadValue(HKEY_LOCAL_MACHINE, path, name, type, data)) return "missing";
    if (type == win::REG_DWORD && data.size() == 4) {
        DWORD value;
        std::memcpy(&value, data.data(), 4);
        return "dword:" + std::to_string(value);
    }
    if (type == win::REG_SZ) return "sz:" + std::string(data.begin(), std::find(data.begin(), data.end(), 0));
    return "other";
}

// Lines joined with CR LF, each line ended.
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

TEST(TcpTuning, SegmentSizeAndWindowOnBothFamilies) {
    sim::Machine machine;
    NetworkTuner tuner;
    struct Case {
        int size, mss, windowNt, window9x;
    } cases[] = {
        {1472, 1432, 372320, 64440},  // 260 and 45 segments
        {1500, 1460, 372300, 64240},
        {41, 1, 372564, 65535},
        {40, 0, 0, 0},
        {400040, 400000, 400000, 400000},  // a segment above the limit is the window by itself
    };
    for (const Case& c : cases) {
        int mss = -1;
        int window = -1;
        machine.systemInfo.UseWindowsNt();
        tuner.ComputeMssAndWindow(c.size, mss, window);
        EXPECT_EQ(mss, c.mss) << c.size;
        EXPECT_EQ(window, c.windowNt) << c.size;
        machine.systemInfo.UseWindows9x();
        tuner.ComputeMssAndWindow(c.size, mss, window);
        EXPECT_EQ(mss, c.mss) << c.size;
        EXPECT_EQ(window, c.window9x) << c.size;
    }
}

TEST(TcpTuning, NtFamilyWritesDwordsAndRecordsTheOldOnes) {
    sim::Machine machine;
    machine.files.AddDirectory("C:\\Kestrava");
    PutDword(machine, kNt, "SackOpts", 0);
    PutDword(machine, kNt, "TcpWindowSize", 4294967295u);
    PutDword(machine, kNt, "DefaultTTL", 128);

    NetworkTuner tuner;
    tuner.ApplyTcpTuning(1472, kBackup);

    EXPECT_EQ(ValueOf(machine, kNt, "SackOpts"), "dword:1");
    EXPECT_EQ(ValueOf(machine, kNt, "TcpWindowSize"), "dword:372320");
    EXPECT_EQ(ValueOf(machine, kNt, "Tcp1323Opts"), "dword:1");
    EXPECT_EQ(ValueOf(machine, kNt, "DefaultTTL"), "dword:64");
    EXPECT_EQ(ValueOf(machine, kNt, "EnablePMTUBHDetect"), "dword:0");
    EXPECT_EQ(ValueOf(machine, kNt, "EnablePMTUDiscovery"), "dword:1");
    EXPECT_EQ(ValueOf(machine, kNt, "GlobalMaxTcpWindowSize"), "dword:372320");
    EXPECT_EQ(ValueOf(machine, kNt, "TcpMaxDupAcks"), "dword:2");
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_LOCAL_MACHINE, kMstcp));

    EXPECT_EQ(machine.files.Read(kBackup),
              Lines({"SackOpts", "0", "TcpWindowSize", "-1", "Tcp1323Opts", "Default", "DefaultTTL", "128",
                     "EnablePMTUBHDetect", "Default", "EnablePMTUDiscovery", "Default", "GlobalMaxTcpWindowSize",
                     "Default", "TcpMaxDupAcks", "Default"}));
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

struct NamesRecorder : OverwriteRecorder {
    void BeforeOverwrite(RegistryKey&, const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

// Windows Vista (NT 6.0) and later detect black-hole routers by default: the value is left as
// it is, with no backup or record line, even under a compatibility layer that reports an older
// Windows. Earlier NT releases get all eight values.
TEST(TcpTuning, BlackHoleDetectionIsLeftAloneFromVistaOn) {
    const std::vector<std::string> seven = {"SackOpts",   "TcpWindowSize",       "Tcp1323Opts",
                                            "DefaultTTL", "EnablePMTUDiscovery", "GlobalMaxTcpWindowSize",
                                            "TcpMaxDupAcks"};
    struct Case {
        DWORD major, minor;
        bool leftAlone;
        bool layer;
    } cases[] = {{4, 0, false, false}, {5, 2, false, false}, {6, 0, true, false},
                 {6, 2, true, false},  {10, 0, true, false}, {10, 0, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + (c.layer ? " layered" : ""));
        sim::Machine machine;
        machine.systemInfo.SetVersion(c.major, c.minor);
        if (c.layer) machine.systemInfo.UseWindows9xLayer();
        machine.files.AddDirectory("C:\\Kestrava");
        PutDword(machine, kNt, "EnablePMTUBHDetect", 1);
        NamesRecorder recorder;
        NetworkTuner tuner;
        tuner.RecordOverwritesWith(&recorder);
        tuner.ApplyTcpTuning(1472, kBackup);

        std::vector<std::string> written = seven;
        if (!c.leftAlone) written.insert(written.begin() + 4, "EnablePMTUBHDetect");
        EXPECT_EQ(recorder.names, written);
        EXPECT_EQ(ValueOf(machine, kNt, "EnablePMTUBHDetect"), c.leftAlone ? "dword:1" : "dword:0");
        EXPECT_EQ(ValueOf(machine, kNt, "TcpWindowSize"), "dword:372320");
        EXPECT_EQ(ValueOf(machine, kNt, "TcpMaxDupAcks"), "dword:2");
        std::vector<std::string> backup;
        for (const std::string& name : written) {
            backup.push_back(name);
            backup.push_back(name == "EnablePMTUBHDetect" ? "1" : "Default");
        }
        EXPECT_EQ(machine.files.Read(kBackup), Lines(backup));
    }
}

TEST(TcpTuning, NineXFamilyWritesStringsAndEveryAdapterMaxMtu) {
    sim::Machine machine;
    machine.systemInfo.UseWindows9x();
    machine.files.AddDirectory("C:\\Kestrava");
    PutString(machine, kMstcp, "DefaultRcvWindow", "8760");
    PutString(machine, kMstcp, "DefaultTTL", "32");
    PutDword(machine, kMstcpParameters, "MaxDupAcks", 3);
    PutString(machine, kNetTrans + "0000", "MaxMTU", "576");
    PutString(machine, kNetTrans + "0001", "MaxMTU", "1500");

    NetworkTuner tuner;
    tuner.ApplyTcpTuning(1472, kBackup);

    EXPECT_EQ(ValueOf(machine, kMstcp, "DefaultRcvWindow"), "sz:64440");
    EXPECT_EQ(ValueOf(machine, kMstcp, "DefaultMSS"), "sz:1432");
    EXPECT_EQ(ValueOf(machine, kMstcp, "DefaultTTL"), "sz:64");
    EXPECT_EQ(ValueOf(machine, kMstcp, "PMTUDiscovery"), "sz:1");
    EXPECT_EQ(ValueOf(machine, kMstcp, "PMTUBlackHoleDetect"), "sz:0");
    EXPECT_EQ(ValueOf(machine, kMstcp, "Tcp1323Opts"), "sz:1");
    EXPECT_EQ(ValueOf(machine, kMstcpParameters, "SackOpts"), "sz:1");
    EXPECT_EQ(ValueOf(machine, kMstcpParameters, "MaxDupAcks"), "dword:2");
    for (int adapter = 0; adapter <= 9; ++adapter) {
        EXPECT_EQ(ValueOf(machine, kNetTrans + "000" + std::to_string(adapter), "MaxMTU"), "sz:1472") << adapter;
    }
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_LOCAL_MACHINE, kNetTrans + "0010"));
    EXPECT_FALSE(machine.registry.KeyExists(HKEY_LOCAL_MACHINE, kNt));

    // MaxMTU's old value is adapter 0001's only.
    EXPECT_EQ(machine.files.Read(kBackup),
              Lines({"DefaultRcvWindow", "8760", "DefaultMSS", "Default", "DefaultTTL", "32", "PMTUDiscovery",
                     "Default", "PMTUBlackHoleDetect", "Default", "SackOpts", "Default", "MaxDupAcks", "3", "MaxMTU",
                     "1500", "Tcp1323Opts", "Default"}));
}

TEST(TcpTuning, BackupsInTheSameSecondShareAFile) {
    sim::Machine machine;
    machine.files.AddDirectory("C:\\Kestrava");
    NetworkTuner tuner;

    std::string first = MakeNetworkBackupPath("C:\\Kestrava");
    tuner.ApplyTcpTuning(1472, first);
    std::string second = MakeNetworkBackupPath("C:\\Kestrava");
    ASSERT_EQ(second, first);
    tuner.ApplyTcpTuning(1500, second);
    win::SYSTEMTIME later{2024, 1, 5, 5, 9, 3, 8, 0};
    machine.files.SetLocalTime(later);
    std::string third = MakeNetworkBackupPath("C:\\Kestrava");
    ASSERT_NE(third, first);
    tuner.ApplyTcpTuning(1500, third);

    const std::string defaults = Lines({"SackOpts", "Default", "TcpWindowSize", "Default", "Tcp1323Opts", "Default",
                                        "DefaultTTL", "Default", "EnablePMTUBHDetect", "Default",
                                        "EnablePMTUDiscovery", "Default", "GlobalMaxTcpWindowSize", "Default",
                                        "TcpMaxDupAcks", "Default"});
    // Each call records only what it found: the second block holds the first call's values.
    const std::string afterFirst = Lines({"SackOpts", "1", "TcpWindowSize", "372320", "Tcp1323Opts", "1",
                                          "DefaultTTL", "64", "EnablePMTUBHDetect", "0", "EnablePMTUDiscovery",
                                          "1", "GlobalMaxTcpWindowSize", "372320", "TcpMaxDupAcks", "2"});
    EXPECT_EQ(machine.files.Read(first), defaults + afterFirst);
    EXPECT_EQ(machine.files.Read(third).rfind(Lines({"SackOpts", "1", "TcpWindowSize", "372300"}), 0), 0u);
}

TEST(TcpTuning, BackupFileThatCannotBeOpenedLosesNothingElse) {
    sim::Machine machine;
    machine.files.AddDirectory("C:\\Kestrava");
    machine.files.WriteFile("C:\\Kestrava\\older.nbk", "SackOpts\r\n0\r\n");
    machine.files.DenyAccess(kBackup);

    NetworkTuner tuner;
    tuner.ApplyTcpTuning(1472, kBackup);
    EXPECT_EQ(ValueOf(machine, kNt, "TcpWindowSize"), "dword:372320");
    EXPECT_EQ(ValueOf(machine, kNt, "TcpMaxDupAcks"), "dword:2");
    EXPECT_EQ(machine.files.Read("C:\\Kestrava\\older.nbk"), "SackOpts\r\n0\r\n");
    EXPECT_FALSE(machine.files.Exists(kBackup));
    EXPECT_EQ(machine.files.OpenStreams(), 0u);

    // A folder that is missing altogether fails the same way.
    tuner.ApplyTcpTuning(1500, "C:\\Nowhere\\x.nbk");
    EXPECT_EQ(ValueOf(machine, kNt, "TcpWindowSize"), "dword:372300");
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

}  // namespace
