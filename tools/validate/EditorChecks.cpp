// The editor, for plug-ins that have one: opened and closed in numbers, two
// at once, and parameter and program changes while open and while closed.
//
// The editor's parent is a real X11 window when a display is there, plain
// memory otherwise (see EditorParent). An editor that cannot open without a
// window system is skipped, not failed, when there is none.
#include <cstring>

#include "tools/validate/CheckSupport.h"
#include "tools/validate/EditorParent.h"

namespace validate {

namespace {

constexpr int kOpenCloseRounds = 100;

constexpr int kParentWidth = 1024;
constexpr int kParentHeight = 256;

Verdict noEditor() { return Verdict::skip("the plug-in has no editor (effFlagsHasEditor is clear)"); }

// Opens the editor in `parent`. A refusal is a finding only where a window
// system was there to open in; `skip` tells the caller to stop otherwise.
bool openEditor(Instance& instance, EditorParent& parent, Findings& findings, bool& skip, const std::string& what) {
    const bool opened = instance.dispatch(effEditOpen, 0, 0, parent.handle()) != 0;
    parent.flush();
    if (!opened && !parent.isWindow()) {
        skip = true;
        return false;
    }
    return findings.expect(opened, what + " refused");
}

Verdict noWindowSystem() { return Verdict::skip("the editor needs a window system: " + EditorParent::whyNoWindow()); }

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
    auto parent = EditorParent::create(kParentWidth, kParentHeight);
    bool skip = false;
    for (int round = 0; round < kOpenCloseRounds && !findings.any(); ++round) {
        rectangleUsable(*instance, findings);
        openEditor(*instance, *parent, findings, skip, "effEditOpen in round " + std::to_string(round));
        if (skip) return noWindowSystem();
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
    auto firstParent = EditorParent::create(kParentWidth, kParentHeight);
    auto secondParent = EditorParent::create(kParentWidth, kParentHeight);
    bool skip = false;
    openEditor(*first, *firstParent, findings, skip, "the first editor");
    if (skip) return noWindowSystem();
    openEditor(*second, *secondParent, findings, skip, "the second editor");
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
    openEditor(*second, *secondParent, findings, skip, "the second editor, reopened,");
    second->dispatch(effEditClose);
    return findings.verdict("two editors open at once, closed in either order");
}

Verdict changesOpenAndClosed(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    auto parent = EditorParent::create(kParentWidth, kParentHeight);
    const VstInt32 params = instance->record().numParams;
    const VstInt32 programs = instance->record().numPrograms;
    for (bool open : {true, false, true}) {
        bool skip = false;
        if (open) openEditor(*instance, *parent, findings, skip, "effEditOpen");
        if (skip) return noWindowSystem();
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
    auto parent = EditorParent::create(kParentWidth, kParentHeight);
    bool skip = false;
    openEditor(*instance, *parent, findings, skip, "effEditOpen");
    if (skip) return noWindowSystem();
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

// Presses, drags and releases at random places, inside the editor and
// outside it, delivered by the window system and handled at idle time.
Verdict mouseMessages(Context& context) {
    if (!context.shape().hasEditor()) return noEditor();
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    auto parent = EditorParent::create(kParentWidth, kParentHeight);
    if (!parent->isWindow()) return noWindowSystem();
    ERect* rect = nullptr;
    instance->dispatch(effEditGetRect, 0, 0, &rect);
    const int width = rect ? rect->right - rect->left : kParentWidth;
    const int height = rect ? rect->bottom - rect->top : kParentHeight;
    bool skip = false;
    if (!openEditor(*instance, *parent, findings, skip, "effEditOpen")) return findings.verdict("");
    if (!parent->sendMouse(width / 2, height / 2)) {
        instance->dispatch(effEditClose);
        return Verdict::skip("the editor opened no window of the window system to send mouse messages to");
    }
    int delivered = 1;
    for (int round = 0; round < 300; ++round) {
        const int x = context.pick(-width / 4, width + width / 4);
        const int y = context.pick(-height, 2 * height);
        delivered += parent->sendMouse(x, y) ? 1 : 0;
        instance->dispatch(effEditIdle);
        if (round % 30 == 0) addAudioProblems(findings, instance->render(256), "while clicking");
    }
    instance->dispatch(effEditClose);
    findings.expect(parametersPlayable(parameterValues(*instance)), "a parameter left 0..1 under the mouse");
    addAudioProblems(findings, instance->play(phraseStart(256), 4096, 256), "after the clicks");
    return findings.verdict(std::to_string(delivered) + " presses, drags and releases at random places, " +
                            "inside and outside the editor");
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
