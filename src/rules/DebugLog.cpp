#include "rules/DebugLog.h"

#include "platform/Platform.h"

void WriteDebugLog(const std::string& entry) {
    platform::IFiles& files = platform::Files();
    win::CRTFILE log = files.fopen("c:\\debuglog.txt", "at");
    if (!log) return;
    files.fputs((entry + "\n").c_str(), log);
    files.fclose(log);
}
