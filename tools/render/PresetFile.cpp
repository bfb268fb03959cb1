#include "tools/render/PresetFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "host/VstAbi.h"
#include "tools/render/ByteReader.h"

namespace render {

namespace {

constexpr int32_t kChunkMagic = fourCharCode('C', 'c', 'n', 'K');
constexpr int32_t kProgramParametersMagic = fourCharCode('F', 'x', 'C', 'k');
constexpr int32_t kProgramChunkMagic = fourCharCode('F', 'P', 'C', 'h');
constexpr int32_t kBankParametersMagic = fourCharCode('F', 'x', 'B', 'k');
constexpr int32_t kBankChunkMagic = fourCharCode('F', 'B', 'C', 'h');

constexpr std::size_t kCommonHeaderSize = 28;  // magic, size, type, version, ID, plug-in version, count
constexpr std::size_t kNameFieldSize = 28;     // a program's name, zero-terminated
constexpr std::size_t kBankReservedSize = 128;  // a bank's current program and room for the future

// Reads the big-endian numbers of a preset file, remembering the first
// problem so that a parse can read a whole header and check once.
class PresetReader {
public:
    PresetReader(const uint8_t* data, std::size_t size, std::size_t base) : reader_(data, size, base) {}

    int32_t int32() {
        uint32_t value = 0;
        if (!reader_.readUint32(value)) truncated_ = true;
        return static_cast<int32_t>(value);
    }
    float float32() { return std::bit_cast<float>(static_cast<uint32_t>(int32())); }
    std::string name() {
        const uint8_t* bytes = nullptr;
        if (!reader_.readBytes(kNameFieldSize, bytes)) {
            truncated_ = true;
            return {};
        }
        const auto* text = reinterpret_cast<const char*>(bytes);
        return std::string(text, strnlen(text, kNameFieldSize));
    }
    std::vector<uint8_t> bytes(std::size_t count) {
        const uint8_t* start = nullptr;
        if (!reader_.readBytes(count, start)) {
            truncated_ = true;
            return {};
        }
        return std::vector<uint8_t>(start, start + count);
    }
    void skip(std::size_t count) {
        if (!reader_.skip(count)) truncated_ = true;
    }
    bool truncated() const { return truncated_; }
    std::size_t remaining() const { return reader_.remaining(); }
    std::size_t fileOffset() const { return reader_.fileOffset(); }

private:
    ByteReader reader_;
    bool truncated_ = false;
};

class PresetWriter {
public:
    void int32(int32_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<uint8_t>(bits >> shift));
    }
    void float32(float value) { int32(static_cast<int32_t>(std::bit_cast<uint32_t>(value))); }
    void name(const std::string& text) {
        std::vector<uint8_t> field(kNameFieldSize, 0);
        std::memcpy(field.data(), text.data(), std::min(text.size(), kNameFieldSize - 1));
        bytes_.insert(bytes_.end(), field.begin(), field.end());
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void bytes(const std::vector<uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    // The 'CcnK' header's size field counts everything after itself.
    std::vector<uint8_t> finish() {
        const auto size = static_cast<uint32_t>(bytes_.size() - 8);
        for (int i = 0; i < 4; ++i) bytes_[4 + i] = static_cast<uint8_t>(size >> (24 - 8 * i));
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
};

struct CommonHeader {
    int32_t type;
    int32_t formatVersion;
    int32_t pluginId;
    int32_t pluginVersion;
    int32_t count;  // parameters for a program, programs for a bank
};

bool readCommonHeader(PresetReader& reader, CommonHeader& header, std::size_t available, std::string& error) {
    const int32_t magic = reader.int32();
    const int32_t byteSize = reader.int32();
    header = {reader.int32(), reader.int32(), reader.int32(), reader.int32(), reader.int32()};
    if (magic != kChunkMagic) {
        error = "not a preset file (it does not begin with 'CcnK')";
        return false;
    }
    if (reader.truncated()) {
        error = "the file ends inside its preset header";
        return false;
    }
    if (byteSize < 0 || static_cast<std::size_t>(byteSize) + 8 > available) {
        error = "the header announces " + std::to_string(byteSize + 8) + " bytes but only " +
                std::to_string(available) + " are there";
        return false;
    }
    return true;
}

bool readValues(PresetReader& reader, int32_t count, ProgramPreset& program, std::string& error) {
    if (count < 0 || static_cast<std::size_t>(count) > reader.remaining() / 4) {
        error = "the header announces " + std::to_string(count) + " parameter values but the file holds fewer";
        return false;
    }
    program.values.resize(static_cast<std::size_t>(count));
    for (float& value : program.values) value = reader.float32();
    return true;
}

bool readChunk(PresetReader& reader, PresetFile& preset, std::string& error) {
    const int32_t size = reader.int32();
    if (reader.truncated() || size < 0 || static_cast<std::size_t>(size) > reader.remaining()) {
        error = "the chunk claims " + std::to_string(size) + " bytes but only " + std::to_string(reader.remaining()) +
                " follow";
        return false;
    }
    preset.chunk = reader.bytes(static_cast<std::size_t>(size));
    return true;
}

// One program of the Parameters form, as it stands alone or inside a bank.
bool readParameterProgram(PresetReader& reader, const CommonHeader& header, PresetFile& preset, std::string& error) {
    ProgramPreset program;
    program.name = reader.name();
    if (reader.truncated()) {
        error = "the file ends inside the program's name";
        return false;
    }
    if (!readValues(reader, header.count, program, error)) return false;
    preset.programs.push_back(std::move(program));
    return true;
}

bool parseProgram(PresetReader& reader, const CommonHeader& header, PresetFile& preset, std::string& error) {
    preset.kind = PresetKind::Program;
    preset.parameterCount = header.count;
    if (header.type == kProgramParametersMagic) {
        preset.form = PresetForm::Parameters;
        return readParameterProgram(reader, header, preset, error);
    }
    preset.form = PresetForm::Chunk;
    ProgramPreset program;
    program.name = reader.name();
    if (reader.truncated()) {
        error = "the file ends inside the program's name";
        return false;
    }
    preset.programs.push_back(program);
    return readChunk(reader, preset, error);
}

bool parseBankPrograms(PresetReader& reader, const CommonHeader& bank, PresetFile& preset, std::string& error) {
    if (bank.count < 0) {
        error = "the bank announces " + std::to_string(bank.count) + " programs";
        return false;
    }
    for (int32_t index = 0; index < bank.count; ++index) {
        const std::string where = "program " + std::to_string(index) + " of the bank: ";
        CommonHeader header{};
        if (!readCommonHeader(reader, header, reader.remaining(), error)) {
            error = where + error;
            return false;
        }
        if (header.type != kProgramParametersMagic) {
            error = where + "'" + fourCharText(header.type) + "' where a program of parameter values ('FxCk') belongs";
            return false;
        }
        if (!readParameterProgram(reader, header, preset, error)) {
            error = where + error;
            return false;
        }
    }
    return true;
}

bool parseBank(PresetReader& reader, const CommonHeader& header, PresetFile& preset, std::string& error) {
    preset.kind = PresetKind::Bank;
    preset.programCount = header.count;
    preset.currentProgram = reader.int32();
    if (header.formatVersion < 2) preset.currentProgram = 0;  // older banks do not record it
    reader.skip(kBankReservedSize - 4);
    if (reader.truncated()) {
        error = "the file ends inside the bank's header";
        return false;
    }
    if (header.type == kBankParametersMagic) {
        preset.form = PresetForm::Parameters;
        return parseBankPrograms(reader, header, preset, error);
    }
    preset.form = PresetForm::Chunk;
    return readChunk(reader, preset, error);
}

void writeCommonHeader(PresetWriter& writer, int32_t type, const PresetFile& preset, int32_t count) {
    writer.int32(kChunkMagic);
    writer.int32(0);  // filled in by finish()
    writer.int32(type);
    writer.int32(preset.formatVersion);
    writer.int32(preset.pluginId);
    writer.int32(preset.pluginVersion);
    writer.int32(count);
}

std::vector<uint8_t> serializeParameterProgram(const PresetFile& preset, const ProgramPreset& program) {
    PresetWriter writer;
    PresetFile single = preset;
    single.formatVersion = 1;
    writeCommonHeader(writer, kProgramParametersMagic, single, static_cast<int32_t>(program.values.size()));
    writer.name(program.name);
    for (float value : program.values) writer.float32(value);
    return writer.finish();
}

std::vector<uint8_t> serializeProgram(const PresetFile& preset) {
    const ProgramPreset program = preset.programs.empty() ? ProgramPreset{} : preset.programs.front();
    if (preset.form == PresetForm::Parameters) return serializeParameterProgram(preset, program);
    PresetWriter writer;
    writeCommonHeader(writer, kProgramChunkMagic, preset, preset.parameterCount);
    writer.name(program.name);
    writer.int32(static_cast<int32_t>(preset.chunk.size()));
    writer.bytes(preset.chunk);
    return writer.finish();
}

std::vector<uint8_t> serializeBank(const PresetFile& preset) {
    PresetWriter writer;
    const bool chunk = preset.form == PresetForm::Chunk;
    writeCommonHeader(writer, chunk ? kBankChunkMagic : kBankParametersMagic, preset, preset.programCount);
    writer.int32(preset.formatVersion >= 2 ? preset.currentProgram : 0);
    writer.zeros(kBankReservedSize - 4);
    if (chunk) {
        writer.int32(static_cast<int32_t>(preset.chunk.size()));
        writer.bytes(preset.chunk);
    } else {
        for (const ProgramPreset& program : preset.programs) writer.bytes(serializeParameterProgram(preset, program));
    }
    return writer.finish();
}

}  // namespace

std::string fourCharText(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

std::optional<PresetFile> parsePresetFile(const uint8_t* data, std::size_t size, std::string& error) {
    PresetReader reader(data, size, 0);
    CommonHeader header{};
    if (!readCommonHeader(reader, header, size, error)) return std::nullopt;
    PresetFile preset;
    preset.pluginId = header.pluginId;
    preset.pluginVersion = header.pluginVersion;
    preset.formatVersion = header.formatVersion;
    bool parsed = false;
    if (header.type == kProgramParametersMagic || header.type == kProgramChunkMagic) {
        parsed = parseProgram(reader, header, preset, error);
    } else if (header.type == kBankParametersMagic || header.type == kBankChunkMagic) {
        parsed = parseBank(reader, header, preset, error);
    } else {
        error = "unknown preset type '" + fourCharText(header.type) + "' (FxCk, FPCh, FxBk or FBCh expected)";
    }
    if (!parsed) return std::nullopt;
    return preset;
}

std::vector<uint8_t> serializePresetFile(const PresetFile& preset) {
    return preset.kind == PresetKind::Program ? serializeProgram(preset) : serializeBank(preset);
}

}  // namespace render
