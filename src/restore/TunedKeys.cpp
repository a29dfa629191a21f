#include "restore/TunedKeys.h"

#include <algorithm>
#include <iterator>

#include "graphics/GraphicsTuner.h"
#include "network/TcpKeys.h"
#include "registry/RegistryKey.h"
#include "rules/AnsiText.h"

namespace {

template <size_t N>
std::vector<std::string> Names(const char* const (&names)[N]) {
    return std::vector<std::string>(std::begin(names), std::end(names));
}

}  // namespace

std::string AdapterRole(int adapter) { return "adapter-000" + std::to_string(adapter); }

bool TunedKey::HoldsValue(const std::string& name) const {
    return std::find(valueNames.begin(), valueNames.end(), name) != valueNames.end();
}

TunedKeys::TunedKeys() {
    keys.push_back({kDisplayRole, GraphicsTuner().AdapterKey(), GraphicsTuner::ValueNames()});
    if (IsWindowsNt()) {
        keys.push_back({kNtTcpRole, kNtTcpParameters, Names(kNtTcpValues)});
        return;
    }
    keys.push_back({kMstcpRole, kMstcp, Names(kMstcpValues)});
    keys.push_back({kMstcpParametersRole, kMstcpParameters, Names(kMstcpParametersValues)});
    for (int adapter = 0; adapter < kNetTransAdapters; ++adapter) {
        keys.push_back({AdapterRole(adapter), kNetTransAdapter + ("000" + std::to_string(adapter)),
                        {kNetTransAdapterValue}});
    }
}

const TunedKey* TunedKeys::WithRole(const std::string& role) const {
    for (const TunedKey& key : keys) {
        if (key.role == role) return &key;
    }
    return nullptr;
}

const TunedKey* TunedKeys::WithPath(const std::string& path) const {
    for (const TunedKey& key : keys) {
        if (!key.path.empty() && AnsiEqualsNoCase(key.path, path)) return &key;
    }
    return nullptr;
}
