#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <variant>

#include "common/scoped_file_size_limit.h"
#include "common/temporary_folder.h"
#include "files/file_access.h"

namespace orvane::files {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

TEST(FileAccess, ReplaceCreatesAndOverwritesWithoutLeftovers) {
    test::TemporaryFolder folder;
    const fs::path file = folder.path() / "a.orv";
    ASSERT_TRUE(std::holds_alternative<std::monostate>(replaceFile(file, "first\r\n")));
    EXPECT_EQ(contents(file), "first\r\n");
    ASSERT_TRUE(std::holds_alternative<std::monostate>(replaceFile(file, "second")));
    EXPECT_EQ(contents(file), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(FileAccess, ReplaceKeepsTheFilesPermissionsAndFollowsLinks) {
    test::TemporaryFolder folder;
    const fs::path file = folder.path() / "a.orv";
    write(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder.path() / "link.orv";
    fs::create_symlink(file, link);
    ASSERT_TRUE(std::holds_alternative<std::monostate>(replaceFile(link, "new")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(file), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileAccess, FailuresReportTheSystemsTextAndKeepTheOldFile) {
    test::TemporaryFolder folder;
    const fs::path notAFolder = folder.path() / "plain";
    write(notAFolder, "x");
    const auto intoFile = replaceFile(notAFolder / "a.orv", "data");
    ASSERT_TRUE(std::holds_alternative<FileError>(intoFile));
    EXPECT_EQ(std::get<FileError>(intoFile).description, "Not a directory");

    const auto ontoFolder = replaceFile(folder.path(), "data");
    ASSERT_TRUE(std::holds_alternative<FileError>(ontoFolder));
    EXPECT_EQ(std::get<FileError>(ontoFolder).description, "Is a directory");

    // A write that fails half-way (here: the file size limit) leaves the old file whole.
    const fs::path file = folder.path() / "a.orv";
    write(file, "old contents");
    {
        test::ScopedFileSizeLimit limit(16);
        const auto full = replaceFile(file, std::string(4096, 'x'));
        ASSERT_TRUE(std::holds_alternative<FileError>(full));
        EXPECT_EQ(std::get<FileError>(full).description, "File too large");
    }
    EXPECT_EQ(contents(file), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(FileAccess, WriteProtectedFilesAndFoldersAreRefusedAlsoForRoot) {
    test::TemporaryFolder folder;
    const fs::path file = folder.path() / "a.orv";
    write(file, "old contents");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    const auto ontoProtected = replaceFile(file, "new");
    ASSERT_TRUE(std::holds_alternative<FileError>(ontoProtected));
    EXPECT_EQ(std::get<FileError>(ontoProtected).description, "Permission denied");
    EXPECT_EQ(contents(file), "old contents");

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const auto intoProtected = replaceFile(file, "new");
    fs::permissions(folder.path(), fs::perms::owner_all);
    ASSERT_TRUE(std::holds_alternative<FileError>(intoProtected));
    EXPECT_EQ(std::get<FileError>(intoProtected).description, "Permission denied");
    EXPECT_EQ(contents(file), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(FileAccess, ReadWholeFile) {
    test::TemporaryFolder folder;
    write(folder.path() / "a", std::string("a\0b\r\n", 5));
    const auto read = readWholeFile(folder.path() / "a");
    ASSERT_TRUE(std::holds_alternative<std::string>(read));
    EXPECT_EQ(std::get<std::string>(read), std::string("a\0b\r\n", 5));
    const auto missing = readWholeFile(folder.path() / "missing");
    ASSERT_TRUE(std::holds_alternative<FileError>(missing));
    EXPECT_EQ(std::get<FileError>(missing).description, "No such file or directory");
}

// A writer that appears as soon as anybody opens the pipe for reading, so that a reader
// that waits for one does not hang the test but reads what it wrote.
TEST(FileAccess, NamedPipesAndFoldersAreRefusedAtOnce) {
    test::TemporaryFolder folder;
    const fs::path pipe = folder.path() / "x.orv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                (void)!::write(fd, "data", 4);
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const auto fromPipe = readWholeFile(pipe);
    done = true;
    writer.join();
    ASSERT_TRUE(std::holds_alternative<FileError>(fromPipe));

    const auto fromFolder = readWholeFile(folder.path());
    ASSERT_TRUE(std::holds_alternative<FileError>(fromFolder));
    EXPECT_EQ(std::get<FileError>(fromFolder).description, "Is a directory");
}

} // namespace
} // namespace orvane::files
