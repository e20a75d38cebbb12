#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "files/settings_file.h"
#include "files/settings_values.h"
#include "guiding/telescope_dialogs.h"
#include "guiding/telescope_protocol.h"
#include "platform/services.h"
#include "serial_recorder.h"
#include "support/fixture.h"

namespace {
// Windows still open belong to the script session that ends with the test.
void close_telescope_windows()
{
    if (mt_dialog)
        mt_dialog->CloseWindow();
    if (cb_dialog)
        cb_dialog->CloseWindow();
}
}

namespace {
class TelescopeDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        serial = std::make_unique<SerialRecorder>(*clock_);
        services().serial = serial.get();
        telescope = 'l';
    }
    void TearDown() override
    {
        close_telescope_windows();
        ProgramTest::TearDown();
    }
    // Opens the dialog through the command; later actions go to the open dialog directly (a new
    // script session would not know the window).
    // The command reads the settings file first, so the test's settings are saved there.
    void open()
    {
        ASSERT_EQ(SaveINIFile(INI_FILE), 0);
        run_script("command 24");
    }
    Dialog* dialog() const { return mt_dialog ? static_cast<Dialog*>(mt_dialog) : cb_dialog; }
    void type(int id, const std::string& text) { dialog()->user_typed(id, text); }
    void press(int id) { dialog()->user_clicked(id); }
    void scroll(int id, ScrollCode code) { dialog()->user_scrolled(id, code, dialog()->GetScrollPos(id)); }
    // Lines "press ID", "type ID "TEXT"", "scroll ID lineup|linedown|endscroll" on the open dialog.
    void act(const std::string& lines)
    {
        std::istringstream in(lines);
        std::string verb;
        while (in >> verb) {
            int id = 0;
            in >> id;
            if (verb == "press") {
                press(id);
            } else if (verb == "type") {
                std::string text;
                in >> std::quoted(text);
                type(id, text);
            } else if (verb == "scroll") {
                std::string code;
                in >> code;
                scroll(id, code == "lineup" ? ScrollCode::LineUp : code == "linedown" ? ScrollCode::LineDown
                                                                                    : ScrollCode::EndScroll);
            }
        }
    }
    void drive(const std::string& lines) { open(); if (dialog()) act(lines); }
    // The LX200 commands written after the port was opened.
    std::string sent_after_open() const
    {
        std::string s;
        for (const auto& c : serial->calls)
            if (c.op == "puts" || c.op == "putc")
                s += c.data;
        return s;
    }
    std::unique_ptr<SerialRecorder> serial;
};

TEST_F(TelescopeDialogTest, OpensMoveTelescopeAfterOpeningThePort)
{
    drive("");
    EXPECT_NE(transcript().find("open 18 \"SKYVANE Move Telescope\""), std::string::npos);
    EXPECT_EQ(comfound, 1);
    ASSERT_NE(mt_dialog, nullptr);
    act("press 2");
    EXPECT_EQ(mt_dialog, nullptr);
    EXPECT_NE(transcript().find("close 18 2"), std::string::npos);
}

TEST_F(TelescopeDialogTest, GoToObjectRanges)
{
    struct Case { const char* messier; const char* ngc; const char* sent; };
    const Case cases[] = {
        {"110", "0", "#:LM 0110#"},
        {"111", "0", ""},
        {"0", "7815", "#:LC 7815#"},
        {"0", "7816", ""},
        {"", "1", "#:LC 0001#"},      // an empty field reads 0
        {"31", "224", "#:LM 0031#"},  // the Messier number wins
        {"-5", "0", ""},
        {"abc", "0", ""},
    };
    drive("");
    for (const Case& c : cases) {
        serial->calls.clear();
        out_.str("");
        act(std::string("type 101 \"") + c.messier + "\"\ntype 102 \"" + c.ngc + "\"\npress 103");
        const std::string sent = sent_after_open();
        if (*c.sent) {
            EXPECT_EQ(sent.substr(0, 10), c.sent) << c.messier << "/" << c.ngc;
            EXPECT_EQ(transcript().find("Object out of range"), std::string::npos);
        } else {
            EXPECT_EQ(sent, "") << c.messier << "/" << c.ngc;
            EXPECT_NE(transcript().find("message \"Skyvane - Control Telescope\" \"Object out of range - try again\""),
                      std::string::npos);
        }
    }
}

