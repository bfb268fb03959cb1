// orrelune-render: plays a Standard MIDI File through a VST 2.4 instrument
// and writes the sound to an audio file.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/render/RenderCommand.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// An interrupted render stops at the next block and removes its temporary file.
extern "C" void requestStop(int) { stopRequested = 1; }

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const render::CommandContext context{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, &stopRequested};
    return render::runRenderCommand(arguments, context);
}
