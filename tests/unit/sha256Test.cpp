#include "image/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every byte value once, so a sign-extended char would show.
std::string EveryByte() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += char(i);
    return bytes;
}

TEST(Sha256, KnownDigests) {
    const struct {
        const char* name;
        std::string bytes;
        const char* hex;
    } cases[] = {
        // FIPS 180-4 examples.
        {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"448 bits", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"million a", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // Around the padding: 55 bytes still fit the length in one block, 56 need a second.
        {"1 x", std::string(1, 'x'), "2d711642b726b04401627ca9fbac32f5c8530fb1903cc4db02258717921a4881"},
        {"55 x", std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
        {"56 x", std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
        {"57 x", std::string(57, 'x'), "ae14a2563ccf969d99aca69ce6bb74981f734bbf9f655f73b8f06db68cab5217"},
        {"63 x", std::string(63, 'x'), "75220b47218278e656f2013bb8f0c455a25eaf01e86c64924e9d48d89776d6f2"},
        {"64 x", std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
        {"65 x", std::string(65, 'x'), "9537c5fdf120482f7d58d25e9ed583f52c02b4e304ea814db1633ad565aed7e9"},
        {"119 x", std::string(119, 'x'), "000b48d4edf0fa7bee3c6236ecd2785baa5db4eeb8bb54341b029e0d9fa5fb0c"},
        {"120 x", std::string(120, 'x'), "13f05a0b594787f5ecd315edc96141bd3243203d1b7d4f0836f37308b276ba98"},
        {"128 x", std::string(128, 'x'), "24da1b81d0b16df6428eee73c69fcb2a93c76bc6df706f0c6670fe6bfe800464"},
        {"every byte", EveryByte(), "40aff2e9d2d8922e47afd4648e6967497158785fbd1da870e7110266bf944880"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sha256Hex(c.bytes), c.hex) << c.name;
}

TEST(Sha256, DigestBytesInOrder) {
    const std::array<uint8_t, 32> digest = Sha256("abc");
    EXPECT_EQ(digest[0], 0xba);
    EXPECT_EQ(digest[1], 0x78);
    EXPECT_EQ(digest[30], 0x15);
    EXPECT_EQ(digest[31], 0xad);
}

}  // namespace
