// Programs: switching between all of them, numbers that do not exist, and
// names of every length.
#include <climits>

#include "tools/validate/CheckSupport.h"

namespace validate {

namespace {

constexpr std::size_t kProgramNameBytes = kVstMaxProgNameLen + 1;

Verdict switching(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const VstInt32 programs = instance->record().numPrograms;
    instance->send(notes({60, 64}, 90));
    for (VstInt32 round = 0; round < 3 * programs; ++round) {
        const VstInt32 program = round < programs ? round : context.pick(0, programs - 1);
        instance->dispatch(effSetProgram, 0, program);
        const VstIntPtr current = instance->dispatch(effGetProgram);
        findings.expect(current == program, "effSetProgram " + std::to_string(program) + " left program " +
                                                 std::to_string(current) + " current");
        addAudioProblems(findings, instance->render(256), "program " + std::to_string(program));
    }
    const VstIntPtr settled = instance->dispatch(effGetProgram);
    for (VstIntPtr missing : {VstIntPtr{-1}, VstIntPtr{programs}, VstIntPtr{programs + 1}, VstIntPtr{INT_MAX},
                              VstIntPtr{INT_MIN}}) {
        instance->dispatch(effSetProgram, 0, missing);
        findings.expect(instance->dispatch(effGetProgram) == settled,
                        "effSetProgram " + std::to_string(missing) + " changed the current program");
    }
    addAudioProblems(findings, instance->play(phraseStart(256), 4096, 256), "after missing program numbers");
    return findings.verdict("switched " + std::to_string(3 * programs) +
                            " times; missing numbers left the current program alone");
}

Verdict names(Context& context) {
    Findings findings;
    auto instance = openStarted(context, findings);
    if (!instance) return findings.verdict("");
    const VstInt32 programs = instance->record().numPrograms;
    // A name may be left unwritten (a missing program); a written one ends in time.
    auto fits = [&findings](const TextAnswer& text, const std::string& what) {
        findings.expect(!text.wrote || (text.touched <= kProgramNameBytes && text.length < kProgramNameBytes),
                        what + ": \"" + text.text + "\" takes " + std::to_string(text.touched) + " bytes, more than " +
                            std::to_string(kProgramNameBytes));
    };
    for (VstInt32 program = 0; program < programs; ++program) {
        fits(askText(*instance, effGetProgramNameIndexed, program), "indexed name " + std::to_string(program));
    }
    for (VstInt32 missing : {-1, programs, programs + 1, INT_MAX, INT_MIN}) {
        fits(askText(*instance, effGetProgramNameIndexed, missing), "indexed name " + std::to_string(missing));
    }
    // Names longer than the field, exactly as long, empty.
    const std::string longName(100, 'x');
    for (const std::string& name : {longName, std::string(kVstMaxProgNameLen, 'y'), std::string()}) {
        std::vector<char> text(name.begin(), name.end());
        text.push_back('\0');
        instance->dispatch(effSetProgramName, 0, 0, text.data());
        const TextAnswer answer = askText(*instance, effGetProgramName);
        fits(answer, "a " + std::to_string(name.size()) + "-character name");
        findings.expect(name.compare(0, answer.length, answer.text) == 0,
                        "a " + std::to_string(name.size()) + "-character name came back as \"" + answer.text + "\"");
    }
    return findings.verdict("program names of " + std::to_string(programs) +
                            " programs, missing numbers and over-long names fit in " +
                            std::to_string(kProgramNameBytes) + " bytes");
}

}  // namespace

void addProgramChecks(std::vector<Check>& checks) {
    checks.push_back({"programs.switching", switching});
    checks.push_back({"programs.names", names});
}

}  // namespace validate
