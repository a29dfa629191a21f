// The probe worker: one ping per candidate size, reported to the notify window.
#include <climits>
#include <cstdio>

#include "network/NetworkTuner.h"
#include "network/ProbeMessages.h"
#include "network/ProbeSearch.h"
#include "network/SystemPing.h"
#include "platform/Platform.h"
#include "platform/ScopedHandle.h"

namespace {

constexpr const char* kOutputPath = "C:\\temp.ping";
constexpr const char* kCaption = "Kestrava";
constexpr const char* kStoppedText = "네트워크 상태가 안정적이지 않습니다.\n최적화를 중지합니다.";
constexpr const char* kAskText =
    "네트워크 상태가 안정적이지 않습니다.\n계속 최적화를 하셔도 원하는 결과를 얻지 못할 수 있습니다.\n\n"
    "계속 하시겠습니까?\n('아니오' 를 누르면 최적화를 중단합니다)";

constexpr win::WPARAM kSizeFound = 1;
constexpr win::WPARAM kStopped = 2;

}  // namespace

NetworkTuner::NetworkTuner() : outputPath(kOutputPath) {}

NetworkTuner::~NetworkTuner() = default;

bool NetworkTuner::StartProbe(const std::string& host, win::HWND window) {
    notifyWindow = window;
    outputPath = kOutputPath;
    probeHost = host;
    // The worker runs on its own; its handle is not needed.
    return static_cast<bool>(
        platform::ScopedHandle(platform::Programs().CreateThread(nullptr, 0, &NetworkTuner::ProbeWorker, this, 0, nullptr)));
}

win::DWORD KAPI NetworkTuner::ProbeWorker(void* parameter) {
    NetworkTuner& tuner = *static_cast<NetworkTuner*>(parameter);
    auto& user = platform::User();
    // A host whose command line could overflow the command buffer is refused before any ping.
    if (tuner.ProbeCommandLine(INT_MIN).size() >= kCommandBufferSize) {
        user.SendMessageA(tuner.notifyWindow, WM_PROBE_DONE, kStopped, 0);
        return 0;
    }

    network::ProbeOutcome outcome = network::SearchLargestPayload(
        [&tuner](int size) { return tuner.ProbeSize(size); },
        [&tuner, &user] {
            return user.MessageBoxA(tuner.notifyWindow, kAskText, kCaption, win::MB_YESNO | win::MB_ICONINFORMATION) !=
                   static_cast<int>(win::IDNO);
        });
    if (outcome.end == network::ProbeEnd::Exhausted) {
        user.MessageBoxA(tuner.notifyWindow, kStoppedText, kCaption, win::MB_ICONINFORMATION);
    }
    win::WPARAM result = outcome.end == network::ProbeEnd::Found ? kSizeFound : kStopped;
    user.SendMessageA(tuner.notifyWindow, WM_PROBE_DONE, result, outcome.size);
    return 0;
}

int NetworkTuner::ProbeSize(int size) {
    int reply = RunCaptured(network::SystemPingPath(), ProbeCommandLine(size)) ? ReadPingVerdict() : 0;
    platform::User().SendMessageA(notifyWindow, WM_PROBE_STEP, static_cast<win::WPARAM>(size), reply);
    return reply;
}

std::string NetworkTuner::ProbeCommandLine(int size) const {
    char number[16];
    std::snprintf(number, sizeof number, "%d", size);
    return std::string("ping -n 1 -f -l ") + number + " " + probeHost;
}
