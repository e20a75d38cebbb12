// A fresh program on the headless services for each test: a temporary data root, the virtual
// clock, and a script session whose transcript the test can read.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "headless/headless_file_services.h"
#include "headless/headless_services.h"
#include "headless/script_session.h"
#include "headless/virtual_clock.h"
#include "platform/paths.h"
#include "platform/posix/posix_file_system.h"
#include "wiring/devices.h"

class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs SCRIPT lines through the script session (after the program started).
    void run_script(const std::string& script);
    std::string transcript() const { return out_.str(); }
    std::string native(const std::string& name) const { return paths_->native(name); }
    const std::string& root() const { return root_; }

    std::string root_;
    std::ostringstream out_;
    std::unique_ptr<VirtualClock> clock_;
    PosixFileSystem files_;
    std::unique_ptr<Paths> paths_;
    std::unique_ptr<ScriptSession> session_;
    std::unique_ptr<HeadlessBoxes> boxes_;
    std::unique_ptr<HeadlessFileDialogs> file_dialogs_;
    std::unique_ptr<HeadlessPump> pump_;
    std::unique_ptr<HeadlessDesktop> desktop_;
    std::unique_ptr<HeadlessFrame> frame_;
    std::unique_ptr<HeadlessDialogHost> dialogs_;
    HeadlessClipboard clipboard_;
    HeadlessPrinter printer_;
    LaunchOptions options_;      // what install_devices sees
    DeviceSet devices_;
};
