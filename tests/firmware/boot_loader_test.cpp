// The boot loader's command sequences against a fake boot loader: what goes on the wire,
// what the console says, and that a failed exchange stops an operation without "ok.".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fake_boot_loader.h"
#include "firmware/core/boot_loader.h"

namespace orvane::test {
namespace {

using firmware::OperationOutcome;

struct View : firmware::UpdateView {
    std::string text;
    int maximum = 0;
    std::vector<int> progress;
    void replaceConsole(std::string_view t) override { text = t; }
    void appendConsole(std::string_view t) override { text += t; }
    void setProgressMaximum(int m) override { maximum = m; }
    void setProgress(int v) override { progress.push_back(v); }
};

struct Sequences : ::testing::Test {
    FakeClock clock;
    FakeReportPort port{clock, 22, 22};
    FakeBootLoader device{port};
    View view;
    firmware::BootLoaderLink link{port, clock, view};
    firmware::BootLoader loader{link, view};
    firmware::LinkRandom random{7};
    firmware::MemoryImage image;

    void SetUp() override {
        link.InputReportLen = 22;
        link.OutputReportLen = 22;
        ASSERT_TRUE(loader.probe(random).valid);
        view.text.clear();
    }
    // Request addresses (bytes 3..5) of the plain requests with this command.
    std::vector<std::array<uint8_t, 3>> addresses(uint8_t command) const {
        std::vector<std::array<uint8_t, 3>> a;
        for (const Report& r : device.plainRequests)
            if (r[1] == command) a.push_back({r[3], r[4], r[5]});
        return a;
    }
};

TEST_F(Sequences, ProbeReadsTheVersionAndStartsBothChainsAtC6) {
    device.major = 0x01;
    device.minor = 0x05;
    link.cipher.setChains(0x33); // stands anywhere: only the first byte is garbled
    const auto probe = loader.probe(random);
    EXPECT_TRUE(probe.valid);
    EXPECT_EQ(probe.major + "." + probe.minor, "01.05");
    EXPECT_EQ(link.cipher.sendChain(), firmware::kInitialChain);
    EXPECT_EQ(link.cipher.receiveChain(), firmware::kInitialChain);
    const auto start = loader.start(random);
    EXPECT_TRUE(start.answered());
    EXPECT_EQ(start.answer[1], 0xFE);
    // The probe's bytes 2..21 are random, the start's too; the two differ.
    const Report& p = device.plainRequests[1];
    const Report& s = device.plainRequests[2];
    EXPECT_EQ(p[1], 0x00);
    EXPECT_EQ(s[1], 0xFE);
    EXPECT_FALSE(std::equal(p.begin() + 2, p.end(), s.begin() + 2));
}

TEST_F(Sequences, ProbeWithoutAnswerIsNoVersion) {
    device.lostAnswers.insert(device.plainRequests.size());
    EXPECT_FALSE(loader.probe(random).valid);
    EXPECT_EQ(link.cipher.sendChain(), firmware::kInitialChain);
}

TEST_F(Sequences, EraseSends256BlockErasesFrom0x200FTo0x5FCF) {
    EXPECT_EQ(loader.eraseMemory(), OperationOutcome::Completed);
    const auto a = addresses(0x03);
    ASSERT_EQ(a.size(), 256u);
    EXPECT_EQ(a.front(), (std::array<uint8_t, 3>{0x0F, 0x20, 0x00}));
    EXPECT_EQ(a.back(), (std::array<uint8_t, 3>{0xCF, 0x5F, 0x00}));
    EXPECT_TRUE(std::all_of(device.flash.begin() + 0x2000, device.flash.end(),
                            [](uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(view.text, "erasing... ok.\r\n");
    EXPECT_EQ(view.maximum, 1024);
    EXPECT_EQ(view.progress.at(1), 4);
    EXPECT_EQ(view.progress.back(), 0);
}

TEST_F(Sequences, ProgramWritesOnlyFilledLinesThenVerifyReadsTheWholeArea) {
    for (uint32_t k = 0; k < 16; ++k) {
        image.setByte(0x2000 + k, static_cast<uint8_t>(k));
        image.setByte(0x2020 + k, static_cast<uint8_t>(0xA0 + k));
    }
    ASSERT_EQ(loader.eraseMemory(), OperationOutcome::Completed);
    ASSERT_EQ(loader.uploadMemory(image), OperationOutcome::Completed);
    const auto writes = addresses(0x02);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (std::array<uint8_t, 3>{0x00, 0x20, 0x00}));
    EXPECT_EQ(writes[1], (std::array<uint8_t, 3>{0x20, 0x20, 0x00}));
    const Report& lastWrite = device.plainRequests.end()[-2];
    EXPECT_EQ(lastWrite[2], 0x10);
    EXPECT_EQ(lastWrite[6], 0xA0);

    view.text.clear();
    device.plainRequests.clear();
    EXPECT_EQ(loader.verifyMemory(image), OperationOutcome::Completed);
    const auto reads = addresses(0x01);
    ASSERT_EQ(reads.size(), 1024u); // line 513 (0x2000) included
    EXPECT_EQ(reads.front(), (std::array<uint8_t, 3>{0x00, 0x20, 0x00}));
    EXPECT_EQ(reads.back(), (std::array<uint8_t, 3>{0xF0, 0x5F, 0x00}));
    EXPECT_EQ(view.text, "verifying... ok.\r\n");
}

TEST_F(Sequences, VerifyListsTheFirstBadLinesBytesAndCountsTheLinesThatDiffer) {
    std::fill(device.flash.begin() + 0x2000, device.flash.end(), 0xFF);
    device.flash[0x2012] = 0x00;
    device.flash[0x201F] = 0x00;
    device.flash[0x2030] = 0x00;
    device.flash[0x5FFF] = 0x00;
    EXPECT_EQ(loader.verifyMemory(image), OperationOutcome::Mismatch);
    EXPECT_EQ(view.text, "verifying... error at address (low Endian): 0x12 20 00 \r\n"
                         "error at address (low Endian): 0x1F 20 00 \r\n"
                         "3 of 1024 lines differ.\r\n");
    EXPECT_EQ(addresses(0x01).size(), 1024u);
    EXPECT_EQ(loader.lastComparison().firstAddress, 0x2010);
}

TEST_F(Sequences, ProgramReadsEachLineBackAndSaysOkOnlyWhenTheFlashHoldsIt) {
    // The fake's flash is not erased (0x5A): programming only clears bits.
    for (uint32_t k = 0; k < 16; ++k) {
        image.setByte(0x2000 + k, 0xA5);
        image.setByte(0x3000 + k, 0x5A);
    }
    EXPECT_EQ(loader.uploadMemory(image), OperationOutcome::Mismatch);
    EXPECT_EQ(view.text, "uploading... 1 of 2 lines read back different from the file; the "
                         "area may not have been erased.\r\n");
    EXPECT_EQ(loader.lastComparison().firstAddress, 0x2000);
    // Each write is followed by a read of the same line.
    ASSERT_EQ(device.plainRequests.size(), 1u + 4u);
    EXPECT_EQ(device.plainRequests[1][1], 0x02);
    EXPECT_EQ(device.plainRequests[2][1], 0x01);
    EXPECT_EQ(device.plainRequests[2][3], 0x00);
    EXPECT_EQ(device.plainRequests[2][4], 0x20);

    view.text.clear();
    ASSERT_EQ(loader.eraseMemory(), OperationOutcome::Completed);
    EXPECT_EQ(loader.uploadMemory(image), OperationOutcome::Completed);
    EXPECT_EQ(view.text, "erasing... ok.\r\nuploading... ok.\r\n");
}

TEST_F(Sequences, LostAnswerInProgramStopsThereWithoutOk) {
    for (uint32_t a = 0x2000; a < 0x6000; ++a)
        image.setByte(a, static_cast<uint8_t>(a));
    // Write and read back alternate: request 20 writes the eleventh line.
    device.lostAnswers.insert(device.plainRequests.size() + 20);
    EXPECT_EQ(loader.uploadMemory(image), OperationOutcome::Failed);
    EXPECT_EQ(addresses(0x02).size(), 11u); // nothing after the failed exchange
    EXPECT_EQ(view.text, "uploading... Read failed! rdresult 0, inputReportLength 22\r\n"
                         "Program stopped at address (low Endian): 0xA0 20 00: no answer came "
                         "within 100 ms.\r\n");
    EXPECT_EQ(view.text.find("ok."), std::string::npos);
    ASSERT_TRUE(loader.lastFailure());
    EXPECT_EQ(loader.lastFailure()->address, "A0 20 00");
    EXPECT_EQ(loader.lastFailure()->addressValue, 0x20A0);
}

TEST_F(Sequences, AnswersAreNotExaminedReadingBackByValueCatchesWhatWentWrong) {
    // Refusals are answers like any other: Erase goes on; Program's read-back and Verify
    // tell by the values read.
    for (uint32_t a = 0x2000; a < 0x6000; ++a)
        image.setByte(a, 0x11);
    for (std::size_t k = 0; k < 256 + 2048; ++k)
        device.refused.insert(device.plainRequests.size() + k);
    EXPECT_EQ(loader.eraseMemory(), OperationOutcome::Completed);
    EXPECT_EQ(loader.uploadMemory(image), OperationOutcome::Mismatch);
    EXPECT_EQ(loader.lastComparison().differing, 1024);
    device.refused.clear();
    EXPECT_EQ(loader.verifyMemory(image), OperationOutcome::Mismatch);
    EXPECT_EQ(view.text.find("verifying... ok."), std::string::npos);
}

TEST_F(Sequences, FailedWriteOrGoneDeviceStopsAtOnceWithTheAddressAsANumber) {
    port.writeResults = {22, 22, -1};
    EXPECT_EQ(loader.eraseMemory(), OperationOutcome::Failed);
    ASSERT_TRUE(loader.lastFailure());
    EXPECT_EQ(loader.lastFailure()->addressValue, 0x2080); // the block's start
    EXPECT_EQ(loader.lastFailure()->what, "the report could not be written");
    EXPECT_EQ(addresses(0x03).size(), 2u);

    ASSERT_TRUE(loader.probe(random).valid);
    port.leave();
    EXPECT_EQ(loader.verifyMemory(image), OperationOutcome::Failed);
    EXPECT_EQ(loader.lastFailure()->addressValue, 0x2000);
}

} // namespace
} // namespace orvane::test
