#include <gtest/gtest.h>

#include "sim/MachineTest.h"
#include "rules/DefaultScript.h"
#include "rules/RuleEngine.h"

namespace {

using Texts = std::vector<std::string>;
constexpr win::DWORD kIdle = win::IDLE_PRIORITY_CLASS;
constexpr win::DWORD kNormal = win::NORMAL_PRIORITY_CLASS;
constexpr win::DWORD kRealtime = win::REALTIME_PRIORITY_CLASS;

class RuleExecutor : public sim::MachineTest {
protected:
    void Run(const std::string& script) {
        engine.Parse(script);
        engine.Execute(0);
    }
    // The log as written by the program (the text stream's CR LF turned back into LF).
    std::string Log() const {
        std::string text;
        for (char c : machine.files.Read("c:\\debuglog.txt")) {
            if (c != '\r') text += c;
        }
        return text;
    }
    // The pass 2 entries, one per operation.
    Texts Operations() const {
        Texts operations;
        std::string log = Log();
        for (size_t at = log.find("clsEnhance."); at != std::string::npos; at = log.find("clsEnhance.", at + 1)) {
            operations.push_back(log.substr(at, log.find('\n', at) - at));
        }
        return operations;
    }
    win::DWORD FirstThread(win::DWORD process) const { return machine.processes.ThreadsOf(process).at(0); }
    win::DWORD MaintainedValue(const std::string& key, const std::string& name) const {
        win::DWORD type = 0;
        std::vector<win::BYTE> data;
        if (!machine.registry.ReadValue(win::HKEY_CURRENT_USER, "Software\\Kestrava\\Maintain\\" + key, name, type,
                                        data) ||
            type != win::REG_DWORD || data.size() != 4) {
            return 0xDEAD;
        }
        return data[0] | data[1] << 8 | data[2] << 16 | static_cast<win::DWORD>(data[3]) << 24;
    }

    RuleEngine engine;
    const win::DWORD self = machine.processes.CurrentProcess();
};

TEST_F(RuleExecutor, DefaultSectionOnFourProcessorsThrottlesEveryProcess) {
    const win::DWORD explorer = machine.processes.AddProcess("C:\\Windows\\Explorer.EXE");
    const win::DWORD game = machine.processes.AddProcess("D:\\Games\\game.exe", 3);
    const win::DWORD kav = machine.processes.AddProcess("C:\\Program Files\\Kaspersky\\kav.exe");
    Run(ComposeRuleScript(false));

    EXPECT_TRUE(engine.IsBoostApplied());
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 4);
    const win::DWORD ids[] = {self, explorer, game, kav};
    for (int i = 0; i < 4; ++i) {
        const RestoreRecord& record = *engine.RestoreRecords()[i];
        EXPECT_EQ(record.processId, ids[i]);
        EXPECT_EQ(record.restoreFlags, ids[i] == kav ? 0x38u : 0x18u);
        EXPECT_EQ(record.previousPriorityClass, kNormal);
        EXPECT_EQ(record.previousAffinityMask, 0xFu);
        EXPECT_EQ(machine.processes.PriorityOf(ids[i]), kIdle);
        EXPECT_EQ(machine.processes.AffinityOf(ids[i]), 0x8u);
        EXPECT_EQ(machine.processes.WorkingSetTrims(ids[i]), 1);
    }
    EXPECT_EQ(machine.processes.SuspendCount(FirstThread(kav)), 1u);
    EXPECT_EQ(machine.processes.SuspendCount(FirstThread(game)), 0u);

