#include "fixture.h"

#include <cstdlib>
#include <filesystem>

#include "app/application.h"
#include "platform/services.h"

void ProgramTest::SetUp()
{
    char pattern[] = "/tmp/skyvane-test-XXXXXX";
    root_ = ::mkdtemp(pattern);
    clock_ = std::make_unique<VirtualClock>(1700000000);
    paths_ = std::make_unique<Paths>(root_, files_);
    run_script("");
    std::string error;
    ASSERT_TRUE(install_devices(options_, *clock_, services(), devices_, error)) << error;
    start_program();
}

void ProgramTest::run_script(const std::string& script)
{
    std::string error;
    auto parsed = parse_script(script, error);
    ASSERT_TRUE(parsed) << error;
    session_ = std::make_unique<ScriptSession>(std::move(*parsed), *clock_, out_);
    boxes_ = std::make_unique<HeadlessBoxes>(*session_);
    file_dialogs_ = std::make_unique<HeadlessFileDialogs>(*session_);
    pump_ = std::make_unique<HeadlessPump>(*session_);
    desktop_ = std::make_unique<HeadlessDesktop>(*session_);
    frame_ = std::make_unique<HeadlessFrame>(*session_);
    dialogs_ = std::make_unique<HeadlessDialogHost>(*session_);
    session_->attach(frame_.get(), desktop_.get());
    // A new session replaces the user-facing services; the devices stay as installed.
    Services& s = services();
    s.clock = clock_.get();
    s.pump = pump_.get();
    s.boxes = boxes_.get();
    s.file_dialogs = file_dialogs_.get();
    s.desktop = desktop_.get();
    s.dialogs = dialogs_.get();
    s.files = &files_;
    s.paths = paths_.get();
    s.frame = frame_.get();
    s.clipboard = &clipboard_;
    s.printer = &printer_;
    if (!script.empty())
        session_->run_lines();
}

void ProgramTest::TearDown()
{
    services() = Services{};
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}
