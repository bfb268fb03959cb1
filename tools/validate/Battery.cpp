#include "tools/validate/Battery.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace validate {

namespace {

uint64_t nameHash(const std::string& name) {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a offset basis
    for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

const char* label(Outcome outcome) {
    switch (outcome) {
        case Outcome::Pass:
            return "PASS";
        case Outcome::Fail:
            return "FAIL";
        case Outcome::Skip:
            return "SKIP";
    }
    return "?";
}

Outcome outcomeFrom(int code) {
    return code == 0 ? Outcome::Pass : (code == 2 ? Outcome::Skip : Outcome::Fail);
}

int codeOf(Outcome outcome) { return outcome == Outcome::Pass ? 0 : (outcome == Outcome::Skip ? 2 : 1); }

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

std::string describeEnding(int status) {
    if (WIFSIGNALED(status)) {
        return std::string("the check crashed (signal ") + std::to_string(WTERMSIG(status)) + ", " +
               strsignal(WTERMSIG(status)) + ")";
    }
    if (WIFEXITED(status)) {
        return "the check ended abnormally (exit status " + std::to_string(WEXITSTATUS(status)) +
               "; a sanitizer report above tells why)";
    }
    return "the check ended abnormally";
}

}  // namespace

Battery::Battery(const vsthost::PluginLibrary& library, const PluginShape& shape, BatteryOptions options)
    : library_(library), shape_(shape), options_(std::move(options)) {}

bool Battery::selected(const std::string& name) const {
    if (options_.only.empty()) return true;
    for (const std::string& part : options_.only) {
        if (name.find(part) != std::string::npos) return true;
    }
    return false;
}

BatteryResult Battery::run(const std::vector<Check>& checks, std::FILE* out) {
    for (const Check& check : checks) {
        if (!selected(check.name)) continue;
        const CheckRun run = options_.isolate ? runIsolated(check) : runHere(check);
        total_ += run.tally;
        if (run.tally.violations() > 0 && firstViolator_.empty()) firstViolator_ = check.name;
        print(out, check.name, run);
        count(run.verdict);
    }
    const std::string summaryName = "realtime.whole-battery";
    if (selected(summaryName)) {
        CheckRun summary{realtimeSummary(), {}, 0.0};
        print(out, summaryName, summary);
        count(summary.verdict);
    }
    std::fprintf(out, "%d passed, %d failed\n", result_.passed, result_.failed);
    std::fflush(out);
    return result_;
}

Battery::CheckRun Battery::runHere(const Check& check) {
    const auto started = std::chrono::steady_clock::now();
    const RealtimeTally before = realtimeTally();
    Context context(library_, shape_, options_.seed ^ nameHash(check.name));
    CheckRun run;
    run.verdict = check.run(context);
    run.tally = realtimeTally() - before;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return run;
}

Battery::CheckRun Battery::runIsolated(const Check& check) {
    const auto started = std::chrono::steady_clock::now();
    int channel[2];
    if (::pipe(channel) != 0) return runHere(check);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return runHere(check);
    }
    if (child == 0) {
        ::close(channel[0]);
        const CheckRun run = runHere(check);
        std::ostringstream message;
        message << codeOf(run.verdict.outcome) << ' ' << run.tally.audioCalls << ' ' << run.tally.allocations << ' '
                << run.tally.releases << ' ' << run.tally.locks << '\n'
                << oneLine(run.verdict.detail);
        writeAll(channel[1], message.str());
        ::close(channel[1]);
        // A normal exit, so that leak and race detectors still report at the end.
        std::exit(0);
    }
    ::close(channel[1]);

    std::string received;
    bool timedOut = false;
    const auto deadline = started + std::chrono::seconds(options_.timeoutSeconds);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got <= 0) break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (timedOut) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    CheckRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::istringstream reader(received);
    int code = -1;
    reader >> code >> run.tally.audioCalls >> run.tally.allocations >> run.tally.releases >> run.tally.locks;
    std::string detail;
    reader.ignore(1);
    std::getline(reader, detail);
    const bool cleanExit = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (timedOut) {
        run.verdict = Verdict::fail("the check hung: no verdict after " + std::to_string(options_.timeoutSeconds) + " s");
    } else if (code < 0 || !cleanExit) {
        run.verdict = Verdict::fail(describeEnding(status) + (detail.empty() ? "" : "; it had found: " + detail));
    } else {
        run.verdict = Verdict{outcomeFrom(code), detail};
    }
    return run;
}

Verdict Battery::realtimeSummary() const {
    if (!realtimeWatchActive()) {
        return Verdict::skip("this build cannot watch allocations and locks");
    }
    if (!realtimeWatchSeesProbe()) {
        return Verdict::fail("the watch missed a probe allocation or lock, so its silence proves nothing");
    }
    if (total_.violations() == 0) {
        return Verdict::pass("no allocation, release or lock in " + std::to_string(total_.audioCalls) +
                             " processReplacing and effProcessEvents calls (" + realtimeWatchMethod() + ")");
    }
    return Verdict::fail(std::to_string(total_.allocations) + " allocations, " + std::to_string(total_.releases) +
                         " releases and " + std::to_string(total_.locks) + " locks inside " +
                         std::to_string(total_.audioCalls) + " audio calls, the first during " + firstViolator_);
}

void Battery::print(std::FILE* out, const std::string& name, const CheckRun& run) {
    std::fprintf(out, "[%s] %s: %s", label(run.verdict.outcome), name.c_str(), oneLine(run.verdict.detail).c_str());
    if (run.seconds >= 0.05) std::fprintf(out, " (%.1f s)", run.seconds);
    std::fprintf(out, "\n");
    std::fflush(out);
}

void Battery::count(const Verdict& verdict) {
    switch (verdict.outcome) {
        case Outcome::Pass:
            ++result_.passed;
            break;
        case Outcome::Fail:
            ++result_.failed;
            break;
        case Outcome::Skip:
            ++result_.skipped;
            break;
    }
}

}  // namespace validate
