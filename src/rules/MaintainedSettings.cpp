// The maintained settings: each priority and processor-mask rule is written under
// HKEY_CURRENT_USER, one value per rule target. Nothing reads them back.
#include "registry/RegistryKey.h"
#include "rules/RuleEngine.h"

namespace {

void SaveMaintainedValue(const char* keyPath, const std::string& target, win::DWORD data) {
    RegistryKey key;
    if (!key.Open(win::HKEY_CURRENT_USER, keyPath, true, false)) return;
    key.SetDword(target, data);
    key.Close();
}

}  // namespace

void RuleEngine::SaveMaintainedPriority(const std::string& target, win::DWORD isHigh) {
    SaveMaintainedValue("Software\\Kestrava\\Maintain\\Priority", target, isHigh ? 1 : 0);
}

void RuleEngine::SaveMaintainedCpuMask(const std::string& target, win::DWORD mask) {
    SaveMaintainedValue("Software\\Kestrava\\Maintain\\CPUMask", target, mask);
}
