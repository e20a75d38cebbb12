#include <gtest/gtest.h>

#include "files/settings_file.h"

#include "app/core/commands.h"
#include "app/core/messages.h"
#include "files/settings_values.h"
#include "guiding/telescope_protocol.h"
#include "platform/services.h"
#include "serial_recorder.h"
#include "support/fixture.h"

namespace {
class ProtocolTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        serial = std::make_unique<SerialRecorder>(*clock_);
        services().serial = serial.get();
    }
    // Times of the writes in milliseconds from the first call recorded.
    std::vector<double> write_times_ms(int64_t from_us) const
    {
        std::vector<double> t;
        for (const auto& c : serial->writes())
            t.push_back((c.t_us - from_us) / 1000.0);
        return t;
    }
    std::unique_ptr<SerialRecorder> serial;
};

TEST_F(ProtocolTest, Lx200GuidePulseSendsRateMoveAndStopOnTime)
{
    telescope = 'l';
    comfound = 1;
    slewdir = 'e';
    slew_time = 350;
    const int64_t start = clock_->now_us();
    drive_slew();
    const auto w = serial->writes();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].data, "#:RG#");
    EXPECT_EQ(w[1].data, "#:Me#");
    EXPECT_EQ(w[2].data, "#:Qe#");
    const auto t = write_times_ms(start);
    EXPECT_NEAR(t[0], 0.0, 0.5);
    EXPECT_NEAR(t[1], 20.0, 1.0);
    EXPECT_NEAR(t[2] - t[1], 350.0, 1.0);
    // The pulse returns 4 ms after the stop.
    EXPECT_NEAR((clock_->now_us() - w[2].t_us) / 1000.0, 4.0, 1.0);
}

TEST_F(ProtocolTest, ControlBoxGuidePulseSendsSelectRunAndOff)
{
    telescope = 'b';
    comfound = 1;
    slewdir = 'e';
    slew_time = 120;
    const int64_t start = clock_->now_us();
    drive_slew();   // hands over to the control box
    EXPECT_EQ(serial->written(), std::string("\x01\x11\x00", 3));
    const auto t = write_times_ms(start);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_NEAR(t[1], 1.0, 0.6);
    EXPECT_NEAR(t[2] - t[1], 120.0, 1.0);
}

TEST_F(ProtocolTest, DirectionLettersAndSwapSettings)
{
    struct Case { char dir; const char* move; const char* stop; const char* box; };
    const Case cases[] = {
        {'e', "#:Me#", "#:Qe#", "\x01\x11"}, {'n', "#:Mn#", "#:Qn#", "\x02\x12"},
        {'s', "#:Ms#", "#:Qs#", "\x04\x14"}, {'w', "#:Mw#", "#:Qw#", "\x08\x18"},
    };
    comfound = 1;
    slew_time = 10;
    for (const Case& c : cases) {
        serial->calls.clear();
        telescope = 'l';
        slewdir = c.dir;
        drive_slew();
        ASSERT_EQ(serial->writes().size(), 3u) << c.dir;
        EXPECT_EQ(serial->writes()[1].data, c.move);
        EXPECT_EQ(serial->writes()[2].data, c.stop);
        serial->calls.clear();
        telescope = 'b';
        drive_slew();
        EXPECT_EQ(serial->written(), std::string(c.box) + std::string(1, '\0')) << c.dir;
    }
    // "Swap e/w direction": what the guiding code calls east goes out as the west bytes.
    std::swap(::e, ::w);
    serial->calls.clear();
    slewdir = ::e;
    drive_slew();
    EXPECT_EQ(serial->written(), std::string("\x08\x18\x00", 3));
    serial->calls.clear();
    telescope = 'l';
    drive_slew();
    EXPECT_EQ(serial->written(), "#:RG##:Mw##:Qw#");
}

TEST_F(ProtocolTest, UnknownDirectionSendsNothingButStillPauses)
{
    telescope = 'l';
    comfound = 1;
    slewdir = 'x';
    slew_time = 500;
    const int64_t start = clock_->now_us();
    drive_slew();
    EXPECT_TRUE(serial->writes().empty());
    EXPECT_NEAR((clock_->now_us() - start) / 1000.0, 4.0, 1.0);
}

TEST_F(ProtocolTest, CatalogueGoToSendsSelectionInfoAndSlew)
{
    comfound = 1;
    move_telescope('m', 31);
    const auto w = serial->writes();
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(w[0].data, "#:LM 0031#");
    EXPECT_EQ(w[0].data.size(), 10u);
    EXPECT_EQ(w[1].data, "#:LI#");
    EXPECT_EQ(w[2].data, "#:MS#");
    EXPECT_EQ(w[3].data, "#:LI#");   // the object's description afterwards
    EXPECT_NE(transcript().find("beep"), std::string::npos);
    serial->calls.clear();
    move_telescope('s', 905);
    EXPECT_EQ(serial->writes()[0].data, "#:LS 0905#");
    serial->calls.clear();
    move_telescope('c', 7815);
    EXPECT_EQ(serial->writes()[0].data, "#:LC 7815#");
}

