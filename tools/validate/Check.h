// A named check of the battery and its one-line verdict.
#pragma once

#include <string>
#include <vector>

namespace validate {

class Context;

enum class Outcome { Pass, Fail, Skip };

struct Verdict {
    Outcome outcome = Outcome::Pass;
    std::string detail;  // one line: what was done, or what went wrong

    static Verdict pass(std::string detail) { return {Outcome::Pass, std::move(detail)}; }
    static Verdict fail(std::string detail) { return {Outcome::Fail, std::move(detail)}; }
    static Verdict skip(std::string detail) { return {Outcome::Skip, std::move(detail)}; }
};

struct Check {
    std::string name;  // "area.behaviour"
    Verdict (*run)(Context& context);
};

// Collects what a check found wrong. The verdict names the first problem and
// counts the rest, so it stays one line however many turn up.
class Findings {
public:
    void add(std::string problem);
    // Adds `problem` when `holds` is false; returns `holds`.
    bool expect(bool holds, const std::string& problem);
    bool any() const { return count_ > 0; }
    Verdict verdict(std::string passDetail) const;

private:
    std::string first_;
    int count_ = 0;
};

// The checks of each area, in the order they run.
void addLifecycleChecks(std::vector<Check>& checks);
void addAudioChecks(std::vector<Check>& checks);
void addParameterChecks(std::vector<Check>& checks);
void addProgramChecks(std::vector<Check>& checks);
void addStateChecks(std::vector<Check>& checks);
void addMidiChecks(std::vector<Check>& checks);
void addHostMisbehaviourChecks(std::vector<Check>& checks);
void addEditorChecks(std::vector<Check>& checks);
void addRealtimeChecks(std::vector<Check>& checks);

std::vector<Check> allChecks();

}  // namespace validate
