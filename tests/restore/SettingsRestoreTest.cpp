// The settings record of each boost and the restore that puts the display-driver and
// TCP/IP values back as they were before the first boost.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicsTuner.h"
#include "network/NetworkTuner.h"
#include "sim/Machine.h"
#include "restore/CheckedLines.h"
#include "restore/SettingsLine.h"
#include "restore/SettingsRecord.h"
#include "restore/SettingsRestore.h"

namespace {

using namespace win;

const std::string kFolder = "C:\\Games\\Kestrava";
const std::string kState = kFolder + "\\Restore";
const std::string kSettings = kState + "\\Settings";
const std::string kNetOpti = kState + "\\NetOpti";
const std::string kRestored = kState + "\\Restored";
const std::string kTcpip = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";

std::vector<BYTE> Dword(DWORD value) {
    std::vector<BYTE> data(4);
    std::memcpy(data.data(), &value, 4);
    return data;
}
std::vector<BYTE> Text(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

class SettingsRestoreTest : public ::testing::Test {
protected:
    SettingsRestoreTest() { NewMachine(); }
    // Only one machine exists at a time: a case that needs a fresh PC replaces it.
    void NewMachine() {
        machine.reset();
        machine = std::make_unique<sim::Machine>();
        machine->files.AddDirectory(kState);
    }

    std::string AdapterKey() { return GraphicsTuner().AdapterKey(); }

    // A PC as Windows left it: the keys a boost writes exist with values of their own,
    // some of the tuned values among them with other types and data.
    void PrepareNt() {
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, AdapterKey(), "DriverDesc", REG_SZ, Text("Video"));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, AdapterKey(), "D3D_88481200", REG_DWORD, Dword(7));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, AdapterKey(), "OGL_MaxFramesAllowed", REG_BINARY, {9});
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kTcpip, "Hostname", REG_SZ, Text("pc"));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", REG_DWORD, Dword(128));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", REG_DWORD, Dword(0xFFFFFFFF));
    }
    void Prepare9x() {
        machine->systemInfo.UseWindows9x();
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, AdapterKey(), "DriverDesc", REG_SZ, Text("Video"));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow", REG_SZ, Text("8760"));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", REG_SZ, {'3', '2'});
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kNetTrans + "0000", "DriverDesc", REG_SZ, Text("TCP/IP"));
        machine->registry.PutValue(HKEY_LOCAL_MACHINE, kNetTrans + "0001", "MaxMTU", REG_SZ, Text("1500"));
    }

    // What one press of the boost button writes, in its order, at the given second.
    void Boost(int profile, int size, WORD second) {
        machine->files.SetLocalTime(SYSTEMTIME{2025, 3, 0, 9, 21, 4, second, 0});
        SettingsRecord record;
        record.Start(SettingsRecordPath(kState));
        GraphicsTuner(&record).ApplyProfile(profile);
        NetworkTuner tuner;
        tuner.RecordOverwritesWith(&record);
        tuner.ApplyTcpTuning(size, MakeNetworkBackupPath(kState));
    }
    // A boost of the earlier program, which kept only the network backup.
    void BoostWithoutRecord(int profile, int size, WORD second) {
        machine->files.SetLocalTime(SYSTEMTIME{2025, 3, 0, 9, 21, 4, second, 0});
        GraphicsTuner().ApplyProfile(profile);
        NetworkTuner().ApplyTcpTuning(size, MakeNetworkBackupPath(kState));
    }
    std::string Registry() { return machine->registry.Dump(HKEY_LOCAL_MACHINE, "System"); }
    std::string RecordPath(WORD second) {
        machine->files.SetLocalTime(SYSTEMTIME{2025, 3, 0, 9, 21, 4, second, 0});
        return SettingsRecordPath(kState);
    }
    void WriteRecord(WORD second, const std::vector<std::string>& lines, const std::string& last = "") {
        std::string text = std::string(kSettingsRecordVersionLine) + "\r\n";
        for (const std::string& line : lines) text += line + "\r\n";
        machine->files.AddDirectory(kSettings);
        machine->files.WriteFile(RecordPath(second), text + last);
    }
    static OldSetting Old(const std::string& role, const std::string& name, DWORD type, std::vector<BYTE> data) {
        OldSetting setting;
        setting.role = role;
        setting.name = name;
        setting.existed = true;
        setting.type = type;
        setting.data = data;
        return setting;
    }
    DWORD TypeOf(const std::string& path, const std::string& name) {
        DWORD type = 0;
        std::vector<BYTE> data;
        return machine->registry.ReadValue(HKEY_LOCAL_MACHINE, path, name, type, data) ? type : 0xFFFF;
    }

    std::unique_ptr<sim::Machine> machine;
};

