// Runs vst-validate against an instrument built with known faults and checks
// that each fault is caught by the check meant for it, that a crash or a hang
// costs only its own check, and that the summary and exit status tell.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct ValidatorRun {
    std::map<std::string, std::string> verdicts;  // check name -> PASS, FAIL or SKIP
    std::map<std::string, std::string> details;
    std::string lastLine;
    int exitStatus = -1;
};

ValidatorRun runValidator(const std::string& arguments) {
    ValidatorRun run;
    const std::string command = std::string(VST_VALIDATE_PATH) + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        run.lastLine = text;
        // "[FAIL] name: detail"
        if (text.size() > 7 && text[0] == '[' && text[5] == ']') {
            const std::size_t colon = text.find(": ", 7);
            const std::string name = text.substr(7, colon - 7);
            run.verdicts[name] = text.substr(1, 4);
            run.details[name] = colon == std::string::npos ? "" : text.substr(colon + 2);
        }
    }
    const int status = pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// One run of the whole battery, looked at from three sides. Five seconds are
// plenty for any check of an instrument that renders constants; the check
// that never gets an answer must be cut off.
TEST(FaultyInstrument, EveryFaultIsCaughtByItsCheck) {
    const ValidatorRun run = runValidator(std::string("--timeout 5 ") + FAULTY_INSTRUMENT_PATH);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"realtime.busy-session", "allocations"},               // a vector and a mutex in every call
        {"realtime.whole-battery", "allocations"},
        {"host.blocks-larger-than-announced", "unwritten"},     // half of a block above 4096 frames
        {"host.zero-and-negative-frames", "wrote"},             // writes at zero frames
        {"lifecycle.every-block-size", "outside"},              // one frame past a 100-frame block
        {"parameters.every-index-every-value", "NaN"},          // NaN output above 0.9
        {"parameters.texts-fit", "more than 9"},                // a 19-character name
        {"programs.names", "crashed"},                          // abort on a long name
        {"host.every-opcode", "hung"},                          // never answers "bypass"
    };
    for (const auto& [name, phrase] : expected) {
        ASSERT_EQ(run.verdicts.count(name), 1u) << name;
        EXPECT_EQ(run.verdicts.at(name), "FAIL") << name;
        EXPECT_NE(run.details.at(name).find(phrase), std::string::npos) << name << ": " << run.details.at(name);
    }

    // Checks after the crash and the hang still ran, and behaviour without a
    // fault passes; checks without chunks or an editor have nothing to see.
    const std::vector<std::pair<std::string, std::string>> others = {
        {"midi.byte-soup", "PASS"},
        {"midi.every-note-every-velocity", "PASS"},
        {"host.unusable-sample-rates", "PASS"},
        {"audio.silence-before-any-note", "PASS"},
        {"state.bank-round-trip", "SKIP"},
        {"editor.open-close-100", "SKIP"},
    };
    for (const auto& [name, verdict] : others) {
        ASSERT_EQ(run.verdicts.count(name), 1u) << name;
        EXPECT_EQ(run.verdicts.at(name), verdict) << name << ": " << run.details.at(name);
    }

    int passed = 0;
    int failed = 0;
    for (const auto& [name, verdict] : run.verdicts) {
        passed += verdict == "PASS" ? 1 : 0;
        failed += verdict == "FAIL" ? 1 : 0;
    }
    EXPECT_EQ(run.lastLine, std::to_string(passed) + " passed, " + std::to_string(failed) + " failed");
    EXPECT_EQ(run.exitStatus, 1);
}

TEST(ValidatorArguments, MissingLibraryIsReportedByName) {
    const ValidatorRun run = runValidator("/nonexistent/plugin.so");
    EXPECT_EQ(run.lastLine, "0 passed, 1 failed");
    EXPECT_EQ(run.exitStatus, 1);
}

TEST(ValidatorArguments, UnknownOptionIsAUsageError) {
    EXPECT_EQ(runValidator("--frobnicate").exitStatus, 2);
}

}  // namespace
