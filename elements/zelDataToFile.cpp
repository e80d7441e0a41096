#include "zelDataToFile.h"

#include "runtime/memoryStream.h"

int32_t TZelDataToFile::ReadByteItem(TMemoryStream& stream) {
    unsigned char byte = 0;
    stream.Read(&byte, 1);  // at the end nothing is read and the byte stays 0
    return byte;
}

void TZelDataToFile::doGet(TData& d, uint16_t) {
    TMemoryStream* stream = ReadStreamPoint(Stream);
    if (stream == nullptr || ItemReader == nullptr) return;
    ForwardData(d, onGet, MakeInt(ItemReader(*stream)));
}
