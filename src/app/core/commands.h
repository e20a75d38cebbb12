// The command map: numbered commands (menu items, accelerators, control-bar buttons and internal
// commands) and their enablers. Each subsystem registers the handlers it owns at start-up.
#pragma once
#include <functional>

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Exclusive commands start a long operation or change the planes, the geometry, the camera link
// or the serial port; they are refused while a long operation runs. Free commands (display
// options, help, modeless windows) run at any time.
enum class CommandKind { Exclusive, Free };

using CommandHandler = std::function<void()>;
using CommandEnabler = std::function<CommandState()>;

void register_command(int id, CommandHandler handler, CommandKind kind = CommandKind::Exclusive);
void register_enabler(int id, CommandEnabler enabler);
bool has_command(int id);

// A command from the user (menu, accelerator, button). Refused with a beep while a long
// operation runs and the command is exclusive. Unknown ids do nothing.
void dispatch_command(int id);
// An internal command sent synchronously by a running routine; never refused.
void send_command(int id);
// What the menu item and button of ID show now.
CommandState command_state(int id);

// Marks a long operation for its lifetime (nested operations count).
class LongOperation {
public:
    LongOperation();
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;
};
bool long_operation_running();

// Forgets every registration (a fresh program in tests).
void clear_commands();
