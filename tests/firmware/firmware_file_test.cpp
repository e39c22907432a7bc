// Enciphering a file into its "_enc" twin on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "common/temporary_folder.h"
#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_file.h"

namespace orvane::test {
namespace {

using namespace orvane::firmware;

class EncryptFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    SodiumFileCipher cipher;
    std::string plain = ":01200000558A\r\n:00000001FF\r\n";

    EncryptFileResult run(const std::string& in, const std::string& out, bool overwrite = true) {
        return EncryptFile(cipher, kFirmwareSelector, in, out, overwrite, fileKey1(), fileKey2());
    }
};

TEST_F(EncryptFileTest, WritesATwinThatDeciphersAndReplacesAnOldOne) {
    const std::string in = folder.write("fw.encrypt.me.hex", plain);
    const std::string out = folder.write("fw.encrypt.me.hex_enc", "old twin");
    const auto result = run(in, out);
    EXPECT_TRUE(result.written) << result.failure;
    EXPECT_EQ(DecryptArray(cipher, kFirmwareSelector, readFile(out), fileKey1(), fileKey2()),
              plain);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
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

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

TEST(FirmwareFile, APipeOrAFolderIsRefusedAtOnceAndAHugeFileBeforeItIsRead) {
    using namespace orvane::firmware;
    TemporaryFolder folder;
    const std::string fifo = folder.file("pipe.hex");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readFirmwareFile(fifo)));
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readFirmwareFile(folder.path().string())));
    const std::string huge = folder.file("huge.hex");
    std::ofstream{huge};
    std::filesystem::resize_file(huge, kMaxFirmwareFileSize + 1);
    const auto read = readFirmwareFile(huge);
    ASSERT_TRUE(std::holds_alternative<FileFailure>(read));
    EXPECT_NE(std::get<FileFailure>(read).description.find("4 MiB"), std::string::npos);
}

} // namespace
} // namespace orvane::test