TEST_F(TelescopeDialogTest, GoToCoordinateRanges)
{
    struct Case { const char *h, *m, *d, *dm; const char* sd; };
    const Case cases[] = {
        {"5", "34", "-5", "23", "#:Sd -05*23#"},
        {"23", "59", "-89", "59", "#:Sd -89*59#"},
        {"0", "0", "89", "59", "#:Sd +89*59#"},
        {"0", "0", "-90", "0", nullptr},
        {"24", "0", "0", "0", nullptr},
        {"0", "60", "0", "0", nullptr},
        {"0", "0", "0", "60", nullptr},
        {"-1", "0", "0", "0", nullptr},
    };
    drive("");
    for (const Case& c : cases) {
        serial->calls.clear();
        out_.str("");
        act(std::string("type 112 \"") + c.h + "\"\ntype 113 \"" + c.m + "\"\ntype 114 \"" + c.d +
                   "\"\ntype 115 \"" + c.dm + "\"\npress 116");
        if (c.sd) {
            EXPECT_NE(sent_after_open().find(c.sd), std::string::npos) << c.h << " " << c.d;
        } else {
            EXPECT_EQ(sent_after_open(), "") << c.h << " " << c.m << " " << c.d << " " << c.dm;
            EXPECT_NE(transcript().find("\"Invalid Co-ordinates set.\\n\\nRange is R.A. 0hr 00min, to 23hr 59mins\\n"
                                        "        Dec  -89deg 00min, to +89deg 59mins\""),
                      std::string::npos) << transcript();
        }
    }
}

TEST_F(TelescopeDialogTest, PlanetButtons)
{
    const std::pair<int, const char*> planets[] = {{104, "0901"}, {105, "0902"}, {106, "0904"}, {107, "0905"},
                                                   {108, "0906"}, {109, "0907"}, {110, "0908"}, {111, "0909"}};
    drive("");
    for (const auto& [id, number] : planets) {
        serial->calls.clear();
        act("press " + std::to_string(id));
        EXPECT_EQ(sent_after_open().substr(0, 10), std::string("#:LS ") + number + "#");
    }
}

TEST_F(TelescopeDialogTest, ArrowsMoveWithTheChosenSpeedAndIgnoreASecondPress)
{
    drive("press 121\nscroll 118 linedown");
    EXPECT_EQ(sent_after_open(), "#:RM##:Me#");
    EXPECT_EQ(tele_speed, "#:RM#");
    EXPECT_EQ(tele_moving, 1);
    serial->calls.clear();
    act("scroll 119 lineup");   // north while east runs: nothing new
    EXPECT_EQ(sent_after_open(), "");
    act("scroll 118 endscroll");
    EXPECT_EQ(sent_after_open(), "#:Qn##:Qs##:Qe##:Qw#");
    EXPECT_EQ(tele_moving, 0);
    serial->calls.clear();
    act("scroll 118 endscroll");   // no move running: nothing to stop
    EXPECT_EQ(sent_after_open(), "");
    act("press 123\nscroll 119 linedown\nscroll 119 endscroll\npress 120\nscroll 119 lineup");
    EXPECT_EQ(sent_after_open(), "#:RG##:Ms##:Qn##:Qs##:Qe##:Qw##:RS##:Mn#");
}

TEST_F(TelescopeDialogTest, SwapSettingApplyToTheArrows)
{
    std::swap(::e, ::w);
    drive("scroll 118 lineup");
    EXPECT_EQ(sent_after_open(), "#:RS##:Me#");   // the left arrow, with east and west swapped
}

TEST_F(TelescopeDialogTest, PressAndReleaseNotifications)
{
    // A press tells its arrow by the side of the thumb it is on; the release ends the move.
    drive("");
    ASSERT_NE(mt_dialog, nullptr);
    mt_dialog->user_scrolled(TMTDialog::SCROLL_NS, ScrollCode::Press, 1);
    EXPECT_EQ(sent_after_open(), "#:RS##:Ms#");
    mt_dialog->user_scrolled(TMTDialog::SCROLL_NS, ScrollCode::Release, 0);
    EXPECT_EQ(tele_moving, 0);
    serial->calls.clear();
    mt_dialog->user_scrolled(TMTDialog::SCROLL_EW, ScrollCode::Press, -1);
    EXPECT_EQ(sent_after_open(), "#:RS##:Mw#");
}

