#include "image/elfImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// Field offsets as the ELF format fixes them, independent of the reader's own.
struct TLayout {
    int Word;
    size_t PhOff, PhEntSize, PhNum, Table, Entry, Type, Offset, PAddr, FileSize, MemSize;
};
constexpr TLayout Elf32 = {4, 28, 42, 44, 52, 32, 0, 4, 12, 16, 20};
constexpr TLayout Elf64 = {8, 32, 54, 56, 64, 56, 0, 8, 24, 32, 40};

void Put(std::string& file, size_t at, uint64_t value, int width, bool big) {
    for (int i = 0; i < width; ++i) file[at + (big ? width - 1 - i : i)] = char(value >> (8 * i));
}
// A field of program header `index`.
void PutSegment(std::string& file, bool is64, bool big, size_t index, size_t field, uint64_t value, int width = 0) {
    const TLayout& l = is64 ? Elf64 : Elf32;
    Put(file, l.Table + index * l.Entry + field, value, width ? width : l.Word, big);
}

const std::vector<TImageSpan> Segments = {{0x08000000, std::string("\x01\x02\xF0\xFF", 4), "segment 0"},
                                          {0x08004000, "vectors and code", "segment 1"}};

std::vector<TImageSpan> Read(const std::string& file) {
    TImageSpans spans;
    const TImageFault fault = ReadElfImage(file, spans);
    EXPECT_FALSE(fault) << fault.Where << ": " << fault.What;
    std::vector<TImageSpan> merged;
    EXPECT_FALSE(spans.Merge(merged));
    return merged;
}

TEST(ElfImage, RoundTripEveryClassAndByteOrder) {
    for (const bool is64 : {false, true}) {
        for (const bool big : {false, true}) {
            std::string file = WriteElfImage(Segments, is64, big);
            // RAM past the file bytes is not part of the image.
            PutSegment(file, is64, big, 0, (is64 ? Elf64 : Elf32).MemSize, 0x400);
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
    PutSegment(file, false, false, 0, Elf32.Type, 4, 4);   // PT_NOTE
    PutSegment(file, false, false, 2, Elf32.FileSize, 0);  // all .bss
    const std::vector<TImageSpan> spans = Read(file);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].Where, "segment 1");
    EXPECT_EQ(spans[0].Bytes, Segments[1].Bytes);
}

TEST(ElfImage, TakesSegmentsEndingAtTheTopOfTheAddressSpace) {
    const std::vector<TImageSpan> top32 = {{0xFFFFFFFC, "last", "segment 0"}};
    EXPECT_EQ(Read(WriteElfImage(top32, false, true))[0].Address, 0xFFFFFFFCu);
    const std::vector<TImageSpan> top64 = {{~uint64_t(0) - 4, "last", "segment 0"}};
    EXPECT_EQ(Read(WriteElfImage(top64, true, false))[0].End(), ~uint64_t(0));
}

TEST(ElfImage, RefusesBrokenFiles) {
    using TMutation = std::function<void(std::string&)>;
    const struct {
        const char* name;
        bool is64, big;
        TMutation mutate;
        const char* phrase;
        const char* where;
        std::optional<uint64_t> address;
    } cases[] = {
        {"three bytes", false, false, [](std::string& f) { f.resize(3); }, "too short", "", {}},
        {"half a header", true, false, [](std::string& f) { f.resize(40); }, "too short", "", {}},
        {"hex text", false, false, [](std::string& f) { f = ":10000000"; }, "not an ELF", "", {}},
        {"class 3", false, true, [](std::string& f) { f[4] = 3; }, "class", "", {}},
        {"encoding 0", true, true, [](std::string& f) { f[5] = 0; }, "data encoding", "", {}},
        {"short entries",
         false,
         false,
         [](std::string& f) { Put(f, Elf32.PhEntSize, 31, 2, false); },
         "smaller",
         "",
         {}},
        {"table offset wraps",
         true,
         false,
         [](std::string& f) { Put(f, Elf64.PhOff, ~uint64_t(0) - 8, 8, false); },
         "program header table",
         "",
         {}},
        {"table past the end",
         false,
         true,
         [](std::string& f) { Put(f, Elf32.PhNum, 40, 2, true); },
         "program header table",
         "",
         {}},
        {"extended numbering",
         true,
         true,
         [](std::string& f) { Put(f, Elf64.PhNum, 0xFFFF, 2, true); },
         "not supported",
         "",
         {}},
        {"bytes past the end", false, false, [](std::string& f) { PutSegment(f, false, false, 1, Elf32.FileSize, 17); },
         "outside the file", "segment 1", 0x08004000},
        {"size wraps the offset", true, true,
         [](std::string& f) { PutSegment(f, true, true, 1, Elf64.FileSize, ~uint64_t(0)); }, "outside the file",
         "segment 1", 0x08004000},
        {"past 4 GiB", false, true, [](std::string& f) { PutSegment(f, false, true, 0, Elf32.PAddr, 0xFFFFFFFE); },
         "32-bit address space", "segment 0", 0xFFFFFFFE},
        {"past 2^64", true, false,
         [](std::string& f) { PutSegment(f, true, false, 1, Elf64.PAddr, ~uint64_t(0) - 15); }, "64-bit address space",
         "segment 1", ~uint64_t(0) - 15},
    };
    for (const auto& c : cases) {
        std::string file = WriteElfImage(Segments, c.is64, c.big);
        c.mutate(file);
        TImageSpans spans;
        const TImageFault fault = ReadElfImage(file, spans);
        EXPECT_NE(fault.What.find(c.phrase), std::string::npos) << c.name << ": " << fault.What;
        EXPECT_EQ(fault.Where, c.where) << c.name;
        EXPECT_EQ(fault.Address, c.address) << c.name;
    }
}

}  // namespace