    Texts affinity;
    for (const std::string& operation : Operations()) {
        if (operation.rfind("clsEnhance.SetProcessAffinity", 0) == 0) affinity.push_back(operation);
    }
    EXPECT_EQ(affinity, (Texts{"clsEnhance.SetProcessAffinity: vornel.exe(8)",
                               "clsEnhance.SetProcessAffinity: explorer.exe(8)",
                               "clsEnhance.SetProcessAffinity: game.exe(8)",
                               "clsEnhance.SetProcessAffinity: kav.exe(8)"}));
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

TEST_F(RuleExecutor, LogsEveryStepOfAPolicyValue) {
    machine.processes.AddProcess("C:\\a.exe");
    machine.processes.AddProcess("C:\\b.exe");
    Run("[s]\npolicy=suspend \"A.exe\" \"on\"\npolicy=cpumask \"b.exe\" \"first\"");
    EXPECT_EQ(Log(),
              "ExecuteRuleRoutine: Function = [suspend]\n\n"
              "   - 'A.exe'\n\n"
              "   - 'on'\n\n"
              "Mask Applied\n\n"
              "mask added\n\n"
              "ApplyMask(ProcCmd)\n\n"
              "ApplyMask(Service)\n\n"
              "Execute rule routine end///\n\n"
              "ExecuteRuleRoutine: Function = [cpumask]\n\n"
              "   - 'b.exe'\n\n"
              "   - 'first'\n\n"
              "Mask Applied\n\n"
              "mask added\n\n"
              "ApplyMask(ProcCmd)\n\n"
              "ApplyMask(Service)\n\n"
              "Execute rule routine end///\n\n"
              "clsEnhance.SuspendProcess:a.exe\n\n"
              "clsEnhance.SetProcessAffinity: b.exe(1)\n");
}

TEST_F(RuleExecutor, UnrecognisedCommandsOnlyLog) {
    Run("[s]\npolicy=\npolicy=\"suspend\" \"all\" \"on\"");
    EXPECT_EQ(Log(),
              "ExecuteRuleRoutine: Function = []\n\n"
              "Mask Applied\n\nUnknown Command!!\n\nApplyMask(ProcCmd)\n\nApplyMask(Service)\n\n"
              "Execute rule routine end///\n\n"
              "ExecuteRuleRoutine: Function = [\"suspend\"]\n\n   - 'all'\n\n   - 'on'\n\n"
              "Mask Applied\n\nUnknown Command!!\n\nApplyMask(ProcCmd)\n\nApplyMask(Service)\n\n"
              "Execute rule routine end///\n\n");
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
    EXPECT_EQ(machine.processes.SuspendCount(FirstThread(self)), 0u);
}

TEST_F(RuleExecutor, PassTwoPerformsActionsInItsFixedOrder) {
    const win::DWORD id = machine.processes.AddProcess("C:\\all.exe");
    win::HWND window = machine.user.CreateTopLevelWindow("Frame", "all", id, true);
    Run("[s]\n"
        "policy=resume \"all.exe\" \"on\"\npolicy=suspend \"all.exe\" \"on\"\npolicy=swapout \"all.exe\" \"on\"\n"
        "policy=hide \"all.exe\" \"on\"\npolicy=show \"all.exe\" \"on\"\npolicy=cpumask \"all.exe\" \"first\"\n"
        "policy=Priority \"all.exe\" \"HiGh\"\n");
    EXPECT_EQ(Operations(), (Texts{"clsEnhance.SetProcessPriorityToHigh:all.exe",
                                   "clsEnhance.SetProcessAffinity: all.exe(1)",
                                   "clsEnhance.ShowProcessWindow:all.exe", "clsEnhance.HideProcessWindow:all.exe",
                                   "clsEnhance.SwapoutProcessMemory:all.exe", "clsEnhance.SuspendProcess:all.exe",
                                   "clsEnhance.ResumeProcess:all.exe"}));
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 1);
    const RestoreRecord& record = *engine.RestoreRecords()[0];
    EXPECT_EQ(record.processId, id);
    EXPECT_EQ(record.restoreFlags, 0x38u);
    EXPECT_EQ(record.previousPriorityClass, kNormal);
    EXPECT_EQ(record.previousAffinityMask, 0xFu);
    EXPECT_EQ(machine.processes.PriorityOf(id), kRealtime);
    EXPECT_EQ(machine.processes.AffinityOf(id), 1u);
    EXPECT_EQ(machine.processes.SuspendCount(FirstThread(id)), 0u);
    // Shown first, then hidden: two entries, both taken while the window was visible.
    EXPECT_EQ(engine.WindowStates().windows, (std::vector<win::HWND>{window, window}));
    EXPECT_EQ(engine.WindowStates().wasVisible, (std::vector<win::WORD>{1, 1}));
    EXPECT_FALSE(machine.user.IsWindowVisible(window));
}