TEST_F(SettingsRestoreTest, AfterOneTwoAndThreeBoostsOfBothProfilesTheNtRegistryIsAsBeforeTheFirst) {
    for (int boosts = 1; boosts <= 3; ++boosts) {
        SCOPED_TRACE(boosts);
        NewMachine();
        PrepareNt();
        const std::string before = Registry();
        for (int i = 0; i < boosts; ++i) Boost(i % 2 == 0 ? 2 : 0, 1472 - 100 * i, static_cast<WORD>(10 + i));
        ASSERT_NE(Registry(), before);
        ASSERT_TRUE(HasSettingsToRestore(kState));
        const SettingsRestoreResult result = RestoreSettings(kState);
        EXPECT_EQ(Registry(), before);
        EXPECT_EQ(result.restored, 11 + 8);
        EXPECT_EQ(result.skipped, 0);
        EXPECT_EQ(machine->handles.OpenCount(), 0u);
        EXPECT_EQ(machine->files.OpenStreams(), 0u);
    }
}

TEST_F(SettingsRestoreTest, AfterOneTwoAndThreeBoostsThe9xRegistryIsAsBeforeTheFirstAndCreatedAdapterKeysGo) {
    for (int boosts = 1; boosts <= 3; ++boosts) {
        SCOPED_TRACE(boosts);
        NewMachine();
        Prepare9x();
        const std::string before = Registry();
        for (int i = 0; i < boosts; ++i) Boost(i % 2 == 0 ? 0 : 2, 1472 - 50 * i, static_cast<WORD>(10 + i));
        ASSERT_TRUE(machine->registry.KeyExists(HKEY_LOCAL_MACHINE, kNetTrans + "0009"));
        const SettingsRestoreResult result = RestoreSettings(kState);
        EXPECT_EQ(Registry(), before);
        EXPECT_FALSE(machine->registry.KeyExists(HKEY_LOCAL_MACHINE, kNetTrans + "0009"));
        EXPECT_TRUE(machine->registry.KeyExists(HKEY_LOCAL_MACHINE, kNetTrans + "0000"));
        EXPECT_EQ(result.restored, 11 + 6 + 2 + 10);
        EXPECT_EQ(result.skipped, 0);
    }
}

TEST_F(SettingsRestoreTest, BoostsInTheSameSecondShareOneRecordAndTheFirstOldContentWins) {
    PrepareNt();
    const std::string before = Registry();
    Boost(2, 1472, 30);
    Boost(0, 1372, 30);
    EXPECT_EQ(ReadTextLines(RecordPath(30), kSettingsRecordVersionLine).lines.size(), 2u * (12 + 8));
    RestoreSettings(kState);
    EXPECT_EQ(Registry(), before);
}

TEST_F(SettingsRestoreTest, TheUsedFilesMoveToRestoredAndASecondRestoreHasNothingToDo) {
    PrepareNt();
    Boost(2, 1472, 10);
    Boost(0, 1472, 11);
    RestoreSettings(kState);
    EXPECT_FALSE(HasSettingsToRestore(kState));
    EXPECT_FALSE(machine->files.Exists(RecordPath(10)));
    EXPECT_TRUE(machine->files.Exists(kRestored + "\\2025년3월9일21시4분10초.txt"));
    EXPECT_TRUE(machine->files.Exists(kRestored + "\\2025년3월9일21시4분11초.nbk"));
    const std::string after = Registry();
    const SettingsRestoreResult second = RestoreSettings(kState);
    EXPECT_EQ(second.restored, 0);
    EXPECT_EQ(second.skipped, 0);
    EXPECT_EQ(Registry(), after);

    // A later boost and restore: the earlier copies in Restored are kept beside the new ones.
    Boost(2, 1472, 10);
    RestoreSettings(kState);
    EXPECT_TRUE(machine->files.Exists(kRestored + "\\2025년3월9일21시4분10초 (2).txt"));
    EXPECT_TRUE(machine->files.Exists(kRestored + "\\2025년3월9일21시4분10초.txt"));
}

