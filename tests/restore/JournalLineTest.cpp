// The boost journal's lines and its reader on bad input: truncated, corrupt, of
// another version, random bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "sim/Machine.h"
#include "restore/CheckedLines.h"
#include "restore/JournalLine.h"
#include "restore/JournalReader.h"

namespace {

const char kPath[] = "C:\\Kestrava\\Restore\\BoostJournal.txt";

const ProcessIdentity kOwner{0x100, 0x01da3f5000000000, "vornel.exe"};
const ProcessIdentity kChat{0x104, 0x01da3f5000989680, "msn messenger #2.exe"};


std::string Journal(const std::vector<std::string>& lines) {
    std::string text = std::string(kJournalVersionLine) + "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TEST(JournalLine, ReadsBackWhatItWrites) {
    const win::HWND window = reinterpret_cast<win::HWND>(static_cast<uintptr_t>(0x2004a));
    JournalLine line;

    const std::string record = RecordLine(kChat, RestoreRecord{0x104, 0x38, 0x20, 0xf});
    EXPECT_EQ(record.substr(0, record.rfind(" #")), "record 260 01da3f5000989680 38 20 f msn messenger #2.exe");
    ASSERT_TRUE(ParseJournalLine(record, line));
    RestoreRecord read;
    ASSERT_TRUE(RecordFromLine(line, read));
    EXPECT_EQ(line.process.processId, 0x104u);
    EXPECT_EQ(line.process.creationTime, kChat.creationTime);
    EXPECT_EQ(line.process.name, kChat.name);
    EXPECT_EQ(read.processId, 0x104u);
    EXPECT_EQ(read.restoreFlags, 0x38u);
    EXPECT_EQ(read.previousPriorityClass, 0x20u);
    EXPECT_EQ(read.previousAffinityMask, 0xfu);
    win::HWND readWindow = nullptr;
    win::WORD visible = 7;
    EXPECT_FALSE(WindowFromLine(line, readWindow, visible));

    ASSERT_TRUE(ParseJournalLine(WindowLine(kChat, window, 1), line));
    ASSERT_TRUE(WindowFromLine(line, readWindow, visible));
    EXPECT_EQ(readWindow, window);
    EXPECT_EQ(visible, 1);
    EXPECT_FALSE(RecordFromLine(line, read));

    ASSERT_TRUE(ParseJournalLine(OwnerLine(kOwner), line));
    EXPECT_EQ(line.kind, "owner");
    EXPECT_EQ(line.process.name, "vornel.exe");
    EXPECT_TRUE(line.values.empty());
}

TEST(JournalLine, AnyCutOrChangedCharacterIsRejected) {
    const std::string valid = RecordLine(kChat, RestoreRecord{0x104, 0x38, 0x40, 0x8});
    JournalLine line;
    for (size_t length = 0; length < valid.size(); ++length) {
        EXPECT_FALSE(ParseJournalLine(valid.substr(0, length), line)) << length;
    }
    for (size_t at = 0; at < valid.size(); ++at) {
        for (int byte = 0; byte < 256; ++byte) {
            if (static_cast<char>(byte) == valid[at]) continue;
            std::string changed = valid;
            changed[at] = static_cast<char>(byte);
            ASSERT_FALSE(ParseJournalLine(changed, line)) << at << " " << byte;
        }
    }
}

TEST(JournalLine, ValuesOutOfRangeForTheirKindAreRejected) {
    JournalLine line;
    line.kind = "record";
    line.values = {0x38, 0x100000000ull, 0x8};
    RestoreRecord record;
    EXPECT_FALSE(RecordFromLine(line, record));
    line.kind = "window";
    line.values = {0x2004a, 2};
    win::HWND window = nullptr;
    win::WORD visible = 0;
    EXPECT_FALSE(WindowFromLine(line, window, visible));
}

class JournalReading : public ::testing::Test {
protected:
    JournalReading() { machine.files.AddDirectory("C:\\Kestrava\\Restore"); }
    JournalContents Read(const std::string& bytes) {
        machine.files.WriteFile(kPath, bytes);
        return ReadJournal(kPath);
    }
    sim::Machine machine;
};

TEST_F(JournalReading, AJournalCutAnywhereKeepsExactlyItsWholeLines) {
    const std::vector<std::string> lines = {
        OwnerLine(kOwner),
        RecordLine(kChat, RestoreRecord{0x104, 0x38, 0x20, 0xf}),
        WindowLine(kChat, reinterpret_cast<win::HWND>(static_cast<uintptr_t>(0x2004a)), 1),
        RecordLine(ProcessIdentity{0x108, 0x01da3f5001312d00, "game.exe"}, RestoreRecord{0x108, 0x18, 0x20, 0x3}),
    };
    const std::string whole = Journal(lines);
    for (size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string cut = whole.substr(0, length);
        JournalContents contents = Read(cut);
        // Lines count only with their line end.
        size_t complete = 0;
        for (size_t end = cut.find('\n'); end != std::string::npos; end = cut.find('\n', end + 1)) ++complete;
        const size_t facts = complete > 2 ? complete - 2 : 0;
        EXPECT_TRUE(contents.found);
        EXPECT_EQ(contents.ownerKnown, complete >= 2);
        EXPECT_EQ(contents.records.size() + contents.windows.size(), facts);
        EXPECT_EQ(contents.records.size(), facts >= 3 ? 2u : facts >= 1 ? 1u : 0u);
    }
    EXPECT_EQ(machine.files.OpenStreams(), 0u);
}

TEST_F(JournalReading, BadLinesAreSkippedOneByOne) {
    const std::string good = RecordLine(kChat, RestoreRecord{0x104, 0x20, 0, 0});
    std::string zeroed = RecordLine(kChat, RestoreRecord{0x104, 0x08, 0x40, 0});
    zeroed[3] = '\0';
    JournalContents contents = Read(Journal({OwnerLine(kOwner), "garbage", zeroed, std::string(5000, 'x'), good,
                                             "record 260 01da3f5000989680 20 0 0 chat.exe", good}));
    EXPECT_TRUE(contents.ownerKnown);
    ASSERT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[0].record.restoreFlags, 0x20u);

