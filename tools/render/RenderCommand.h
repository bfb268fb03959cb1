// The whole renderer behind main(): parse the command line, read the MIDI
// file, load and set up the plug-in, render, write, report. Every failure
// becomes one message on the error stream and a non-zero result.
#pragma once

#include <csignal>
#include <ostream>
#include <string>
#include <vector>

namespace render {

struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    bool progressVisible = false;  // the error stream is a terminal
    const volatile std::sig_atomic_t* stopFlag = nullptr;
};

// Exit statuses.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a file, the plug-in or the output let us down
constexpr int kExitUsage = 2;    // the command line itself is wrong

int runRenderCommand(const std::vector<std::string>& arguments, const CommandContext& context);

}  // namespace render
