#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "camera/usb_hid.h"
#include "platform/services.h"
#include "support/fixture.h"
#include "unit/camera/fake_usb.h"

using testing::HasSubstr;
using testing::Not;

class LinkTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        services().usb = &usb;
    }
    FakeUsb usb;
};

TEST_F(LinkTest, OneCameraOpensBothInterfacesAndFillsTheTable)
{
    usb.one_camera();
    EXPECT_EQ(usb_hid().CollectingUSBHidInfo(), 1);
    EXPECT_EQ(got_zr, 1);
    EXPECT_EQ(HidHandle, usb.handle_of("hid0"));
    EXPECT_EQ(BlockIOHandle, usb.handle_of("blk0"));
    EXPECT_EQ(transcript(), "");
    // Both passes write the same records: record 0 describes the block interface.
    const auto& r0 = usb_hid().HidDeviceData[0];
    EXPECT_EQ(r0.VID, 0x5156);
    EXPECT_STREQ(r0.VendorName, "Halvoran");
    EXPECT_STREQ(r0.ProductName, "BlockIO");
    EXPECT_EQ(usb_hid().HidDeviceData[1].VID, 0);
}

TEST_F(LinkTest, LastHidInterfaceWinsAndTheSupersededOneIsClosed)
{
    usb.one_camera();
    usb.hid.insert(usb.hid.begin(), FakeUsb::Device{"hid-first", true, true, 1, 2, u"A", u"B"});
    usb_hid().CollectingUSBHidInfo();
    EXPECT_EQ(HidHandle, usb.handle_of("hid0"));
    EXPECT_TRUE(usb.closed.count(usb.handle_of("hid-first")));
    EXPECT_EQ(got_zr, 1);
}

TEST_F(LinkTest, MissingBlockInterfaceLeavesNoCamera)
{
    usb.one_camera();
    usb.block.clear();
    EXPECT_EQ(usb_hid().CollectingUSBHidInfo(), 1);
    EXPECT_EQ(got_zr, 0);
    EXPECT_THAT(transcript(), HasSubstr("message \"Skyvane\" \"USB BlockIO device not found\""));
    // The HID strings of pass 0 stay in the record; its VID was reset by pass 1.
    EXPECT_EQ(usb_hid().HidDeviceData[0].VID, 0);
    EXPECT_STREQ(usb_hid().HidDeviceData[0].ProductName, "QV9");
}

TEST_F(LinkTest, NoInterfacesAtAllGivesResultZero)
{
    got_zr = 1;
    EXPECT_EQ(usb_hid().CollectingUSBHidInfo(), 0);
    EXPECT_EQ(got_zr, 0);
}

TEST_F(LinkTest, FailuresThatEndTheEnumerationLeaveTheFlagsAlone)
{
    struct Case { const char* name; void (*arrange)(FakeUsb&); const char* line; };
    const Case cases[] = {
        {"no list", [](FakeUsb& u) { u.listable[1] = false; }, "message \"Skyvane\" \"Could not attach to PnP node\""},
        {"no path", [](FakeUsb& u) { u.block[0].path_known = false; },
         "message \"Error\" \"Could not find the system name for this HID device\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUsb fresh;
        fresh.one_camera();
        c.arrange(fresh);
        services().usb = &fresh;
        out_.str("");
        got_zr = 7;
        Win98 = 7;
        EXPECT_EQ(usb_hid().CollectingUSBHidInfo(), 0);
        EXPECT_EQ(got_zr, 7);
        EXPECT_EQ(Win98, 7);
        EXPECT_THAT(transcript(), HasSubstr(c.line));
    }
}

TEST_F(LinkTest, AnInterfaceThatCannotBeOpenedIsSkipped)
{
    usb.one_camera();
    usb.hid.push_back({"keyboard", true, false, 1, 1, u"K", u"K"});
    EXPECT_EQ(usb_hid().CollectingUSBHidInfo(), 1);
    EXPECT_THAT(transcript(), HasSubstr("message \"Error\" \"Could not open HID device\""));
    EXPECT_EQ(HidHandle, usb.handle_of("hid0"));
    EXPECT_EQ(got_zr, 1);
}

TEST_F(LinkTest, DebugMessageAndWin98FollowTheSystemVersion)
{
    struct Case { int major, minor, win98; };
    for (const Case c : {Case{4, 10, 1}, Case{4, 0, 0}, Case{5, 1, 0}, Case{6, 2, 0}}) {
        usb.one_camera();
        usb.version = {c.major, c.minor};
        Win98 = 7;
        usb_hid().CollectingUSBHidInfo();
        EXPECT_EQ(Win98, c.win98) << c.major << "." << c.minor;
    }
    EXPECT_THAT(transcript(), Not(HasSubstr("Camera Found")));
    Show_Interface_Details = 1;
    usb.version = {4, 10};
    usb_hid().CollectingUSBHidInfo();
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "message \"Skyvane\" \"Camera Found, Hid = %6d, BlockIO = %6d\\nO/S =    4.  10\"", HidHandle,
                  BlockIOHandle);
    EXPECT_THAT(transcript(), HasSubstr(expected));
}

