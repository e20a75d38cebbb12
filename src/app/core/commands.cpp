#include "commands.h"

#include <map>

#include "platform/desktop.h"
#include "platform/services.h"

namespace {
struct Entry {
    CommandHandler handler;
    CommandKind kind = CommandKind::Exclusive;
};

std::map<int, Entry>& handlers()
{
    static std::map<int, Entry> table;
    return table;
}

std::map<int, CommandEnabler>& enablers()
{
    static std::map<int, CommandEnabler> table;
    return table;
}

int busy_depth = 0;

bool refused(int id)
{
    auto it = handlers().find(id);
    return busy_depth > 0 && it != handlers().end() && it->second.kind == CommandKind::Exclusive;
}
}

void register_command(int id, CommandHandler handler, CommandKind kind)
{
    handlers()[id] = Entry{std::move(handler), kind};
}

void register_enabler(int id, CommandEnabler enabler)
{
    enablers()[id] = std::move(enabler);
}

bool has_command(int id)
{
    return handlers().count(id) != 0;
}

void send_command(int id)
{
    auto it = handlers().find(id);
    if (it != handlers().end() && it->second.handler) {
        // Copy: the handler may re-register commands while it runs.
        CommandHandler handler = it->second.handler;
        handler();
    }
}

void dispatch_command(int id)
{
    if (refused(id)) {
        services().desktop->beep();
        return;
    }
    send_command(id);
}

CommandState command_state(int id)
{
    CommandState state;
    auto it = enablers().find(id);
    if (it != enablers().end() && it->second)
        state = it->second();
    if (refused(id))
        state.enabled = false;
    return state;
}

LongOperation::LongOperation() { ++busy_depth; }
LongOperation::~LongOperation() { --busy_depth; }
bool long_operation_running() { return busy_depth > 0; }

void clear_commands()
{
    handlers().clear();
    enablers().clear();
    busy_depth = 0;
}