TEST_F(RuleExecutor, TargetsMatchTheExecutableNameInAnyCase) {
    const win::DWORD csrss = machine.processes.AddProcess("C:\\WINDOWS\\system32\\CSRSS.EXE");
    const win::DWORD other = machine.processes.AddProcess("C:\\other.exe");
    Run("[s]\npolicy=swapout \"csrss.exe\" \"on\"\npolicy=suspend \"C:\\WINDOWS\\system32\\csrss.exe\" \"on\"\n"
        "policy=cpumask \"ALL\" \"first\"");
    EXPECT_EQ(machine.processes.WorkingSetTrims(csrss), 1);
    EXPECT_EQ(machine.processes.WorkingSetTrims(other), 0);
    EXPECT_EQ(machine.processes.SuspendCount(FirstThread(csrss)), 0u);
    EXPECT_EQ(machine.processes.AffinityOf(self), 1u);
    EXPECT_EQ(machine.processes.AffinityOf(other), 1u);
    // The directory path matched nothing, so its value added no mask.
    std::string log = Log();
    size_t pathValue = log.find("Function = [suspend]");
    ASSERT_NE(pathValue, std::string::npos);
    EXPECT_EQ(log.substr(pathValue, log.find("Execute rule routine end", pathValue) - pathValue).find("mask"),
              std::string::npos);
}

TEST_F(RuleExecutor, LaterValuesKeepEarlierPriorityAndMaskChoices) {
    const win::DWORD game = machine.processes.AddProcess("C:\\game.exe");
    const win::DWORD highest = machine.processes.AddProcess("C:\\highest.exe");
    const win::DWORD bare = machine.processes.AddProcess("C:\\bare.exe");
    Run("[s]\npolicy=priority \"game.exe\" \"HIGH\"\npolicy=cpumask \"game.exe\" \"first\"\n"
        "policy=suspend \"game.exe\" \"off\"\npolicy=swapout \"all\" \"on\"\n"
        "policy=priority \"highest.exe\" \"highest\"\npolicy=priority \"bare.exe\"\n");
    EXPECT_EQ(machine.processes.PriorityOf(game), kRealtime);
    EXPECT_EQ(machine.processes.AffinityOf(game), 1u);
    EXPECT_EQ(machine.processes.PriorityOf(highest), kIdle);
    EXPECT_EQ(machine.processes.PriorityOf(bare), kIdle);
    // Swapping out alone leaves nothing to undo.
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 3);
    EXPECT_EQ(machine.processes.WorkingSetTrims(self), 1);
}

TEST_F(RuleExecutor, MissingTargetOrArgumentCountsAsEmpty) {
    Run("[s]\npolicy=swapout \"all\" \"on\"\npolicy=swapout \"all\"\npolicy=suspend\n");
    EXPECT_EQ(machine.processes.WorkingSetTrims(self), 0);
    std::string log = Log();
    EXPECT_NE(log.find("[swapout]\n\n   - 'all'\n\nMask Applied\n\nmask removed\n\n"), std::string::npos);
    EXPECT_NE(log.find("[suspend]\n\nMask Applied\n\nApplyMask(ProcCmd)\n\n"), std::string::npos);
}