TEST_F(LinkTest, StringsAreNarrowedWithABoundAndMissingOnesMarked)
{
    usb.one_camera();
    usb.block[0].manufacturer = std::u16string(400, u'\x4158');   // low byte 'X'
    usb.block[0].has_manufacturer = true;
    usb.block[0].has_product = false;     // the block product text is converted whatever came
    usb.hid.push_back({"hid1", true, true, 1, 2, u"", u"", false, false});
    usb.block.push_back({"blk1", true, true, 1, 2, u"ab\x0100" u"cd", u"x", false, true});
    usb_hid().CollectingUSBHidInfo();
    const auto& r0 = usb_hid().HidDeviceData[0];
    EXPECT_EQ(std::string(r0.VendorName), std::string(255, 'X'));
    EXPECT_STREQ(r0.ProductName, "");
    const auto& r1 = usb_hid().HidDeviceData[1];
    EXPECT_STREQ(r1.VendorName, "- not present -");
    EXPECT_STREQ(r1.ProductName, "x");

    char out[8];
    narrow_usb_string(u"ab\x0100" u"cd", out, sizeof out);
    EXPECT_STREQ(out, "ab");
}

TEST_F(LinkTest, WriteSendsTheReportIdentifierAndAtMost254Bytes)
{
    usb.one_camera();
    usb_hid().CollectingUSBHidInfo();
    uint8_t payload[255];
    for (int i = 0; i < 255; ++i)
        payload[i] = static_cast<uint8_t>(i + 1);
    WriteUSBdevice(payload, 254);
    ASSERT_EQ(usb.reports.size(), 1u);
    EXPECT_EQ(usb.reports[0].size(), 255u);
    EXPECT_EQ(usb.reports[0][0], 0);
    EXPECT_EQ(usb.reports[0][254], 254);
    WriteUSBdevice(payload, 255);
    EXPECT_EQ(usb.reports.size(), 1u);
    EXPECT_THAT(transcript(), HasSubstr("\"Maximum ByteCount for WriteUSBdevice is 254\""));
    WriteUSBdevice(payload, 0);
    ASSERT_EQ(usb.reports.size(), 2u);
    EXPECT_EQ(usb.reports[1], std::vector<uint8_t>{0});
    usb.refuse_writes = true;
    WriteUSBdevice(payload, 8);
    EXPECT_THAT(transcript(), HasSubstr("\"Error 31 trying to send command to USB \\n\""));
}

TEST_F(LinkTest, ReadChecksItsBoundsAndCopiesOnlyWhatArrived)
{
    usb.one_camera();
    usb_hid().CollectingUSBHidInfo();
    uint8_t buffer[300];
    std::memset(buffer, 0xee, sizeof buffer);
    ReadUSBdevice(buffer, 0);
    EXPECT_THAT(transcript(), HasSubstr("\"Minimum ByteCount for ReadUSBdevice is 1\""));
    ReadUSBdevice(buffer, 255);
    EXPECT_THAT(transcript(), HasSubstr("\"Maximum ByteCount for ReadUSBdevice is 254\""));
    usb.next_report = {0, 7, 8, 9};
    ReadUSBdevice(buffer, 254);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(buffer[2], 9);
    EXPECT_EQ(buffer[3], 0xee);
    usb.next_report.clear();     // nothing delivered: nothing copied
    ReadUSBdevice(buffer, 254);
    EXPECT_EQ(buffer[0], 7);
    usb.report_fails = true;
    ReadUSBdevice(buffer, 4);
    EXPECT_THAT(transcript(), HasSubstr("\"Could not get an Input Report\""));
}

TEST_F(LinkTest, ReceiveBlockSendsTheReadCommandAndZeroesWhatDidNotArrive)
{
    usb.one_camera();
    usb_hid().CollectingUSBHidInfo();
    std::memset(camdata, 9, sizeof camdata);
    std::memset(ReportBuffer, 0xaa, 64);
    usb.next_block.assign(40, 0x11);
    ByteCount = 64;
    ReceiveBlock();
    ASSERT_EQ(usb.reports.size(), 1u);
    EXPECT_EQ(usb.reports[0], (std::vector<uint8_t>{0, 4, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(usb.block_reads, std::vector<uint32_t>{64});
    EXPECT_EQ(BytesReturned, 40u);
    EXPECT_EQ(ReportBuffer[39], 0x11);
    EXPECT_EQ(ReportBuffer[40], 0);
    EXPECT_EQ(ReportBuffer[63], 0);
    EXPECT_THAT(transcript(), HasSubstr("\"Error 31 trying to read BlockIO data from USB\\n\""));

    // A refused command is not followed by a read that would wait for nothing.
    std::memset(ReportBuffer, 0xaa, 64);
    usb.refuse_writes = true;
    ReceiveBlock();
    EXPECT_EQ(usb.block_reads.size(), 1u);
    EXPECT_EQ(ReportBuffer[0], 0);
    EXPECT_EQ(ReportBuffer[63], 0);
}