TEST_F(ProtocolTest, GoToReadsResultAndReplacesTextWhenNotZero)
{
    comfound = 1;
    // A refusal: the first 33 bytes, the result '1', then the reason replaces the text.
    serial->input = std::string(33, 'a') + "1" + "Object Below Horizon#" + "trailing";
    EXPECT_EQ(move_to_coord(1, 2, 3, 4), '1');
    EXPECT_EQ(move_error, "Object Below Horizon#trailing");
    EXPECT_NE(serial->ops().find("rxclear"), std::string::npos);
    // Accepted: '0' keeps the first text.
    serial->input = "short#0";
    EXPECT_EQ(move_to_coord(1, 2, 3, 4), '\0');   // all seven bytes went into the text
    EXPECT_EQ(move_error, "short#0");
    serial->input = std::string(33, 'b') + "0";
    EXPECT_EQ(move_to_coord(1, 2, 3, 4), '0');
    EXPECT_EQ(move_error, std::string(33, 'b'));
    // Nothing arrived: empty text and no result byte; a failing read counts as nothing.
    serial->input.clear();
    serial->fail["gets"] = SIO_IOERR;
    EXPECT_EQ(move_to_coord(1, 2, 3, 4), '\0');
    EXPECT_EQ(move_error, "");
}

TEST_F(ProtocolTest, CoordinateTexts)
{
    struct Case { short h, m, d, dm; const char* ra; const char* dec; };
    const Case cases[] = {
        {5, 34, -5, 23, "#:Sr 05:34.0#", "#:Sd -05*23#"},
        {0, 0, 0, 30, "#:Sr 00:00.0#", "#:Sd +00*30#"},   // 0 degrees always "+"
        {23, 59, 89, 59, "#:Sr 23:59.0#", "#:Sd +89*59#"},
        {12, 5, -89, 59, "#:Sr 12:05.0#", "#:Sd -89*59#"},
    };
    comfound = 1;
    for (const Case& c : cases) {
        serial->calls.clear();
        move_to_coord(c.h, c.m, c.d, c.dm);
        const auto w = serial->writes();
        ASSERT_EQ(w.size(), 4u);
        EXPECT_EQ(w[0].data, c.ra);
        EXPECT_EQ(w[0].data.size(), 13u);
        EXPECT_EQ(w[1].data, c.dec);
        EXPECT_EQ(w[1].data.size(), 12u);
        EXPECT_EQ(w[2].data, "#:LI#");
        EXPECT_EQ(w[3].data, "#:MS#");
    }
}

TEST_F(ProtocolTest, ManualMoveAndFocusCommands)
{
    comfound = 1;
    tele_speed = "#:RC#";
    move_direction = "#:Mw#";
    start_move();
    EXPECT_EQ(serial->ops(), "rxclear(0) puts rxclear(0) puts");
    EXPECT_EQ(serial->written(), "#:RC##:Mw#");
    serial->calls.clear();
    tele_moving = 1;
    stop_move();
    EXPECT_EQ(tele_moving, 0);
    EXPECT_EQ(serial->written(), "#:Qn##:Qs##:Qe##:Qw#");
    serial->calls.clear();
    focus_speed = "#:FS#";
    focus_direction = "#:F-#";
    start_focus();
    EXPECT_EQ(serial->written(), "#:FS##:F-#");
    serial->calls.clear();
    tele_focussing = 1;
    stop_focus();
    EXPECT_EQ(serial->written(), "#:FQ#");
    EXPECT_EQ(tele_focussing, 0);
}

TEST_F(ProtocolTest, OpenSequences)
{
    slewcom = '2';
    EXPECT_EQ(drive_check(), 1);
    EXPECT_EQ(Port, 1);
    EXPECT_EQ(serial->ops(), "reset(1,1024,1024) baud(1,5) dtr(1,S) rts(1,S) parms(1,0,0,8)");
    serial->calls.clear();
    slewcom = '1';
    gotcontrolbox = 0;
    EXPECT_EQ(interface_check(), 1);
    EXPECT_EQ(serial->ops(), "reset(0,1024,1024) baud(0,1) parms(0,0,0,8)");
    EXPECT_EQ(comfound, 1);
    EXPECT_EQ(gotcontrolbox, 1);
}

