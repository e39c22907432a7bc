// The file cipher on libsodium and the wrappers around it: round trips, and every kind of
// changed file refused.
#include <gtest/gtest.h>

#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"

namespace orvane::test {
namespace {

using namespace orvane::firmware;

// Records what reaches the cipher.
class RecordingCipher : public FileCipher {
public:
    int calls = 0;
    int code = -1;
    std::string key2;
    std::string encrypt(int c, std::string_view, std::string_view k2,
                        std::string_view data) override {
        ++calls;
        code = c;
        key2 = k2;
        return std::string(data);
    }
    std::string decrypt(int c, std::string_view k1, std::string_view k2,
                        std::string_view data) override {
        return encrypt(c, k1, k2, data);
    }
    bool looksEnciphered(std::string_view) const override { return false; }
};

TEST(CipherWrappers, SelectorBecomesCodeAndShortSecondKeyIsFilledWithBlanks) {
    EXPECT_EQ(cipherCode(10), 83);
    EXPECT_EQ(cipherCode(0), 18);
    EXPECT_EQ(cipherCode(12), 257);
    EXPECT_EQ(cipherCode(13), 64);
    RecordingCipher cipher;
    EXPECT_EQ(EncryptArray(cipher, 10, "data", "k1", "abcde"), "data");
    EXPECT_EQ(cipher.code, 83);
    EXPECT_EQ(cipher.key2, "abcde   ");
    DecryptArray(cipher, 10, "data", "k1", fileKey2());
    EXPECT_EQ(cipher.key2, fileKey2());
    // Outside the table: no call and an empty result.
    EXPECT_EQ(EncryptArray(cipher, 14, "data", "k1", "k2"), "");
    EXPECT_EQ(DecryptArray(cipher, -1, "data", "k1", "k2"), "");
    EXPECT_EQ(cipher.calls, 2);
}

TEST(CipherWrappers, KeysAreTheirWindows1252Bytes) {
    const std::string key1 = fileKey1();
    EXPECT_EQ(key1.size(), 24u);
    EXPECT_EQ(fileKey1(), key1);
    EXPECT_EQ(fileKey2(), std::string("HRNX/LMCV3") + '\xA7' + ':');
}

class SodiumCipher : public ::testing::Test {
protected:
    SodiumFileCipher cipher;
    std::string key1 = fileKey1();
    std::string key2 = fileKey2();
    std::string plain = ":10200000000102030405060708090A0B0C0D0E0F68\r\n:00000001FF\r\n";

    std::string encipher(std::string_view data) {
        return EncryptArray(cipher, kFirmwareSelector, data, key1, key2);
    }
    std::string decipher(std::string_view data) {
        return DecryptArray(cipher, kFirmwareSelector, data, key1, key2);
    }
    std::string refusal(std::string_view data, int code = 83, std::string_view k1 = {},
                        std::string_view k2 = {}) {
        try {
            cipher.decrypt(code, k1.empty() ? key1 : k1, k2.empty() ? key2 : k2, data);
        } catch (const FileCipherError& e) {
            return e.what();
        }
        return "accepted";
    }
};

TEST_F(SodiumCipher, RoundTripsWithFreshNonces) {
    const std::string a = encipher(plain);
    const std::string b = encipher(plain);
    EXPECT_NE(a, b);
    EXPECT_TRUE(cipher.looksEnciphered(a));
    EXPECT_FALSE(cipher.looksEnciphered(plain));
    EXPECT_EQ(a.find("0102030405"), std::string::npos);
    EXPECT_EQ(decipher(a), plain);
    EXPECT_EQ(decipher(a), plain);
    EXPECT_EQ(decipher(b), plain);
    EXPECT_EQ(decipher(encipher("")), "");
}

TEST_F(SodiumCipher, OtherKeysOrCodeAreRefused) {
    const std::string enciphered = encipher(plain);
    EXPECT_EQ(refusal(enciphered), "accepted");
    EXPECT_NE(refusal(enciphered, 80).find("other keys"), std::string::npos);
    EXPECT_NE(refusal(enciphered, 83, key1.substr(1) + "x").find("other keys"), std::string::npos);
    EXPECT_NE(refusal(enciphered, 83, key1, "HRNX/LMCV3:").find("other keys"), std::string::npos);
}

TEST_F(SodiumCipher, EveryFlippedBitIsRefused) {
    const std::string enciphered = cipher.encrypt(83, key1, key2, "0123456789");
    for (std::size_t i = 0; i < enciphered.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            std::string changed = enciphered;
            changed[i] = static_cast<char>(changed[i] ^ (1 << bit));
            ASSERT_NE(refusal(changed), "accepted") << "byte " << i << " bit " << bit;
        }
}

TEST_F(SodiumCipher, CutOrLengthenedFilesAreRefused) {
    const std::string enciphered = cipher.encrypt(83, key1, key2, plain);
    for (std::size_t n = 0; n < enciphered.size(); ++n)
        ASSERT_NE(refusal(enciphered.substr(0, n)), "accepted") << n;
    EXPECT_NE(refusal(enciphered.substr(0, enciphered.size() - 1)).find("cut short"),
              std::string::npos);
    EXPECT_NE(refusal(enciphered + '\0').find("damaged"), std::string::npos);
    EXPECT_NE(refusal(plain).find("not a firmware file enciphered by this program"),
              std::string::npos);
}

} // namespace
} // namespace orvane::test
