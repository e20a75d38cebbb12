// Scripts for the headless runner: one action per line, '#' starts a comment, text arguments in
// double quotes with \n, \" and \\ escapes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"

enum class ActionKind {
    Command, Key, LeftClick, RightClick, Move, Press, Scroll, Type, Close, Show,
    Reply, Choose, Wait, Shot, Quit
};

struct ScriptAction {
    ActionKind kind = ActionKind::Quit;
    int line = 0;            // line number in the script file
    int id = 0;              // command or control id
    int x = 0, y = 0;        // click and move points
    ScrollCode scroll = ScrollCode::EndScroll;
    int pos = 0;             // thumb position
    std::string text;        // type, choose (a path, or empty for cancel), reply, shot
    bool cancel = false;     // choose cancel
    int64_t ms = 0;          // wait; for scheduled actions the time since the script started
    bool scheduled = false;  // an `at MS ACTION` line
};

struct Script {
    std::vector<ScriptAction> sequence;    // unscheduled lines, in order
    std::vector<ScriptAction> scheduled;   // `at` lines, by time (stable for equal times)
};

// Reads the script file PATH into TEXT; false when it cannot be read.
bool read_script_file(const std::string& path, std::string& text);

// Parses TEXT; on a bad line returns nothing and sets ERROR to "line N: why".
std::optional<Script> parse_script(const std::string& text, std::string& error);

// A text in double quotes with the script's escapes.
std::string quote(const std::string& text);
