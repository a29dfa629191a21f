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

bool TunedKey::HoldsValue(const std::string& name) const {
    return std::find(valueNames.begin(), valueNames.end(), name) != valueNames.end();
}

TunedKeys::TunedKeys() {
    keys.push_back({"display", GraphicsTuner().AdapterKey(), GraphicsTuner::ValueNames()});
    if (IsWindowsNt()) {
        keys.push_back({"tcpip", kNtTcpParameters, Names(kNtTcpValues)});
        return;
    }
    keys.push_back({"mstcp", kMstcp, Names(kMstcpValues)});
    keys.push_back({"mstcp-parameters", kMstcpParameters, Names(kMstcpParametersValues)});
    for (int adapter = 0; adapter < kNetTransAdapters; ++adapter) {
        const std::string number = "000" + std::to_string(adapter);
        keys.push_back({"adapter-" + number, kNetTransAdapter + number, {kNetTransAdapterValue}});
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
