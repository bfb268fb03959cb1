// The base of every plug-in editor: what the host reaches through the editor
// opcodes of the dispatcher. The base answers "nothing done" to everything.
#pragma once

#include "host/VstAbi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    // Sets *rect to the editor's rectangle; the base has none.
    virtual bool getRect(ERect** rect) {
        *rect = nullptr;
        return false;
    }
    // Opens the editor inside the host's window (a native window handle).
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& keyCode) {
        (void)keyCode;
        return false;
    }
    virtual bool onKeyUp(VstKeyCode& keyCode) {
        (void)keyCode;
        return false;
    }
    virtual bool onWheel(float distance) {
        (void)distance;
        return false;
    }
    virtual bool setKnobMode(VstInt32 mode) {
        (void)mode;
        return false;
    }

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;  // the host's window while open, null otherwise
};
