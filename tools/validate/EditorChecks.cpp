// The editor, for plug-ins that have one: opened and closed in numbers, two
// at once, and parameter and program changes while open and while closed.
//
// The validator has no window system of its own. It offers the editor a
// parent that is plain memory, which is what an editor drawing into memory
// (a raster backend) needs; mouse messages travel through the window system,
// so they are left to tests that own one.
#include <cstring>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr int kOpenCloseRounds = 100;

// Stands in for the host's window.
struct ParentWindow {
    unsigned char memory[4096] = {};
};

Verdict noEditor() { return Verdict::skip("the plug-in has no editor (effFlagsHasEditor is clear)"); }

bool rectangleUsable(Instance& instance, Findings& findings) {
    ERect* rect = nullptr;
    const VstIntPtr answer = instance.dispatch(effEditGetRect, 0, 0, &rect);
    if (!findings.expect(answer != 0 && rect != nullptr, "effEditGetRect gave no rectangle")) return false;
    return findings.expect(rect->right > rect->left && rect->bottom > rect->top,
                           "effEditGetRect gave an empty rectangle");
}

Verdict openAndClose(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    ParentWindow parent;
    for (int round = 0; round < kOpenCloseRounds && !findings.any(); ++round) {
        rectangleUsable(*instance, findings);
        findings.expect(instance->dispatch(effEditOpen, 0, 0, &parent) != 0,
                        "effEditOpen refused in round " + std::to_string(round));
        instance->dispatch(effEditIdle);
        instance->dispatch(effEditClose);
        instance->dispatch(effEditIdle);  // hosts keep idling after a close
    }
    // Closing an editor that is not open, twice.
    instance->dispatch(effEditClose);
    instance->dispatch(effEditClose);
    addAudioProblems(findings, instance->play(phraseStart(256), 4096, 256), "after the editor came and went");
    return findings.verdict("editor opened and closed " + std::to_string(kOpenCloseRounds) + " times");
}

Verdict twoAtOnce(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto first = openStarted(context, findings);
    auto second = openStarted(context, findings);
    if (!first || !second) return findings.verdict("");
    ParentWindow firstParent;
    ParentWindow secondParent;
    findings.expect(first->dispatch(effEditOpen, 0, 0, &firstParent) != 0, "the first editor did not open");
    findings.expect(second->dispatch(effEditOpen, 0, 0, &secondParent) != 0, "the second editor did not open");
    for (int round = 0; round < 50; ++round) {
        first->dispatch(effEditIdle);
        second->dispatch(effEditIdle);
        first->plugin().setParameter(round % std::max(first->record().numParams, 1), context.uniform(0.0f, 1.0f));
    }
    // The first closes and its instance goes; the second carries on.
    first->dispatch(effEditClose);
    first->close();
    second->dispatch(effEditIdle);
    second->dispatch(effEditClose);
    findings.expect(second->dispatch(effEditOpen, 0, 0, &secondParent) != 0, "the second editor did not reopen");
    second->dispatch(effEditClose);
    return findings.verdict("two editors open at once, closed in either order");
}

Verdict changesOpenAndClosed(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    ParentWindow parent;
    const VstInt32 params = instance->record().numParams;
    const VstInt32 programs = instance->record().numPrograms;
    for (bool open : {true, false, true}) {
        if (open) instance->dispatch(effEditOpen, 0, 0, &parent);
        for (int round = 0; round < 200; ++round) {
            if (params > 0) instance->plugin().setParameter(context.pick(0, params - 1), context.uniform(0.0f, 1.0f));
            if (programs > 0 && round % 10 == 0) instance->dispatch(effSetProgram, 0, context.pick(0, programs - 1));
            if (round % 25 == 0 && context.shape().programChunks()) {
                loadChunk(*instance, saveChunk(*instance, round % 50 == 0), round % 50 == 0);
            }
            instance->dispatch(effEditIdle);
        }
        if (open) instance->dispatch(effEditClose);
    }
    addAudioProblems(findings, instance->play(phraseStart(256), 4096, 256), "after the changes");
    return findings.verdict("parameter, program and chunk changes with the editor open and closed");
}

Verdict keysAndKnobMode(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    ParentWindow parent;
    instance->dispatch(effEditOpen, 0, 0, &parent);
    for (int round = 0; round < 200; ++round) {
        const VstInt32 character = context.pick(-1, 300);
        const VstIntPtr virtualKey = context.pick(0, 0x1FF);
        const float modifier = context.uniform(-10.0f, 10.0f);
        instance->dispatch(effEditKeyDown, character, virtualKey, nullptr, modifier);
        instance->dispatch(effEditKeyUp, character, virtualKey, nullptr, modifier);
        instance->dispatch(effSetEditKnobMode, 0, round % 3);
    }
    instance->dispatch(effEditClose);
    // The same without an open editor.
    instance->dispatch(effEditKeyDown, 65, 0, nullptr, 0.0f);
    instance->dispatch(effEditKeyUp, 65, 0, nullptr, 0.0f);
    return findings.verdict("200 key presses and knob-mode changes into an open editor");
}

Verdict mouseMessages(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    return Verdict::skip("mouse messages reach an editor only through a window system, which this host lacks");
}

}  // namespace

void addEditorChecks(std::vector<Check>& checks) {
    checks.push_back({"editor.open-close-100", openAndClose});
    checks.push_back({"editor.two-at-once", twoAtOnce});
    checks.push_back({"editor.changes-open-and-closed", changesOpenAndClosed});
    checks.push_back({"editor.keys-and-knob-mode", keysAndKnobMode});
    checks.push_back({"editor.mouse-messages", mouseMessages});
}

}  // namespace validate
