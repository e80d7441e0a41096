#include "elfImage.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace {
constexpr uint32_t LoadSegment = 1;         // PT_LOAD
constexpr uint16_t ExtendedCount = 0xFFFF;  // PN_XNUM: the count is in section header 0
constexpr uint64_t VirtualOffset = 0x20000000;

// Where the fields of one class lie, in the file header and a program header.
struct TElfLayout {
    size_t Word;  // bytes of an address or offset
    uint64_t HeaderSize, PhOff, PhEntSize, PhNum;
    uint64_t EntrySize, Type, Offset, VAddr, PAddr, FileSize, MemSize, Flags, Align;
};
constexpr TElfLayout Elf32 = {4, 52, 28, 42, 44, 32, 0, 4, 8, 12, 16, 20, 24, 28};
constexpr TElfLayout Elf64 = {8, 64, 32, 54, 56, 56, 0, 8, 16, 24, 32, 40, 4, 48};

// Fields of the file in its own byte order; nothing is read outside it.
class TElfReader {
public:
    TElfReader(std::string_view file, bool bigEndian) : file_(file), big_(bigEndian) {}
    bool Holds(uint64_t offset, uint64_t size) const { return offset <= file_.size() && size <= file_.size() - offset; }
    // Zero for a field outside the file; the callers check the extent first.
    uint64_t Field(uint64_t offset, size_t width) const {
        if (!Holds(offset, width)) return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            const uint64_t byte = uint8_t(file_[size_t(offset) + (big_ ? i : width - 1 - i)]);
            value = value << 8 | byte;
        }
        return value;
    }

private:
    std::string_view file_;
    bool big_;
};

void Put(std::string& out, uint64_t offset, uint64_t value, size_t width, bool bigEndian) {
    for (size_t i = 0; i < width; ++i) out[size_t(offset) + (bigEndian ? width - 1 - i : i)] = char(value >> (8 * i));
}

TImageFault WholeFile(std::string what) { return {"", {}, std::move(what)}; }
}  // namespace

TImageFault ReadElfImage(std::string_view file, TImageSpans& spans) {
    constexpr char magic[] = {'\x7F', 'E', 'L', 'F'};
    if (file.substr(0, 4) != std::string_view(magic, 4).substr(0, file.size()))
        return WholeFile("not an ELF file: it does not start with 0x7F 'E' 'L' 'F'");
    if (file.size() < 16) return WholeFile("the file is too short for an ELF header");
    const uint8_t elfClass = uint8_t(file[4]), encoding = uint8_t(file[5]);
    if (elfClass != 1 && elfClass != 2) return WholeFile("unknown ELF class " + std::to_string(elfClass));
    if (encoding != 1 && encoding != 2) return WholeFile("unknown ELF data encoding " + std::to_string(encoding));
    const TElfLayout& layout = elfClass == 2 ? Elf64 : Elf32;
    const std::string name = elfClass == 2 ? "ELF64" : "ELF32";
    if (file.size() < layout.HeaderSize) return WholeFile("the file is too short for an " + name + " header");

    const TElfReader elf(file, encoding == 2);
    const uint64_t tableOffset = elf.Field(layout.PhOff, layout.Word);
    const uint64_t entrySize = elf.Field(layout.PhEntSize, 2);
    const uint64_t count = elf.Field(layout.PhNum, 2);
    if (count == ExtendedCount) return WholeFile("extended program header numbering (e_phnum 0xFFFF) is not supported");
    if (count == 0) return {};
    if (entrySize < layout.EntrySize)
        return WholeFile("program header entries of " + std::to_string(entrySize) + " bytes are smaller than the " +
                         std::to_string(layout.EntrySize) + " of an " + name + " program header");
    // Both below 2^16, so the product cannot overflow.
    if (!elf.Holds(tableOffset, count * entrySize))
        return WholeFile("the program header table (" + std::to_string(count) + " entries at offset " +
                         std::to_string(tableOffset) + ") lies outside the file of " + std::to_string(file.size()) +
                         " bytes");

    const uint64_t top = elfClass == 2 ? std::numeric_limits<uint64_t>::max() : 0xFFFFFFFFu;
    // Program headers may name the same file bytes many times over: what they
    // add up to is bounded, far above any image, so that no file makes the
    // reader take gigabytes.
    constexpr uint64_t mostLoadable = uint64_t(256) << 20;
    uint64_t loadable = 0;
    for (uint64_t index = 0; index < count; ++index) {
        const uint64_t entry = tableOffset + index * entrySize;
        const uint64_t fileSize = elf.Field(entry + layout.FileSize, layout.Word);
        if (elf.Field(entry + layout.Type, 4) != LoadSegment || fileSize == 0) continue;
        const uint64_t offset = elf.Field(entry + layout.Offset, layout.Word);
        const uint64_t address = elf.Field(entry + layout.PAddr, layout.Word);
        const std::string where = "segment " + std::to_string(index);
        if (!elf.Holds(offset, fileSize))
            return {where, address,
                    "its " + std::to_string(fileSize) + " bytes at offset " + std::to_string(offset) +
                        " lie outside the file of " + std::to_string(file.size()) + " bytes"};
        // For ELF64 the end itself must fit in 64 bits, as spans keep it.
        const bool wraps = elfClass == 2 ? fileSize > top - address : fileSize - 1 > top - address;
        if (wraps)
            return {where, address,
                    "its " + std::to_string(fileSize) + " bytes run past the top of the " +
                        (elfClass == 2 ? "64" : "32") + "-bit address space"};
        loadable += fileSize;
        if (loadable > mostLoadable)
            return {where, address, "the loadable segments up to this one hold over 256 MiB: no image is that large"};
        spans.Add(address, std::string(file.substr(size_t(offset), size_t(fileSize))), where);
    }
    return {};
}

