#include "app/AutoBoostOption.h"

#include "restore/CheckedLines.h"

namespace {

const char kOn[] = "auto boost on";
const char kOff[] = "auto boost off";

}  // namespace

std::string OptionsFilePath(const std::string& stateFolder) { return stateFolder + "\\Options.txt"; }

bool ReadAutoBoostOption(const std::string& stateFolder) {
    if (stateFolder.empty()) return false;
    const TextFileLines file = ReadTextLines(OptionsFilePath(stateFolder), nullptr);
    return file.lines.size() == 1 && !file.lastLineCut && file.lines[0] == kOn;
}

bool WriteAutoBoostOption(const std::string& stateFolder, bool on) {
    if (stateFolder.empty()) return false;
    return WriteText(OptionsFilePath(stateFolder), "wt", std::string(on ? kOn : kOff) + "\n");
}
