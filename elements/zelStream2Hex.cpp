#include "zelStream2Hex.h"

std::string BytesToHex(std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
    return out;
}

void TZelStream2Hex::doConvert(TData& d, uint16_t) {
    ForwardStr(d, onResult, BytesToHex(ReadString(d, Data, std::string())));
}
