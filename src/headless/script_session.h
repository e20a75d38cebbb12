// Runs a parsed script against the program: the main loop, the modal loops of dialogs, message
// boxes and file dialogs (which take the script's unscheduled lines), and the stop poll of long
// operations (which takes only scheduled lines whose time has come). Prints the transcript.
#pragma once
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/event_pump.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "script.h"
#include "virtual_clock.h"

class Dialog;
class HeadlessFrame;
class HeadlessDesktop;

class ScriptSession {
public:
    ScriptSession(Script script, VirtualClock& clock, std::ostream& out);

    void attach(HeadlessFrame* frame, HeadlessDesktop* desktop) { frame_ = frame; desktop_ = desktop; }

    // Runs the unscheduled lines until the script ends or quits, then ends the program.
    void run_main_loop();
    // Runs the unscheduled lines as the main loop does, without ending the program afterwards
    // (a test goes on calling the program directly).
    void run_lines();

    // Services.
    BoxAnswer answer_box(const std::string& caption, const std::string& text, BoxButtons buttons);
    std::optional<std::string> answer_file_dialog(const FileDialogRequest& request);
    int run_modal(Dialog& dialog);
    void open_modeless(Dialog& dialog);
    void drain(const std::function<void(PressKind)>& on_press);
    bool quitting() const { return quitting_; }
    void request_quit() { quitting_ = true; }
    void print(const std::string& line);

    // Called by the dialog views.
    void modal_ended(Dialog& dialog, int result);
    void modeless_destroyed(Dialog& dialog, int result);
    void dialog_invalidated(Dialog& dialog);

private:
    enum class Context { Main, Modal };

    const ScriptAction* peek();
    void take() { ++next_; }
    void deliver_due(const std::function<void(PressKind)>* on_press);
    void wait(int64_t ms);
    void apply(const ScriptAction& action, Context context);
    void apply_to_dialog(const ScriptAction& action);
    void error(int line, const std::string& why);
    void idle();
    Dialog* top_dialog() const;
    int64_t elapsed_ms() const;

    Script script_;
    size_t next_ = 0;
    size_t next_scheduled_ = 0;
    VirtualClock& clock_;
    int64_t start_us_;
    std::ostream& out_;
    HeadlessFrame* frame_ = nullptr;
    HeadlessDesktop* desktop_ = nullptr;
    bool quitting_ = false;

    struct OpenDialog {
        Dialog* dialog;
        bool modal;
        bool ended = false;
        int result = 0;
        bool dirty = true;
    };
    std::vector<OpenDialog> open_;
};
