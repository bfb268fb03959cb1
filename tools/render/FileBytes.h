// Whole-file reads and writes with messages that name the file, and writes
// that go to a temporary file next to the target first, so that a failed
// write never leaves a half-written file under the target's name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace render {

// The file's bytes, or nothing with `error` set ("PATH: no such file", ...).
std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path, std::string& error);

// Writes `bytes` to a temporary file in the target's folder and renames it
// over `path`. Returns false with `error` set when any step fails.
bool writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// A new, empty file next to `target` that no other process uses, opened for
// writing with the permissions an ordinary new file gets. Returns its file
// descriptor and sets `tempPath`, or -1 with `error` set.
int createTemporaryNextTo(const std::string& target, std::string& tempPath, std::string& error);

// Moves `tempPath` over `target` in one step.
bool replaceWithTemporary(const std::string& tempPath, const std::string& target, std::string& error);

// The reason behind the last failed system call, as a sentence fragment.
std::string systemReason();

}  // namespace render
