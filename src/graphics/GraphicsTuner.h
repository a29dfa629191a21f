// Writes the display-driver values of a profile under the primary display
// adapter's registry key.
#pragma once

#include <string>
#include <vector>

class OverwriteRecorder;

class GraphicsTuner {
public:
    // Finds the primary adapter's key; it stays empty when there is none. The recorder,
    // when given, is told of every value just before it is written.
    explicit GraphicsTuner(OverwriteRecorder* recorder = nullptr);
    virtual ~GraphicsTuner() = default;

    // Profile 0 is the fast profile, 2 the graphics profile.
    void ApplyProfile(int profileCode);

    // Each writer opens the adapter key, writes its 4-byte REG_BINARY data chosen by
    // level, and closes the key. False when nothing could be written.
    bool WriteD3D88481200(int level);
    bool WriteD3DOGL74095213(int level);
    bool WriteOGLRenderQualityFlags(int level);
    bool WriteOGLQualityEnhancements(int level);
    bool WriteD3D98764205(int level);
    bool WriteOGLMaxFramesAllowed(int level);
    bool WriteD3D36759435(int level);
    bool WriteD3D46205529(int level);
    // "OGL_563A95F1", "OGL_01887890" and "OGL_1190801a" in one open of the key.
    bool WriteOGLUnlockValues(int level);

    // The names of every value a profile writes.
    static std::vector<std::string> ValueNames();

    // Sub-key of HKEY_LOCAL_MACHINE, lower case; empty when no primary adapter was found.
    const std::string& AdapterKey() const { return adapterKey_; }

    struct ValueTable;  // one value's data per level

private:
    bool WriteValues(const ValueTable* const* tables, int count, int level);

    std::string adapterKey_;
    OverwriteRecorder* recorder_;
};
