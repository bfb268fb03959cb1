// vst-validate: runs a battery of host behaviours, good and bad, against any
// VST 2.4 plug-in library and prints a verdict for each.
//
//   vst-validate [--seed N] [--only NAME]... [--no-fork] [--timeout SECONDS] [--list] LIBRARY
//
// The last line is "N passed, M failed"; the exit status is 0 only when
// nothing failed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/validate/Battery.h"

namespace {

constexpr int kUsageError = 2;

void printUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: vst-validate [--seed N] [--only NAME]... [--no-fork] [--timeout SECONDS] [--list] LIBRARY\n"
                 "  --seed N         seed of the random host behaviour (default 1)\n"
                 "  --only NAME      run only the checks whose name contains NAME (repeatable)\n"
                 "  --no-fork        run every check in this process (for a debugger)\n"
                 "  --timeout S      seconds a check may take before it counts as hung (default 600)\n"
                 "  --list           print the names of the checks and stop\n");
}

struct Arguments {
    std::string library;
    validate::BatteryOptions options;
    bool list = false;
};

bool parseNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

bool parse(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        unsigned long long number = 0;
        if (argument == "--seed" && hasValue && parseNumber(argv[i + 1], number)) {
            arguments.options.seed = number;
            ++i;
        } else if (argument == "--timeout" && hasValue && parseNumber(argv[i + 1], number) && number > 0) {
            arguments.options.timeoutSeconds = static_cast<int>(number);
            ++i;
        } else if (argument == "--only" && hasValue) {
            arguments.options.only.emplace_back(argv[++i]);
        } else if (argument == "--no-fork") {
            arguments.options.isolate = false;
        } else if (argument == "--list") {
            arguments.list = true;
        } else if (!argument.empty() && argument[0] != '-' && arguments.library.empty()) {
            arguments.library = argument;
        } else {
            std::fprintf(stderr, "vst-validate: cannot use the argument \"%s\"\n", argument.c_str());
            return false;
        }
    }
    return arguments.list || !arguments.library.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!parse(argc, argv, arguments)) {
        printUsage(stderr);
        return kUsageError;
    }
    const std::vector<validate::Check> checks = validate::allChecks();
    if (arguments.list) {
        for (const validate::Check& check : checks) std::printf("%s\n", check.name.c_str());
        std::printf("realtime.whole-battery\n");
        return 0;
    }

    std::string error;
    auto library = vsthost::PluginLibrary::open(arguments.library, error);
    validate::PluginShape shape;
    if (!library || !validate::readPluginShape(*library, shape, error)) {
        std::fprintf(stderr, "vst-validate: %s\n", error.c_str());
        std::printf("0 passed, 1 failed\n");
        return 1;
    }
    std::printf("vst-validate %s (seed %llu): %d programs, %d parameters, %d inputs, %d outputs, flags 0x%X\n",
                arguments.library.c_str(), static_cast<unsigned long long>(arguments.options.seed),
                shape.numPrograms, shape.numParams, shape.numInputs, shape.numOutputs,
                static_cast<unsigned>(shape.flags));
    validate::Battery battery(*library, shape, arguments.options);
    const validate::BatteryResult result = battery.run(checks, stdout);
    return result.failed == 0 ? 0 : 1;
}
