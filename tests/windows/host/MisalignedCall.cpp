#include "tests/windows/host/MisalignedCall.h"

#if defined(ORRELUNE_CAN_MISALIGN_STACK)

// cdecl: (target, offset, four arguments passed on to the target). The stack
// is aligned to 16, lowered by `offset`, and the four arguments are stored
// below it, so the target starts with a stack the compiler would never make.
extern "C" void callWithStackOffset(void* target, int offset, void* a, void* b, void* c, int d)
    __asm__("orrelune_callWithStackOffset");

__asm__(
    ".text\n"
    ".globl orrelune_callWithStackOffset\n"
    "orrelune_callWithStackOffset:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  movl 12(%ebp), %ecx\n"
    "  andl $-16, %esp\n"
    "  subl %ecx, %esp\n"
    "  subl $16, %esp\n"
    "  movl 16(%ebp), %eax\n"
    "  movl %eax, 0(%esp)\n"
    "  movl 20(%ebp), %eax\n"
    "  movl %eax, 4(%esp)\n"
    "  movl 24(%ebp), %eax\n"
    "  movl %eax, 8(%esp)\n"
    "  movl 28(%ebp), %eax\n"
    "  movl %eax, 12(%esp)\n"
    "  call *8(%ebp)\n"
    "  movl %ebp, %esp\n"
    "  popl %ebp\n"
    "  ret\n");

void processWithStackOffset(AEffectProcessProc process, int offset, AEffect* effect, float** inputs,
                            float** outputs, VstInt32 frames) {
    callWithStackOffset(reinterpret_cast<void*>(process), offset, effect, inputs, outputs, frames);
}

#endif
