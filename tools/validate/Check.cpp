#include "tools/validate/Check.h"

namespace validate {

void Findings::add(std::string problem) {
    if (count_++ == 0) first_ = std::move(problem);
}

bool Findings::expect(bool holds, const std::string& problem) {
    if (!holds) add(problem);
    return holds;
}

Verdict Findings::verdict(std::string passDetail) const {
    if (count_ == 0) return Verdict::pass(std::move(passDetail));
    std::string detail = first_;
    if (count_ > 1) detail += " (and " + std::to_string(count_ - 1) + " more problems)";
    return Verdict::fail(std::move(detail));
}

std::vector<Check> allChecks() {
    std::vector<Check> checks;
    addLifecycleChecks(checks);
    addAudioChecks(checks);
    addParameterChecks(checks);
    addProgramChecks(checks);
    addStateChecks(checks);
    addMidiChecks(checks);
    addHostMisbehaviourChecks(checks);
    addEditorChecks(checks);
    addRealtimeChecks(checks);
    return checks;
}

}  // namespace validate