std::string WriteElfImage(const std::vector<TImageSpan>& segments, bool is64, bool bigEndian) {
    const TElfLayout& layout = is64 ? Elf64 : Elf32;
    const size_t word = layout.Word;
    const uint64_t tableOffset = layout.HeaderSize;
    uint64_t dataOffset = tableOffset + segments.size() * layout.EntrySize;
    std::string out(size_t(dataOffset), '\0');
    out[0] = '\x7F';
    out[1] = 'E';
    out[2] = 'L';
    out[3] = 'F';
    out[4] = char(is64 ? 2 : 1);
    out[5] = char(bigEndian ? 2 : 1);
    // EV_CURRENT, ET_EXEC, e_version, and the entry at the first segment.
    out[6] = 1;
    Put(out, 16, 2, 2, bigEndian);
    Put(out, 20, 1, 4, bigEndian);
    Put(out, 24, segments.empty() ? 0 : segments[0].Address + VirtualOffset, word, bigEndian);
    Put(out, layout.PhOff, tableOffset, word, bigEndian);
    Put(out, layout.HeaderSize - 12, layout.HeaderSize, 2, bigEndian);  // e_ehsize
    Put(out, layout.PhEntSize, layout.EntrySize, 2, bigEndian);
    Put(out, layout.PhNum, segments.size(), 2, bigEndian);
    for (size_t i = 0; i < segments.size(); ++i) {
        const uint64_t entry = tableOffset + i * layout.EntrySize;
        const uint64_t size = segments[i].Bytes.size();
        Put(out, entry + layout.Type, LoadSegment, 4, bigEndian);
        Put(out, entry + layout.Offset, dataOffset, word, bigEndian);
        Put(out, entry + layout.VAddr, segments[i].Address + VirtualOffset, word, bigEndian);
        Put(out, entry + layout.PAddr, segments[i].Address, word, bigEndian);
        Put(out, entry + layout.FileSize, size, word, bigEndian);
        Put(out, entry + layout.MemSize, size, word, bigEndian);
        Put(out, entry + layout.Flags, 5, 4, bigEndian);  // PF_R | PF_X
        Put(out, entry + layout.Align, 1, word, bigEndian);
        dataOffset += size;
    }
    for (const TImageSpan& segment : segments) out += segment.Bytes;
    return out;
}