TEST_F(TelescopeDialogTest, FocusArrowsAndSpeed)
{
    drive("press 126\nscroll 124 lineup");
    EXPECT_EQ(sent_after_open(), "#:FS##:F+#");
    EXPECT_EQ(tele_focussing, 1);
    act("scroll 124 linedown");   // already focussing
    EXPECT_EQ(sent_after_open(), "#:FS##:F+#");
    act("scroll 124 endscroll\npress 125\nscroll 124 linedown\nscroll 124 endscroll");
    EXPECT_EQ(sent_after_open(), "#:FS##:F+##:FQ##:FF##:F-##:FQ#");
    EXPECT_EQ(tele_focussing, 0);
}

TEST_F(TelescopeDialogTest, PaintShowsSpeedsAndTheScopesText)
{
    tele_speed = "#:RC#";
    focus_speed = "#:FS#";
    move_error = "M31 GALAXY";
    open();
    EXPECT_EQ(mt_dialog->GetText(TMTDialog::TEXT_INFO), "M31 GALAXY");
    EXPECT_EQ(mt_dialog->GetCheck(TMTDialog::RADIO_CENTRE), 1);
    EXPECT_EQ(mt_dialog->GetCheck(TMTDialog::RADIO_SLEW), 0);
    EXPECT_EQ(mt_dialog->GetCheck(TMTDialog::RADIO_SLOW), 1);
}

TEST_F(TelescopeDialogTest, HelpBox)
{
    drive("press 9");
    EXPECT_NE(transcript().find("message \"Skyvane - Control Telescope\" \"Enter a Messier or CNGC number and press "
                                "the GoTo Object button.\\n\\nIf you enter both numbers the Messier will be favoured. "
                                "To use CGNC numbers ensure the Messier number is 0\""),
              std::string::npos) << transcript();
}

TEST_F(TelescopeDialogTest, NoDialogWhenTheMountCannotBeReached)
{
    serial->fail["reset"] = SIO_NOOPEN;
    serial->fail["baud"] = serial->fail["dtr"] = serial->fail["rts"] = serial->fail["parms"] = SIO_BADPORT;
    drive("");
    EXPECT_EQ(transcript().find("open 18"), std::string::npos);
    EXPECT_EQ(telescope, 'n');
    EXPECT_NE(transcript().find("Sorry. No Connection to Telescope"), std::string::npos);
}

TEST_F(TelescopeDialogTest, ControlBoxDialogResetsTheBoxAndMovesWithTheArrows)
{
    telescope = 'b';
    drive("");
    EXPECT_NE(transcript().find("open 19 \"Move Telescope\""), std::string::npos);
    EXPECT_EQ(sent_after_open(), std::string("\x0D\x00\x00", 3));   // the reset
    serial->calls.clear();
    act("scroll 101 lineup");
    EXPECT_EQ(sent_after_open(), "\x08\x18");
    act("scroll 102 linedown");   // ignored while moving
    EXPECT_EQ(sent_after_open(), "\x08\x18");
    act("scroll 101 endscroll\nscroll 102 linedown\nscroll 102 endscroll");
    EXPECT_EQ(sent_after_open(), std::string("\x08\x18\x00\x04\x14\x00", 6));
    act("press 2");
    EXPECT_NE(transcript().find("close 19 2"), std::string::npos);
}

TEST_F(TelescopeDialogTest, ControlBoxDialogOpensEvenWhenThePortFailed)
{
    telescope = 'b';
    serial->fail["reset"] = SIO_NOOPEN;
    serial->fail["baud"] = serial->fail["parms"] = SIO_BADPORT;
    drive("scroll 101 linedown\nscroll 101 endscroll");
    EXPECT_NE(transcript().find("open 19"), std::string::npos);
    EXPECT_EQ(sent_after_open(), "");   // the closed port is left alone
    EXPECT_EQ(comfound, 0);
}
}