TEST_F(RuleExecutor, ProcessorMaskFromArgument) {
    machine.systemInfo.SetActiveProcessorMask(0xF);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("FIRST"), 1u);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("last"), 0x8u);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("all"), 0xFu);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument(""), 0xFu);
    machine.systemInfo.SetActiveProcessorMask(0xB);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("Last"), 0x2u);
    machine.systemInfo.SetActiveProcessorMask(0xFFFFFFFF);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("last"), 0x80000000u);
    // No processor counted from bit 0: the first processor rather than an undefined shift.
    machine.systemInfo.SetActiveProcessorMask(0xE);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("last"), 1u);
    machine.systemInfo.SetActiveProcessorMask(0);
    EXPECT_EQ(RuleEngine::ProcessorMaskFromArgument("last"), 1u);
}

TEST_F(RuleExecutor, TerminateOverridesEverythingAndALaterOffSpares) {
    const win::DWORD victim = machine.processes.AddProcess("C:\\victim.exe");
    const win::DWORD keep = machine.processes.AddProcess("C:\\keep.exe");
    Run("[s]\npolicy=priority \"all\" \"low\"\npolicy=terminate \"all\" \"on\"\npolicy=terminate \"keep.exe\" \"off\"");
    EXPECT_FALSE(machine.processes.IsRunning(victim));
    EXPECT_EQ(machine.processes.ExitCode(victim), 0u);
    EXPECT_TRUE(machine.processes.IsRunning(keep));
    // The program's own process refuses termination but its other bits are still skipped.
    EXPECT_TRUE(machine.processes.IsRunning(self));
    EXPECT_EQ(machine.processes.PriorityOf(self), kNormal);
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 1);
    EXPECT_EQ(engine.RestoreRecords()[0]->processId, keep);
    EXPECT_EQ(Operations(), (Texts{"clsEnhance.TerminateProcess:vornel.exe", "clsEnhance.TerminateProcess:victim.exe",
                                   "clsEnhance.SetProcessPriorityToLow:keep.exe"}));
}

TEST_F(RuleExecutor, TerminatingOnlyLeavesNothingToUndo) {
    machine.processes.AddProcess("C:\\victim.exe");
    Run("[s]\npolicy=terminate \"victim.exe\" \"on\"");
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
    EXPECT_TRUE(engine.IsBoostApplied());
}

TEST_F(RuleExecutor, ServiceValuesActAtOnceAndTakeAllAsAName) {
    machine.services.AddService("all", win::SERVICE_AUTO_START, true);
    machine.services.AddService("Spooler", win::SERVICE_DEMAND_START, true);
    machine.services.AddService("Themes", win::SERVICE_DISABLED, false);
    machine.processes.FailSnapshots(true);
    Run("[s]\npolicy=service \"all\" \"off\"\npolicy=SERVICE \"Themes\" \"ON\"\npolicy=suspend \"all\" \"on\"");
    EXPECT_FALSE(machine.services.IsRunning("all"));
    EXPECT_EQ(machine.services.StartType("all"), win::SERVICE_DISABLED);
    EXPECT_TRUE(machine.services.IsRunning("Spooler"));
    EXPECT_EQ(machine.services.StartType("Spooler"), win::SERVICE_DEMAND_START);
    EXPECT_EQ(machine.services.StartType("Themes"), win::SERVICE_AUTO_START);
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
    std::string log = Log();
    EXPECT_NE(log.find("ApplyMask(ProcCmd)\n\nclsEnhance.StopService : all\n\nApplyMask(Service)\n\n"),
              std::string::npos);
    EXPECT_NE(log.find("clsEnhance.StartService : Themes\n\n"), std::string::npos);
}

TEST_F(RuleExecutor, MissingSectionChangesNothing) {
    engine.Parse("[only]\npolicy=suspend \"all\" \"on\"");
    engine.Execute(1);
    engine.Execute(-1);
    EXPECT_FALSE(engine.IsBoostApplied());
    EXPECT_FALSE(machine.files.Exists("c:\\debuglog.txt"));
}

