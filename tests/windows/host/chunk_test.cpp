// Saved state crosses platforms unchanged: a project saved with the Linux
// library opens with the DLL, and the DLL saves the same bytes.
#include <cstring>

#include "tests/windows/ReferencePerformance.h"
#include "tests/windows/host/LibraryFixture.h"

namespace {

std::vector<uint8_t> referenceChunk(const char* file) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(reference::readFile(checkSettings().referenceFolder + "/" + file, bytes)) << file;
    return bytes;
}

}  // namespace

using ChunkTest = LibraryFixture;

TEST_F(ChunkTest, SavesTheSameBytesAsTheLinuxBuild) {
    std::string error;
    const reference::SavedState state = reference::saveEditedState(*library, error);
    ASSERT_EQ(state.bank.size(), 608u) << error;  // eight 76-byte program records
    ASSERT_EQ(state.program.size(), 48u);          // twelve 32-bit values
    EXPECT_EQ(state.bank, referenceChunk(reference::kBankChunkFile));
    EXPECT_EQ(state.program, referenceChunk(reference::kProgramChunkFile));
}

TEST_F(ChunkTest, RestoresABankSavedOnLinux) {
    std::vector<uint8_t> bank = referenceChunk(reference::kBankChunkFile);
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    ASSERT_NE(plugin->dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 0);
    for (const reference::ProgramEdit& edit : reference::stateEdits()) {
        SCOPED_TRACE(edit.program);
        plugin->dispatch(effSetProgram, 0, edit.program);
        if (edit.name) {
            EXPECT_EQ(plugin->text(effGetProgramName), edit.name);
        }
        for (const auto& [index, value] : edit.parameters) EXPECT_EQ(plugin->getParameter(index), value) << index;
    }
}

TEST_F(ChunkTest, RestoresAProgramSavedOnLinux) {
    std::vector<uint8_t> program = referenceChunk(reference::kProgramChunkFile);
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    ASSERT_NE(plugin->dispatch(effSetChunk, 1, static_cast<VstIntPtr>(program.size()), program.data()), 0);
    // The program chunk holds the current program's values when it was saved:
    // the last edit's.
    for (const auto& [index, value] : reference::stateEdits().back().parameters) {
        EXPECT_EQ(plugin->getParameter(index), value) << index;
    }
}
