#include "image/elfImage.h"

#include "imageRecordsTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// Field offsets as the ELF format fixes them, independent of the reader's own.
struct TLayout {
    size_t Word, Table, Entry, PhOff, PhEntSize, PhNum, Type, Offset, PAddr, FileSize, MemSize;
};
constexpr TLayout Elf32 = {4, 52, 32, 28, 42, 44, 0, 4, 12, 16, 20};
constexpr TLayout Elf64 = {8, 64, 56, 32, 54, 56, 0, 8, 24, 32, 40};

// A field of the file header (Segment -1) or of a program header; no width, no change.
struct TPatch {
    int Segment = -1;
    size_t Field = 0;
    uint64_t Value = 0;
    size_t Width = 0;
};

void Apply(std::string& file, bool is64, bool big, const TPatch& patch) {
    const TLayout& l = is64 ? Elf64 : Elf32;
    const size_t at = patch.Segment < 0 ? patch.Field : l.Table + size_t(patch.Segment) * l.Entry + patch.Field;
    for (size_t i = 0; i < patch.Width; ++i) file[at + (big ? patch.Width - 1 - i : i)] = char(patch.Value >> (8 * i));
}

const std::vector<TImageSpan> Segments = {{0x08000000, std::string("\x01\x02\xF0\xFF", 4), "segment 0"},
                                          {0x08004000, "vectors and code", "segment 1"}};

std::vector<TImageSpan> Read(const std::string& file) { return ReadBack(ReadElfImage, file); }

TEST(ElfImage, RoundTripEveryClassAndByteOrder) {
    for (const bool is64 : {false, true}) {
        for (const bool big : {false, true}) {
            std::string file = WriteElfImage(Segments, is64, big);
            // RAM past the file bytes is not part of the image.
            const TLayout& l = is64 ? Elf64 : Elf32;
            Apply(file, is64, big, {0, l.MemSize, 0x400, l.Word});
            const std::vector<TImageSpan> spans = Read(file);
            ASSERT_EQ(spans.size(), 2u) << is64 << big;
            for (size_t i = 0; i < 2; ++i) {
                EXPECT_EQ(spans[i].Address, Segments[i].Address) << is64 << big;
                EXPECT_EQ(spans[i].Bytes, Segments[i].Bytes) << is64 << big;
                EXPECT_EQ(spans[i].Where, Segments[i].Where) << is64 << big;
            }
        }
    }
}

TEST(ElfImage, SkipsSegmentsWithoutLoadedBytes) {
    std::vector<TImageSpan> three = Segments;
    three.push_back({0x20000000, "data", ""});
    std::string file = WriteElfImage(three, false, false);
    Apply(file, false, false, {0, Elf32.Type, 4, 4});      // PT_NOTE
    Apply(file, false, false, {2, Elf32.FileSize, 0, 4});  // all .bss
    const std::vector<TImageSpan> spans = Read(file);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].Where, "segment 1");
    EXPECT_EQ(spans[0].Bytes, Segments[1].Bytes);
}

TEST(ElfImage, TakesSegmentsEndingAtTheTopOfTheAddressSpace) {
    const std::vector<TImageSpan> top32 = {{0xFFFFFFFC, "last", "segment 0"}};
    EXPECT_EQ(Read(WriteElfImage(top32, false, true))[0].Address, 0xFFFFFFFCu);
    const std::vector<TImageSpan> top64 = {{UINT64_MAX - 4, "last", "segment 0"}};
    EXPECT_EQ(Read(WriteElfImage(top64, true, false))[0].End(), UINT64_MAX);
}

TEST(ElfImage, RefusesBrokenFiles) {
    const uint64_t nearTop = UINT64_MAX - 15;
    const struct {
        const char* name;
        bool is64, big;
        TPatch patch;
        size_t length;  // cut to; 0 keeps it whole
        const char* phrase;
        const char* where;
        std::optional<uint64_t> address;
    } cases[] = {
        {"three bytes", false, false, {}, 3, "too short", "", {}},
        {"half a header", true, false, {}, 40, "too short", "", {}},
        {"no magic", false, false, {-1, 1, 'e', 1}, 0, "not an ELF", "", {}},
        {"class 3", false, true, {-1, 4, 3, 1}, 0, "class", "", {}},
        {"encoding 0", true, true, {-1, 5, 0, 1}, 0, "data encoding", "", {}},
        {"short entries", false, false, {-1, Elf32.PhEntSize, 31, 2}, 0, "smaller", "", {}},
        {"table offset wraps", true, false, {-1, Elf64.PhOff, UINT64_MAX - 8, 8}, 0, "program header table", "", {}},
        {"table past the end", false, true, {-1, Elf32.PhNum, 40, 2}, 0, "program header table", "", {}},
        {"extended numbering", true, true, {-1, Elf64.PhNum, 0xFFFF, 2}, 0, "not supported", "", {}},
        {"past the end", false, false, {1, Elf32.FileSize, 17, 4}, 0, "outside the file", "segment 1", 0x08004000},
        {"size wraps", true, true, {1, Elf64.FileSize, UINT64_MAX, 8}, 0, "outside the file", "segment 1", 0x08004000},
        {"past 4 GiB", false, true, {0, Elf32.PAddr, 0xFFFFFFFE, 4}, 0, "32-bit address", "segment 0", 0xFFFFFFFE},
        {"past 2^64", true, false, {1, Elf64.PAddr, nearTop, 8}, 0, "64-bit address", "segment 1", nearTop},
    };
    for (const auto& c : cases) {
        std::string file = WriteElfImage(Segments, c.is64, c.big);
        Apply(file, c.is64, c.big, c.patch);
        if (c.length) file.resize(c.length);
        TImageSpans spans;
        const TImageFault fault = ReadElfImage(file, spans);
        EXPECT_NE(fault.What.find(c.phrase), std::string::npos) << c.name << ": " << fault.What;
        EXPECT_EQ(fault.Where, c.where) << c.name;
        EXPECT_EQ(fault.Address, c.address) << c.name;
    }
}

}  // namespace
