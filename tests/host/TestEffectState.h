// What the minimal test effect library lets its tests observe from outside the
// effect record: how many instances and editors live, and what the base
// classes handed to the effect's own operations.
#pragma once

#include "host/VstAbi.h"

struct TestEffectState {
    int liveInstances;
    int liveEditors;
    int constructed;
    int resumes;
    int suspends;
    int opens;
    int closes;
    VstKeyCode lastKeyDown;
    VstKeyCode lastKeyUp;
    float lastSampleRate;
    VstInt32 lastBlockSize;
    VstInt32 lastProgram;
    float parameters[4];
    bool withEditor;  // set before creation: should the next instance get an editor
};

// Exported by the test effect library under this name.
using TestEffectStateProc = TestEffectState* (*)();
