// A minimal effect on the base classes, so that the host boundary can be tested
// through a real library before any instrument exists. It overrides only what
// lets a test see what the base classes did.
#include "host/AudioEffectX.h"
#include "tests/host/TestEffectState.h"

namespace {

TestEffectState state{};

class TestEditor : public AEffEditor {
public:
    explicit TestEditor(AudioEffect* effect) : AEffEditor(effect) { ++state.liveEditors; }
    ~TestEditor() override { --state.liveEditors; }

    bool getRect(ERect** rect) override {
        *rect = &rect_;
        return true;
    }
    bool open(void* parent) override {
        AEffEditor::open(parent);
        return true;
    }
    bool onKeyDown(VstKeyCode& keyCode) override {
        state.lastKeyDown = keyCode;
        return false;
    }
    bool onKeyUp(VstKeyCode& keyCode) override {
        state.lastKeyUp = keyCode;
        return false;
    }

private:
    ERect rect_{0, 0, 20, 40};
};

class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 3, 4) {
        ++state.liveInstances;
        ++state.constructed;
        if (state.withEditor) setEditor(new TestEditor(this));
    }
    ~TestEffect() override { --state.liveInstances; }

    void open() override { ++state.opens; }
    void close() override { ++state.closes; }
    void resume() override { ++state.resumes; }
    void suspend() override { ++state.suspends; }
    void setSampleRate(float rate) override {
        AudioEffectX::setSampleRate(rate);
        state.lastSampleRate = getSampleRate();
    }
    void setBlockSize(VstInt32 frames) override {
        AudioEffectX::setBlockSize(frames);
        state.lastBlockSize = getBlockSize();
    }
    void setProgram(VstInt32 program) override {
        AudioEffectX::setProgram(program);
        state.lastProgram = program;
    }
    void setParameter(VstInt32 index, float value) override {
        if (index >= 0 && index < 4) state.parameters[index] = value;
    }
    float getParameter(VstInt32 index) override { return index >= 0 && index < 4 ? state.parameters[index] : 0.0f; }

    // Writes a ramp so that a test can tell the replacing entry from the others.
    void processReplacing(float**, float** outputs, VstInt32 sampleFrames) override {
        for (VstInt32 i = 0; i < sampleFrames; ++i) {
            outputs[0][i] = static_cast<float>(i);
            outputs[1][i] = -static_cast<float>(i);
        }
    }

    // The test reaches the base's automation request through this opcode, as
    // an editor control would reach it from inside the plug-in.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr, void*, float opt) override {
        setParameterAutomated(index, opt);
        return 0;
    }
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new TestEffect(audioMaster); }

VST_EXPORT TestEffectState* testEffectState() { return &state; }
