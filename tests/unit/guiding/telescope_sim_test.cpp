// The telescope code against the installed devices: the termios library on a pseudo-terminal with
// the simulated mount or control box on its far end, as the program runs by default.
#include <gtest/gtest.h>

#include "files/settings_file.h"

#include <fstream>
#include <unistd.h>

#include "files/settings_values.h"
#include "guiding/telescope_dialogs.h"
#include "guiding/telescope_protocol.h"
#include "platform/serial_library.h"
#include "platform/services.h"
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
class SimulatedTelescopeTest : public ProgramTest {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/skyvane-truth-XXXXXX";
        const int fd = ::mkstemp(name);
        ::close(fd);
        log_path = name;
        options_.sim_log = log_path;
        ProgramTest::SetUp();
    }
    void TearDown() override
    {
        close_telescope_windows();
        ProgramTest::TearDown();
        ::unlink(log_path.c_str());
    }
    // The last row of the truth log: time, x, y.
    std::vector<double> last_log_row() const
    {
        std::ifstream in(log_path);
        std::string line, last;
        while (std::getline(in, line))
            last = line;
        std::vector<double> v;
        std::stringstream ss(last);
        std::string cell;
        while (std::getline(ss, cell, ','))
            v.push_back(std::stod(cell));
        return v;
    }
    std::string ask(const std::string& command)
    {
        SerialLibrary& sio = *services().serial;
        sio.SioRxClear(Port);
        sio.SioPuts(Port, command.data(), static_cast<int>(command.size()));
        clock_->spend(100);
        char buf[64];
        const int n = sio.SioGets(Port, buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }
    std::string log_path;
};

TEST_F(SimulatedTelescopeTest, GoToM31ShowsTheScopesTextAndSlewsThePointing)
{
    telescope = 'l';
    run_script("command 24\ntype 101 \"31\"\npress 103");
    ASSERT_NE(mt_dialog, nullptr);
    // The first description, the result '0' and the description asked for again: the dialog shows
    // the second one whole.
    EXPECT_EQ(move_error, "M31 GALAXY MAG 3.4 SZ178.0'     #");
    EXPECT_EQ(mt_dialog->GetText(TMTDialog::TEXT_INFO), move_error);
    clock_->spend(60000);
    EXPECT_EQ(ask("#:GR#"), "00:42.7#");
    EXPECT_EQ(ask("#:GD#"), "+41*16#");
    // A GoTo to typed coordinates: the replies are still on the line when the program reads.
    mt_dialog->user_typed(TMTDialog::FIELD_RA_HR, "5");
    mt_dialog->user_typed(TMTDialog::FIELD_RA_MIN, "34");
    mt_dialog->user_typed(TMTDialog::FIELD_DEC_DEG, "-5");
    mt_dialog->user_typed(TMTDialog::FIELD_DEC_MIN, "23");
    mt_dialog->user_clicked(TMTDialog::BUTTON_GOTO_COORD);
    EXPECT_EQ(move_error, "");
    clock_->spend(60000);
    EXPECT_EQ(ask("#:GR#"), "05:34.0#");
    EXPECT_EQ(ask("#:GD#"), "-05*23#");
}

TEST_F(SimulatedTelescopeTest, GuidePulseMovesTheSkyTheCameraSees)
{
    telescope = 'l';
    comm_check();
    ASSERT_EQ(comfound, 1);
    slewdir = ::e;
    slew_time = 1000;
    drive_slew();
    auto row = last_log_row();
    ASSERT_EQ(row.size(), 3u);
    EXPECT_NEAR(row[1], 2.0, 0.01);   // east: +x at the default guide rate of 2 px/s
    slewdir = ::n;
    slew_time = 500;
    drive_slew();
    row = last_log_row();
    EXPECT_NEAR(row[2], 0.5, 0.01);   // north: +y, 1 row/s
}

TEST_F(SimulatedTelescopeTest, ControlBoxPulseOnTheSlowLine)
{
    telescope = 'b';
    ASSERT_EQ(SaveINIFile(INI_FILE), 0);   // the port check reads the settings file first
    comm_check(true);
    ASSERT_EQ(comfound, 1);
    EXPECT_EQ(gotcontrolbox, 1);
    interface_CR();
    clock_->spend(200);   // the reset's three bytes take 100 ms on the line
    slewdir = ::w;
    slew_time = 1000;
    drive_slew();
    clock_->spend(100);
    // The run byte reaches the box two bytes (67 ms) after the select byte was sent, the off byte
    // 33 ms after it was sent, so the input is on for 1000 + 1 + 33 - 67 ms.
    services().serial->SioRxClear(Port);   // lets the box catch up with the clock
    const auto row = last_log_row();
    EXPECT_NEAR(row[1], -2.0 * 0.967, 0.01);
}

TEST_F(SimulatedTelescopeTest, MissingDeviceReportsAndSwitchesToNone)
{
    // What --com1 with a path that does not exist does.
    services().serial = nullptr;
    devices_.owned.clear();
    options_.com1 = "/nonexistent/ttyUSB0";
    options_.sim_log.clear();
    std::string error;
    ASSERT_TRUE(install_devices(options_, *clock_, services(), devices_, error));
    telescope = 'l';
    run_script("command 24");
    const std::string t = transcript();
    EXPECT_NE(t.find("message \"Skyvane\" \"ERROR -2 \""), std::string::npos) << t;
    EXPECT_NE(t.find("message \"Skyvane\" \"Open Communications Failed\""), std::string::npos);
    EXPECT_NE(t.find("message \"Skyvane\" \"Sorry. No Connection to Telescope\""), std::string::npos);
    EXPECT_EQ(t.find("open 18"), std::string::npos);
    EXPECT_EQ(telescope, 'n');
}
}
