#include "zelConvertor.h"

std::string FormatHex(uint32_t n, int minDigits) {
    static constexpr char hex[] = "0123456789ABCDEF";
    char buffer[16];
    int length = 0;
    do {
        buffer[length++] = hex[n & 0xF];
        n >>= 4;
    } while (n != 0);
    std::string out;
    if (minDigits > length) out.assign(size_t(minDigits - length), '0');
    while (length > 0) out += buffer[--length];
    return out;
}

void TZelConvertor::doConvert(TData& d, uint16_t) {
    const int32_t n = ReadInteger(d, Data, 0);
    std::string result;
    switch (Mode) {
        case 4: result.assign(1, static_cast<char>(n & 0xFF)); break;
        case 6: result = FormatHex(static_cast<uint32_t>(n), Digits & 0xF); break;
        default: result = FormatInteger(n); break;
    }
    ForwardStr(d, onResult, std::move(result));
}
