// Firmware files on disk: the size limit, and enciphering a file into its "_enc" twin.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_file.h"
#include "temp_folder.h"

namespace orvane::test {
namespace {

using namespace orvane::firmware;

TEST(FirmwareFile, FilesBeyondTheLimitAndFoldersAreRefused) {
    FirmwareFolder folder;
    const std::string big = folder.write("big.hex", "");
    ASSERT_EQ(::truncate(big.c_str(), kMaxFirmwareFileSize + 1), 0);
    auto read = readFirmwareFile(big);
    ASSERT_TRUE(std::holds_alternative<FileFailure>(read));
    EXPECT_NE(std::get<FileFailure>(read).description.find("4 MiB"), std::string::npos);
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readFirmwareFile(folder.path().string())));
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readFirmwareFile(folder.file("none"))));
    EXPECT_EQ(std::get<std::string>(readFirmwareFile(folder.write("a.hex", "abc"))), "abc");
}

class EncryptFileTest : public ::testing::Test {
protected:
    FirmwareFolder folder;
    SodiumFileCipher cipher;
    std::string plain = ":01200000558A\r\n:00000001FF\r\n";

    EncryptFileResult run(const std::string& in, const std::string& out, bool overwrite = true) {
        return EncryptFile(cipher, kFirmwareSelector, in, out, overwrite, fileKey1(), fileKey2());
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(
            std::filesystem::directory_iterator(folder.path()), {}));
    }
};

TEST_F(EncryptFileTest, WritesATwinThatDeciphersAndReplacesAnOldOne) {
    const std::string in = folder.write("fw.encrypt.me.hex", plain);
    const std::string out = folder.write("fw.encrypt.me.hex_enc", "old twin");
    const auto result = run(in, out);
    EXPECT_TRUE(result.written) << result.failure;
    EXPECT_EQ(DecryptArray(cipher, kFirmwareSelector, readFile(out), fileKey1(), fileKey2()),
              plain);
    EXPECT_EQ(entries(), 2u); // no temporary file left behind
}

TEST_F(EncryptFileTest, MissingInputOrProtectedOutputIsRefusedSilently) {
    EXPECT_FALSE(run(folder.file("none.hex"), folder.file("none.hex_enc")).written);
    EXPECT_FALSE(std::filesystem::exists(folder.file("none.hex_enc")));
    const std::string in = folder.write("a.hex", plain);
    const std::string out = folder.write("a.hex_enc", "kept");
    const auto result = run(in, out, false);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(readFile(out), "kept");
}

TEST_F(EncryptFileTest, ReadOnlyFolderGivesAReasonAndLeavesNoFile) {
    const std::string in = folder.write("a.hex", plain);
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::owner_exec);
    const auto result = run(in, in + "_enc");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.failure.find("Permission denied"), std::string::npos) << result.failure;
    EXPECT_EQ(entries(), 1u);
}

} // namespace
} // namespace orvane::test