TEST_F(SettingsRestoreTest, NetworkBackupsAloneRestoreTheTcpValuesOnBothFamilies) {
    PrepareNt();
    const std::string ntBefore = machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip);
    BoostWithoutRecord(2, 1472, 1);
    BoostWithoutRecord(0, 1400, 2);
    const SettingsRestoreResult nt = RestoreSettings(kState);
    EXPECT_EQ(machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip), ntBefore);  // -1 read back as 0xFFFFFFFF
    EXPECT_EQ(nt.restored, 8);

    NewMachine();
    Prepare9x();
    BoostWithoutRecord(0, 1472, 1);
    BoostWithoutRecord(2, 1400, 2);
    const SettingsRestoreResult restored = RestoreSettings(kState);
    EXPECT_EQ(restored.restored, 9);
    // Strings stay strings (as the tuning writes them), MaxDupAcks did not exist, and
    // only adapter 0001's MaxMTU was backed up.
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow", type, data));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::string(data.begin(), data.end()), "8760");
    EXPECT_EQ(TypeOf(kMstcp + "\\Parameters", "MaxDupAcks"), 0xFFFFu);
    EXPECT_EQ(TypeOf(kMstcp, "PMTUDiscovery"), 0xFFFFu);
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kNetTrans + "0001", "MaxMTU", type, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "1500");
    EXPECT_EQ(TypeOf(kNetTrans + "0002", "MaxMTU"), REG_SZ);
}

// A player who boosted with the earlier program, then with this one: the earlier backup
// holds the state before Kestrava, the newer record only what the earlier boost wrote.
TEST_F(SettingsRestoreTest, AnOlderNetworkBackupWinsOverANewerRecordAndAnOlderRecordOverANewerBackup) {
    PrepareNt();
    const std::string tcpBefore = machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip);
    BoostWithoutRecord(2, 1472, 1);
    Boost(0, 1400, 2);
    RestoreSettings(kState);
    EXPECT_EQ(machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip), tcpBefore);

    Boost(2, 1472, 3);
    machine->registry.PutValue(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", REG_DWORD, Dword(99));
    BoostWithoutRecord(0, 1400, 4);  // its backup says 99, the older record 128
    RestoreSettings(kState);
    EXPECT_EQ(machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip), tcpBefore);
}

// Boosts on Windows Vista and later leave black-hole detection alone; the 0 that an earlier
// release wrote there (as this one still does on XP) is put back from that release's backup.
TEST_F(SettingsRestoreTest, TheBlackHoleDetectionThatAnEarlierReleaseSwitchedOffComesBack) {
    PrepareNt();
    const std::string tcpBefore = machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip);
    BoostWithoutRecord(2, 1472, 1);
    machine->systemInfo.SetVersion(10, 0);
    Boost(0, 1400, 2);
    ASSERT_EQ(TypeOf(kTcpip, "EnablePMTUBHDetect"), REG_DWORD);
    const SettingsRestoreResult result = RestoreSettings(kState);
    EXPECT_EQ(machine->registry.Dump(HKEY_LOCAL_MACHINE, kTcpip), tcpBefore);
    EXPECT_EQ(TypeOf(kTcpip, "EnablePMTUBHDetect"), 0xFFFFu);
    EXPECT_EQ(result.restored, 11 + 8);
    EXPECT_EQ(result.skipped, 0);
}

