// Calls into the plug-in with the stack only 4-byte aligned, as 32-bit hosts
// built with other compilers do: their calling convention promises no more.
#pragma once

#include "host/VstAbi.h"

#if defined(__i386__)
#define ORRELUNE_CAN_MISALIGN_STACK 1

// Calls `process(effect, inputs, outputs, frames)` with the stack pointer
// `offset` bytes (4, 8 or 12) past a 16-byte boundary at the call.
void processWithStackOffset(AEffectProcessProc process, int offset, AEffect* effect, float** inputs,
                            float** outputs, VstInt32 frames);
#endif
