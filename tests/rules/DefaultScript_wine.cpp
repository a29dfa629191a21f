// The default script against real processes: two child programs, one of them
// under a catalogue name, are throttled (and the catalogue one suspended) by a
// boost, and the undo puts them back.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "rules/DefaultScript.h"
#include "rules/ProcessCatalogue.h"
#include "rules/RuleEngine.h"
// Last: the Windows headers' macros would clash with the seam's names.
#include "platform/win32/Win32.h"
#include "process/WineChild.h"

namespace {

using wine_child::Child;
using wine_child::ProgramFolder;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DefaultScriptWine, BoostThrottlesChildrenAndTheUndoPutsThemBack) {
    const std::string child = ProgramFolder() + "\\kestrava_child.exe";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string catalogued = std::string(temp) + "kav.exe";
    ASSERT_TRUE(CopyFileA(child.c_str(), catalogued.c_str(), FALSE));
    {
        Child plain;
        Child kav("", catalogued);
        ASSERT_TRUE(plain.Ready());
        ASSERT_TRUE(kav.Ready());
        ASSERT_TRUE(IsProcessRunning("KAV.exe"));
        const DWORD_PTR maskBefore = plain.Affinity();
        const DWORD lastProcessor = RuleEngine::ProcessorMaskFromArgument("last");

        RuleEngine engine;
        std::string script = ComposeRuleScript(false);
        EXPECT_NE(script.find("\npolicy=suspend \"kav.exe\" \"on\"\n"), std::string::npos);
        engine.Parse(script);
        engine.Execute(0);

        EXPECT_TRUE(engine.IsBoostApplied());
        EXPECT_GE(engine.GetOptimizedProcessCount(), 3);
        for (const Child* process : {&plain, &kav}) {
            EXPECT_EQ(GetPriorityClass(process->Process()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
            EXPECT_EQ(process->Affinity(), lastProcessor);
        }
        EXPECT_EQ(kav.SuspendCount(), 1u);
        EXPECT_EQ(plain.SuspendCount(), 0u);

        engine.UndoBoost();
        EXPECT_FALSE(engine.IsBoostApplied());
        EXPECT_EQ(engine.GetOptimizedProcessCount(), 0);
        for (const Child* process : {&plain, &kav}) {
            EXPECT_EQ(GetPriorityClass(process->Process()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
            EXPECT_EQ(process->Affinity(), maskBefore);
        }
        EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
        EXPECT_EQ(kav.SuspendCount(), 0u);

        char hex[16];
        wsprintfA(hex, "(%x)", static_cast<unsigned>(lastProcessor));
        const std::string log = ReadFile("C:\\debuglog.txt");
        EXPECT_NE(log.find("clsEnhance.SuspendProcess:kav.exe\r\n\r\n"), std::string::npos);
        EXPECT_NE(log.find("clsEnhance.SetProcessAffinity: kestrava_child.exe" + std::string(hex) + "\r\n"),
                  std::string::npos);
    }
    DeleteFileA(catalogued.c_str());
}

}  // namespace
