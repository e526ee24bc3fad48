// The firmware image header: keys, values, the end line, the signature and the texts of each refusal.
#include "admin/firmware_header.h"
#include "test_files.h"
#include "work_dir.h"

#include <gtest/gtest.h>

using namespace orba;

namespace {

const char kGoodHeader[] = "TALMEN ORBA UPGRADE\r\n"
                           "BUILD: Dec  1 2026\r\n"
                           "DSPVER: 3.0.2\r\n"
                           "MCSVER: 7\r\n"
                           "APVER: 2.1.4\r\n"
                           "ENDHEADER\r\n";

using FirmwareFile = test::WorkDirTest;

} // namespace

TEST(FirmwareHeader, ValuesKeepTheirSpaceKeysAreCaseSensitiveAndTheEndLineMustBeWhole)
{
    const struct
    {
        const char *text, *ap;
        bool complete;
    } cases[] = {
        {"APVER: 2.1.4\nENDHEADER\n", " 2.1.4", true},
        {"apver: 1\nENDHEADER\nAPVER: 2\n", "???", true}, // nothing after the end line is read
        {" ENDHEADER\nENDHEADERS\n", "???", false},
        {"ENDHEADER", "???", true},
        {"ENDHEADER\r\n", "???", true},
    };
    for (const auto &c : cases) {
        const FirmwareHeader h = readFirmwareHeader(c.text);
        EXPECT_EQ(h.ap, QString::fromLatin1(c.ap)) << c.text;
        EXPECT_EQ(h.complete, c.complete) << c.text;
    }
}

TEST(FirmwareHeader, TheFirstKeyInTableOrderDecidesAndEveryOccurrenceGoes)
{
    const FirmwareHeader h = readFirmwareHeader("x APVER: 1 BUILD: b BUILD:\n"
                                                "MCSVER:9MCSVER: \n"
                                                "ENDHEADER\n");
    EXPECT_EQ(h.build, QStringLiteral("x APVER: 1  b "));
    EXPECT_EQ(h.ap, QStringLiteral("???"));
    EXPECT_EQ(h.fpga, QStringLiteral("9 "));
    EXPECT_EQ(h.dsp, QStringLiteral("???"));
}

TEST(FirmwareHeader, TheSignatureIsTheWholeLineAndMustMatchExactly)
{
    FirmwareHeader h = readFirmwareHeader("TALMEN TEST UPGRADE\nENDHEADER\n");
    EXPECT_EQ(h.signature, QStringLiteral("TALMEN TEST UPGRADE"));
    EXPECT_EQ(checkFirmwareHeader(h), FirmwareCheck::WrongSignature);
    h = readFirmwareHeader(" TALMEN ORBA UPGRADE\nENDHEADER\n");
    EXPECT_EQ(checkFirmwareHeader(h), FirmwareCheck::WrongSignature);
    h = readFirmwareHeader("TALMEN ORBA UPGRADE\r\nENDHEADER\n");
    EXPECT_EQ(checkFirmwareHeader(h), FirmwareCheck::Ok);
}

TEST_F(FirmwareFile, AGoodHeaderGivesTheQuestionWithItsVersions)
{
    ASSERT_TRUE(test::writeAll(QStringLiteral("a.tbn"), QByteArray(kGoodHeader) + QByteArray(5000, '\xA5')));
    const FirmwareFileInfo info = readFirmwareFile(QStringLiteral("a.tbn"));
    EXPECT_EQ(info.check, FirmwareCheck::Ok);
    EXPECT_EQ(firmwareRefusal(info), QString());
    EXPECT_EQ(firmwareQuestion(info.header),
              QStringLiteral("TALMEN ORBA UPGRADE\nAP Version:  2.1.4\nDSP Version: "
                             " 3.0.2\nFPGA Version:  7\nBuild Date:  Dec  1 2026"));
}

TEST_F(FirmwareFile, EachRefusalHasItsText)
{
    FirmwareFileInfo info = readFirmwareFile(QStringLiteral("missing.tbn"));
    EXPECT_EQ(info.check, FirmwareCheck::OpenFailed);
    EXPECT_EQ(firmwareRefusal(info), QStringLiteral("File open failed"));

    ASSERT_TRUE(test::writeAll(QStringLiteral("b.tbn"), "TALMEN ORBA UPGRADE\nAPVER: 1\n"));
    info = readFirmwareFile(QStringLiteral("b.tbn"));
    EXPECT_EQ(info.check, FirmwareCheck::NoEndHeader);
    EXPECT_EQ(firmwareRefusal(info), QStringLiteral("This does not appear to be an ORBA file."));

    ASSERT_TRUE(test::writeAll(QStringLiteral("c.tbn"), "TALMEN TEST UPGRADE\nENDHEADER\nimage"));
    info = readFirmwareFile(QStringLiteral("c.tbn"));
    EXPECT_EQ(info.check, FirmwareCheck::WrongSignature);
    EXPECT_EQ(firmwareRefusal(info),
              QStringLiteral("This does not appear to be an ORBA file!\n\nSignature wanted: "
                             "TALMEN ORBA UPGRADE\nSignature found: TALMEN TEST UPGRADE"));
}