    // Facts before the owner line prove nothing about their owner.
    contents = Read(Journal({good, OwnerLine(kOwner)}));
    EXPECT_TRUE(contents.ownerKnown);
    EXPECT_TRUE(contents.records.empty());
    contents = Read(Journal({"owner 256 01da3f5000000000 vornel.exe #00000000", good}));
    EXPECT_FALSE(contents.ownerKnown);
    EXPECT_TRUE(contents.records.empty());
}

TEST_F(JournalReading, AnotherVersionOrNoFileGivesNothing) {
    JournalContents contents =
        Read("Kestrava boost journal 2\r\n" + OwnerLine(kOwner) + "\r\n" + RecordLine(kChat, RestoreRecord{0x104, 0x20, 0, 0}) + "\r\n");
    EXPECT_TRUE(contents.found);
    EXPECT_FALSE(contents.ownerKnown);
    EXPECT_TRUE(contents.records.empty());

    contents = ReadJournal("C:\\Kestrava\\Restore\\none.txt");
    EXPECT_FALSE(contents.found);

    machine.files.WriteFile(kPath, Journal({OwnerLine(kOwner)}));
    machine.files.DenyAccess(kPath);
    contents = ReadJournal(kPath);
    EXPECT_TRUE(contents.found);  // there, but unreadable
    EXPECT_FALSE(contents.ownerKnown);
}

// A record line with a valid check, whatever its values.
std::string ForgedRecord(win::DWORD flags, win::DWORD priorityClass, win::DWORD mask) {
    return CheckedLine("record 260 01da3f5000989680 " + Hex(flags) + " " + Hex(priorityClass) + " " + Hex(mask) +
                       " " + kChat.name);
}

// Lines whose check matches but whose record a boost never writes: undo flags it never
// records (suspend, trim), a class that is not a priority class, a flag without its value
// or a value without its flag. Only what the writer writes is read; the writer leaves out
// a flag whose value it could not read.
TEST_F(JournalReading, RecordsWithForgedFlagsClassesOrMasksAreSkipped) {
    EXPECT_EQ(RecordLine(kChat, RestoreRecord{0x104, 0x3d, 0, 0}), ForgedRecord(0x20, 0, 0));
    JournalContents contents = Read(Journal({
        OwnerLine(kOwner),
        ForgedRecord(0x01, 0, 0),
        ForgedRecord(0x0c, 0x20, 0),
        ForgedRecord(0x08, 0x1234, 0),
        ForgedRecord(0x08, 0, 0),
        ForgedRecord(0x10, 0, 0),
        ForgedRecord(0x20, 0x40, 0),
        ForgedRecord(0x20, 0, 0xf),
        ForgedRecord(0x38, 0x4000, 0xf),
        ForgedRecord(0, 0, 0),
    }));
    ASSERT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[0].record.restoreFlags, 0x38u);
    EXPECT_EQ(contents.records[0].record.previousPriorityClass, 0x4000u);
    EXPECT_EQ(contents.records[1].record.restoreFlags, 0u);  // a record for its windows alone
}

// Random bytes, random mixes of good lines with noise and random cuts: the reader never
// fails and never reports a fact that was not written whole.
TEST_F(JournalReading, RandomInputNeverYieldsAnUnwrittenFact) {
    std::mt19937 random(15);
    const std::vector<std::string> good = {
        RecordLine(kChat, RestoreRecord{0x104, 0x38, 0x20, 0xf}),
        WindowLine(kChat, reinterpret_cast<win::HWND>(static_cast<uintptr_t>(0x2004a)), 0),
    };
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = round % 2 ? std::string(kJournalVersionLine) + "\n" + OwnerLine(kOwner) + "\n" : "";
        const int pieces = random() % 12;
        for (int i = 0; i < pieces; ++i) {
            switch (random() % 3) {
            case 0: bytes += good[random() % good.size()] + (random() % 2 ? "\r\n" : "\n"); break;
            case 1: {
                std::string noise(random() % 80, '\0');
                for (char& c : noise) c = static_cast<char>(random());
                bytes += noise;
                break;
            }
            default: {
                std::string line = good[random() % good.size()];
                line[random() % line.size()] ^= static_cast<char>(1 + random() % 255);
                bytes += line + "\n";
            }
            }
        }
        if (!bytes.empty() && random() % 2) bytes.resize(random() % bytes.size());
        JournalContents contents = Read(bytes);
        for (const JournalRecord& record : contents.records) {
            EXPECT_EQ(record.process.name, kChat.name);
            EXPECT_EQ(record.record.restoreFlags, 0x38u);
            EXPECT_EQ(record.record.previousAffinityMask, 0xfu);
        }
        for (const JournalWindow& window : contents.windows) {
            EXPECT_EQ(window.window, reinterpret_cast<win::HWND>(static_cast<uintptr_t>(0x2004a)));
            EXPECT_EQ(window.wasVisible, 0);
        }
    }
}

}  // namespace
