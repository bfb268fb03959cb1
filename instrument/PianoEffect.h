// The instrument: the one object the host talks to. It owns the program bank,
// the synthesis engine, the stereo chorus, the editor and the two scratch
// buffers the engine renders through.
#pragma once

#include <cstdint>
#include <memory>

#include "chorus/StereoChorus.h"
#include "engine/SynthEngine.h"
#include "host/AudioEffectX.h"
#include "instrument/ProgramBank.h"

class PianoEffect : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 8;
    static constexpr VstInt32 kNumParams = 12;
    static constexpr VstInt32 kUniqueId = fourCharCode('Q', 'V', 'O', 'R');
    static constexpr VstInt32 kVendorVersion = 1000;

    explicit PianoEffect(audioMasterCallback audioMaster);
    ~PianoEffect() override;

    // Lifecycle and configuration
    void suspend() override;
    void resume() override;
    void setSampleRate(float rate) override;

    // Audio
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    VstInt32 processEvents(VstEvents* events) override;

    // Parameters
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool canParameterBeAutomated(VstInt32 index) override;

    // Programs and chunks
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    // Identity
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override { return kVendorVersion; }
    VstInt32 canDo(char* text) override;

    // Read access for tests of the instrument's inner state.
    const SynthEngine& synthEngine() const { return *engine; }
    const StereoChorus& stereoChorus() const { return *chorus; }
    VstInt32 scratchFrames() const { return scratchCapacity; }

private:
    void saveLiveValues();
    void loadLiveValues();
    void refreshVoices();
    void handleMidiEvent(const VstMidiEvent& event);
    void renderBlock(float* left, float* right, VstInt32 frames);

    // The editor's side of a parameter or program change.
    void syncControl(VstInt32 index, float value);
    void syncAllControls();
    void redrawDirtyControls();

    std::unique_ptr<float[]> scratchA;  // 2 * scratchCapacity floats while resumed, null otherwise
    std::unique_ptr<float[]> scratchB;
    std::unique_ptr<SynthEngine> engine;
    std::unique_ptr<ProgramBank> bank;
    std::unique_ptr<StereoChorus> chorus;
    VstInt32 scratchCapacity = 0;  // frames the scratch buffers hold at twice the output rate
};
