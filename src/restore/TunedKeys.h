// The registry keys that boosts write on the running system, each with the role by
// which the settings record names it and the values a boost writes under it.
#pragma once

#include <string>
#include <vector>

// The roles, as the settings record writes them.
constexpr char kDisplayRole[] = "display";
constexpr char kNtTcpRole[] = "tcpip";
constexpr char kMstcpRole[] = "mstcp";
constexpr char kMstcpParametersRole[] = "mstcp-parameters";
// "adapter-0000" to "adapter-0009": the 9x adapter keys under NetTrans.
std::string AdapterRole(int adapter);

struct TunedKey {
    std::string role;
    std::string path;  // sub-key of HKEY_LOCAL_MACHINE; empty when there is no primary display adapter
    std::vector<std::string> valueNames;
    bool HoldsValue(const std::string& name) const;
};

class TunedKeys {
public:
    // The keys of the running family; the display adapter is looked up once.
    TunedKeys();
    const TunedKey* WithRole(const std::string& role) const;
    // The key of an open sub-key text, letter case aside; nullptr for any other key.
    const TunedKey* WithPath(const std::string& path) const;
    const std::vector<TunedKey>& All() const { return keys; }

private:
    std::vector<TunedKey> keys;
};