// A value that is there but cannot be read is recorded neither as absent nor with content,
// in the record and in the backup alike, so that a restore leaves it instead of deleting it.
TEST_F(SettingsRestoreTest, AValueThatCannotBeReadGetsNoLineAndARestoreKeepsIt) {
    PrepareNt();
    machine->registry.DenyValueQuery(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL");
    Boost(2, 1472, 10);
    const std::string record = machine->files.Read(RecordPath(10));
    const std::string backup = machine->files.Read(kNetOpti + "\\2025년3월9일21시4분10초.nbk");
    EXPECT_NE(record.find("TcpWindowSize"), std::string::npos);
    EXPECT_EQ(record.find("DefaultTTL"), std::string::npos);
    EXPECT_NE(backup.find("TcpWindowSize"), std::string::npos);
    EXPECT_EQ(backup.find("DefaultTTL"), std::string::npos);

    RestoreSettings(kState);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", type, data));
    EXPECT_EQ(data, Dword(64));
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", type, data));
    EXPECT_EQ(data, Dword(0xFFFFFFFF));
}

TEST_F(SettingsRestoreTest, CutCorruptAndCraftedLinesAreSkippedCountedAndTouchNothingElse) {
    PrepareNt();
    machine->registry.PutValue(HKEY_LOCAL_MACHINE, "Software\\Policies", "Run", REG_SZ, Text("safe"));
    machine->registry.PutValue(HKEY_LOCAL_MACHINE, kTcpip, "SackOpts", REG_DWORD, Dword(1));
    const std::string good = SettingsLine(Old("tcpip", "DefaultTTL", REG_DWORD, Dword(77)));
    std::string corrupt = SettingsLine(Old("tcpip", "SackOpts", REG_DWORD, Dword(5)));
    corrupt[corrupt.find(" 4 ") + 1] = '3';  // the type changed after the check was made
    WriteRecord(1, {
                       "garbage",
                       corrupt,
                       SettingsLine(Old("policies", "Run", REG_SZ, Text("evil"))),      // a foreign key
                       SettingsLine(Old("tcpip", "Hostname", REG_SZ, Text("evil"))),    // a foreign value
                       SettingsLine(Old("display", "DriverDesc", REG_SZ, Text("evil"))),
                       "value tcpip DefaultTTL 0 4 01000000",  // no check
                       good,
                   },
                /*cut short by a kill*/ SettingsLine(Old("tcpip", "TcpWindowSize", REG_DWORD, Dword(1))).substr(0, 20));
    machine->files.AddDirectory(kNetOpti);
    machine->files.WriteFile(kNetOpti + "\\2025년3월9일21시4분0초.nbk",
                            "SackOpts\r\n9x\r\nHostname\r\n1\r\nTcp1323Opts\r\n3\r\nDefaultTTL\r\n");
    // Files of other names are none of this program's.
    machine->files.WriteFile(kSettings + "\\notes.txt", std::string(kSettingsRecordVersionLine) + "\r\n" + good + "\r\n");
    machine->files.WriteFile(kSettings + "\\2025년03월9일21시4분0초.txt", "");

    const SettingsRestoreResult result = RestoreSettings(kState);
    EXPECT_EQ(result.restored, 2);  // DefaultTTL from the record, Tcp1323Opts from the backup
    EXPECT_EQ(result.skipped, 7 + 5);  // the backup: SackOpts (its content), 9x, Hostname, 1, a lone DefaultTTL
    EXPECT_EQ(machine->registry.Dump(HKEY_LOCAL_MACHINE, "Software\\Policies"), "[hklm\\software\\policies]\nrun 1:7361666500\n");
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpip, "Hostname", type, data));
    EXPECT_EQ(data, Text("pc"));
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpip, "SackOpts", type, data));
    EXPECT_EQ(data, Dword(1));
    ASSERT_TRUE(machine->registry.ReadValue(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", type, data));
    EXPECT_EQ(data, Dword(77));
    EXPECT_TRUE(machine->files.Exists(kSettings + "\\notes.txt"));
}

TEST_F(SettingsRestoreTest, ARecordOfAnotherVersionIsNotReadButCounted) {
    PrepareNt();
    machine->files.AddDirectory(kSettings);
    machine->files.WriteFile(RecordPath(5), "Kestrava settings record 2\r\n" +
                                               SettingsLine(Old("tcpip", "DefaultTTL", REG_DWORD, Dword(1))) + "\r\n");
    const SettingsRestoreResult result = RestoreSettings(kState);
    EXPECT_EQ(result.restored, 0);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(TypeOf(kTcpip, "DefaultTTL"), REG_DWORD);
}

TEST(SettingsLine, ReadsBackWhatItWritesAndRefusesAnyOtherSpelling) {
    OldSetting binary;
    binary.role = "display";
    binary.name = "D3D_88481200";
    binary.existed = true;
    binary.type = REG_BINARY;
    binary.data = {0xE8, 0xFF, 0xFF, 0xFF};
    OldSetting empty = binary;
    empty.data.clear();
    OldSetting absent;
    absent.role = "adapter-0003";
    absent.name = "MaxMTU";
    absent.createdKey = true;
    for (const OldSetting& setting : {binary, empty, absent}) {
        OldSetting read;
        ASSERT_TRUE(ParseSettingsLine(SettingsLine(setting), read)) << SettingsLine(setting);
        EXPECT_EQ(read.role, setting.role);
        EXPECT_EQ(read.name, setting.name);
        EXPECT_EQ(read.existed, setting.existed);
        EXPECT_EQ(read.type, setting.type);
        EXPECT_EQ(read.data, setting.data);
        EXPECT_EQ(read.createdKey, setting.createdKey);
    }
    EXPECT_EQ(SettingsLine(binary).substr(0, 36), "value display D3D_88481200 0 3 e8fff");
    OldSetting read;
    for (const char* body : {"value display D3D_88481200 0 3 E8FFFFFF", "value display D3D_88481200 0 3 e8f",
                             "value display D3D_88481200 2 3 e8", "absent display D3D_88481200 0 3 e8",
                             "value display D3D_88481200 0 3", "absent  display MaxMTU 0", "absent display Max MTU 0"}) {
        EXPECT_FALSE(ParseSettingsLine(CheckedLine(body), read)) << body;
    }
}

}  // namespace
