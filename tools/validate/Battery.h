// Runs the checks one after the other and prints a verdict line for each.
//
// Each check runs in a child process of its own, so a crash, a sanitizer
// report or a hang ends that check with a failure instead of ending the
// validator; the next check starts from a clean process again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/validate/Check.h"
#include "tools/validate/Context.h"
#include "tools/validate/RealtimeWatch.h"

namespace validate {

struct BatteryOptions {
    uint64_t seed = 1;
    bool isolate = true;         // one child process per check
    int timeoutSeconds = 600;    // per check, when isolated
    std::vector<std::string> only;  // run only checks whose name contains one of these
};

struct BatteryResult {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
};

class Battery {
public:
    Battery(const vsthost::PluginLibrary& library, const PluginShape& shape, BatteryOptions options);

    // Runs `checks` and then the real-time summary over all of them.
    BatteryResult run(const std::vector<Check>& checks, std::FILE* out);

private:
    struct CheckRun {
        Verdict verdict;
        RealtimeTally tally;
        double seconds = 0.0;
    };

    bool selected(const std::string& name) const;
    CheckRun runHere(const Check& check);
    CheckRun runIsolated(const Check& check);
    Verdict realtimeSummary() const;
    void print(std::FILE* out, const std::string& name, const CheckRun& run);
    void count(const Verdict& verdict);

    const vsthost::PluginLibrary& library_;
    PluginShape shape_;
    BatteryOptions options_;
    BatteryResult result_;
    RealtimeTally total_;
    std::string firstViolator_;
};

}  // namespace validate
