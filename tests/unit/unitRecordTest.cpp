#include "console/unitRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

// A file cut mid-record (a full disk, a crash) is never glued to the next:
// each record begins a line of its own.
TEST(UnitRecordFile, ARecordAfterACutLineBeginsALineOfItsOwn) {
    const auto path = std::filesystem::temp_directory_path() / "quarnelvisk-records-test.jsonl";
    std::ofstream(path, std::ios::binary) << "{\"time\":\"2026-12-10T10:00:00.000Z\",\"port\":\"CO";
    {
        TUnitRecordFile records;
        std::string failure;
        ASSERT_TRUE(records.Open(path.string(), failure)) << failure;
        TUnitRecord record;
        record.Port = "COM3";
        EXPECT_TRUE(records.Write(record));
        EXPECT_TRUE(records.Write(record));
        EXPECT_FALSE(records.Failed());
    }
    const std::string text = Contents(path);
    std::filesystem::remove(path);
    const size_t first = text.find('\n');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.substr(0, first), "{\"time\":\"2026-12-10T10:00:00.000Z\",\"port\":\"CO");
    const std::string rest = text.substr(first + 1);
    const size_t second = rest.find('\n');
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(rest.compare(0, 9, "{\"time\":\""), 0);
    EXPECT_EQ(rest.substr(second + 1, 9), "{\"time\":\"");
    EXPECT_EQ(rest.back(), '\n');
}