TEST_F(ProtocolTest, FailedLx200OpenSwitchesToNoneWithMessage36Once)
{
    telescope = 'l';
    serial->fail["parms"] = SIO_NOOPEN;
    comm_check();
    EXPECT_EQ(telescope, 'n');
    EXPECT_EQ(comfound, 0);
    const std::string t = transcript();
    EXPECT_NE(t.find("message \"Skyvane\" \"ERROR -2 \""), std::string::npos) << t;
    EXPECT_NE(t.find("message \"Skyvane\" \"Open Communications Failed\""), std::string::npos);
    const auto first = t.find("Sorry. No Connection to Telescope");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(t.find("Sorry. No Connection to Telescope", first + 1), std::string::npos);
    // The guiding and telescope commands are disabled from now on.
    EXPECT_FALSE(command_state(24).enabled);
    EXPECT_FALSE(command_state(22).enabled);
}

TEST_F(ProtocolTest, ControlBoxOpenFailureIsNotTakenAsSuccess)
{
    telescope = 'b';
    gotcontrolbox = 0;
    ASSERT_EQ(SaveINIFile(INI_FILE), 0);   // the port check reads the settings file first
    serial->fail["reset"] = SIO_NOOPEN;
    serial->fail["baud"] = SIO_BADPORT;
    serial->fail["parms"] = SIO_BADPORT;
    comm_check(true);
    EXPECT_EQ(comfound, 0);
    EXPECT_EQ(gotcontrolbox, 0);
    EXPECT_EQ(telescope, 'b');
    const std::string t = transcript();
    EXPECT_NE(t.find("\"ERROR -2 \""), std::string::npos);
    EXPECT_NE(t.find("\"ERROR -1 \""), std::string::npos);
    EXPECT_NE(t.find("Open Communications Failed"), std::string::npos);
    // The next use tries again.
    serial->fail.clear();
    serial->calls.clear();
    comm_check(true);
    EXPECT_EQ(comfound, 1);
    EXPECT_EQ(gotcontrolbox, 1);
}

TEST_F(ProtocolTest, CommCheckOpensOnceAndTrainingMarksTheBox)
{
    telescope = 'l';
    gotcontrolbox = 0;
    comm_check();
    EXPECT_EQ(comfound, 1);
    EXPECT_EQ(gotcontrolbox, 0);
    const size_t calls = serial->calls.size();
    comm_check(true);
    EXPECT_EQ(serial->calls.size(), calls);   // already open
    EXPECT_EQ(gotcontrolbox, 1);
}

TEST_F(ProtocolTest, SettingsAreLoadedBeforeTheFirstOpen)
{
    int loads = 0, defaults = 0;
    telescope_settings_seam() = {[&] { ++loads; return false; }, [&] { ++defaults; }};
    telescope = 'l';
    comm_check();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(defaults, 1);
    EXPECT_NE(transcript().find(message_text(20)), std::string::npos);
    comm_check();
    EXPECT_EQ(loads, 1);
    telescope_settings_seam() = {};
}

TEST_F(ProtocolTest, ErrorCheckClosesThePortAndLaterBytesAreNotSent)
{
    telescope = 'b';
    comfound = 1;
    slewdir = 'n';
    slew_time = 50;
    serial->fail["putc"] = -4;
    drive_slew();
    EXPECT_EQ(serial->ops(), "putc done(0)");
    EXPECT_EQ(comfound, 0);
    EXPECT_NE(transcript().find("\"ERROR -4 \""), std::string::npos);
    serial->calls.clear();
    drive_slew();
    CB_start_move();
    interface_CR();
    EXPECT_TRUE(serial->calls.empty());
    // Pass-through of good results.
    EXPECT_EQ(ErrorCheck(0), 0);
    EXPECT_EQ(ErrorCheck(17), 17);
}

TEST_F(ProtocolTest, ControlBoxResetSequence)
{
    comfound = 1;
    const int64_t start = clock_->now_us();
    interface_CR();
    EXPECT_EQ(serial->ops(), "rxclear(0) rts(0,C) dtr(0,C) rts(0,S) dtr(0,S) putc putc putc");
    EXPECT_EQ(serial->written(), std::string("\x0D\x00\x00", 3));
    const auto& c = serial->calls;
    EXPECT_NEAR((c[3].t_us - c[2].t_us) / 1000.0, 200.0, 1.0);
    EXPECT_NEAR((c[5].t_us - c[4].t_us) / 1000.0, 300.0, 1.0);
    EXPECT_GE(c[5].t_us, start);
}

TEST_F(ProtocolTest, ControlBoxManualMove)
{
    comfound = 1;
    slewdir = 's';
    CB_start_move();
    EXPECT_EQ(serial->written(), "\x04\x14");
    CB_stop_move();
    EXPECT_EQ(serial->written(), std::string("\x04\x14\x00", 3));
}
}
