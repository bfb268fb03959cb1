// An effect that behaves toward its editor as the instrument does: a changed
// parameter is stored, the editor's controls follow it and the changed ones
// are drawn. Every parameter write and every automation report the host
// receives goes into one log, in the order they happen.
#pragma once

#include <array>
#include <vector>

#include "gui/GuiWindow.h"
#include "host/AudioEffectX.h"

struct LoggedCall {
    enum Kind { SetParameter, Automate };
    Kind kind;
    VstInt32 index;
    float value;
    bool operator==(const LoggedCall&) const = default;
};

inline std::vector<LoggedCall>& callLog() {
    static std::vector<LoggedCall> log;
    return log;
}

// The host side: records each automation report.
inline VstIntPtr VSTCALLBACK recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    if (opcode == audioMasterAutomate) callLog().push_back({LoggedCall::Automate, index, opt});
    return 0;
}

class PanelTestEffect : public AudioEffectX {
public:
    static constexpr int kParameterCount = 12;

    PanelTestEffect() : AudioEffectX(recordingHost, 1, kParameterCount) {}

    // Takes ownership of the editor, as the instrument does.
    void attach(GuiWindow* editor) {
        window = editor;
        setEditor(editor);
    }

    void setParameter(VstInt32 index, float value) override {
        if (index < 0 || index >= kParameterCount || values[index] == value) return;
        values[index] = value;
        callLog().push_back({LoggedCall::SetParameter, index, value});
        if (window != nullptr) {
            window->syncControl(index, value);
            window->redrawDirtyControls();
        }
    }
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < kParameterCount ? values[index] : 0.0f;
    }
    void processReplacing(float**, float**, VstInt32) override {}

    std::array<float, kParameterCount> values{};

private:
    GuiWindow* window = nullptr;
};