TEST_F(RuleExecutor, RecordsOfExecutionsAccumulateUntilTheUndo) {
    machine.processes.AddProcess("C:\\a.exe");
    Run("[s]\npolicy=priority \"all\" \"low\"");
    engine.Execute(0);
    ASSERT_EQ(engine.GetOptimizedProcessCount(), 4);
    EXPECT_EQ(engine.RestoreRecords()[0]->previousPriorityClass, kNormal);
    EXPECT_EQ(engine.RestoreRecords()[2]->previousPriorityClass, kIdle);
}

TEST_F(RuleExecutor, UnwritableLogIsSkipped) {
    machine.files.DenyAccess("c:\\debuglog.txt");
    Run("[s]\npolicy=priority \"all\" \"low\"");
    EXPECT_EQ(engine.GetOptimizedProcessCount(), 1);
    EXPECT_EQ(machine.processes.PriorityOf(self), kIdle);
    EXPECT_FALSE(machine.files.Exists("c:\\debuglog.txt"));
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

TEST_F(RuleExecutor, LogIsAppendedAcrossExecutions) {
    machine.files.WriteFile("c:\\debuglog.txt", "earlier\r\n");
    Run("[s]\npolicy=");
    Run("[s]\npolicy=");
    std::string log = Log();
    const std::string entries = "ExecuteRuleRoutine: Function = []\n\nMask Applied\n\nUnknown Command!!\n\n"
                                "ApplyMask(ProcCmd)\n\nApplyMask(Service)\n\nExecute rule routine end///\n\n";
    EXPECT_EQ(log, "earlier\n" + entries + entries);
}

// On the NT family the log is made for SYSTEM and Administrators alone, its bytes as the C
// runtime's text mode writes them on the 9x family, which has no file security.
TEST_F(RuleExecutor, LogIsMadeForAdministratorsAloneOnTheNtFamily) {
    using Ace = sim::Files::Ace;
    Run("[s]\npolicy=priority \"all\" \"low\"");
    const sim::Files::Security security = machine.files.SecurityOf("c:\\debuglog.txt");
    EXPECT_EQ(security.owner, sim::Files::kAdministratorsSid);
    EXPECT_EQ(security.dacl, (std::vector<Ace>{{sim::Files::kSystemSid, win::FILE_ALL_ACCESS, 0},
                                               {sim::Files::kAdministratorsSid, win::FILE_ALL_ACCESS, 0}}));
    const std::string ntLog = machine.files.Read("c:\\debuglog.txt");

    machine.files.DeleteFileA("c:\\debuglog.txt");
    machine.systemInfo.SetPlatformId(win::VER_PLATFORM_WIN32_WINDOWS);
    Run("[s]\npolicy=priority \"all\" \"low\"");
    EXPECT_EQ(machine.files.Read("c:\\debuglog.txt"), ntLog);
    EXPECT_TRUE(machine.files.SecurityOf("c:\\debuglog.txt").dacl.empty());
}

TEST_F(RuleExecutor, PriorityAndMaskValuesAreMaintainedWhetherOrNotTheyMatch) {
    Run("[s]\npolicy=priority \"all\" \"High\"\npolicy=priority \"Game.EXE\" \"low\"\n"
        "policy=cpumask \"all\" \"last\"\npolicy=cpumask \"Game.EXE\" \"first\"\npolicy=swapout \"all\" \"on\"");
    EXPECT_EQ(MaintainedValue("Priority", "all"), 1u);
    EXPECT_EQ(MaintainedValue("Priority", "Game.EXE"), 0u);
    EXPECT_EQ(MaintainedValue("CPUMask", "all"), 0x8u);
    EXPECT_EQ(MaintainedValue("CPUMask", "Game.EXE"), 1u);
    EXPECT_EQ(MaintainedValue("Swapout", "all"), 0xDEADu);

    Run("[s]\npolicy=priority \"all\" \"low\"");
    EXPECT_EQ(MaintainedValue("Priority", "all"), 0u);
}

}  // namespace
