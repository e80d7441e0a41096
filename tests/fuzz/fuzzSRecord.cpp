// The S-record reader on any text; the writer's files read back exactly.
#include "image/sRecord.h"
#include "tests/fuzz/fuzzImageRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageRecords(data, size, WriteSRecord, ReadSRecord);
}
