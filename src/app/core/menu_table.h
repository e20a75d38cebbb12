// The frame's decorations as data: menu bar, control bar, hints and accelerators. The backend
// builds its widgets from these tables; the command ids are the program's vocabulary.
#pragma once
#include <string>
#include <vector>

struct MenuItem {
    int id = 0;               // 0 for a separator
    std::string label;        // with '&' before the mnemonic
    std::string shortcut;     // shown after a tab; may carry a trailing space
    std::string text() const { return shortcut.empty() ? label : label + "\t" + shortcut; }
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
    int command = 0;          // a single item on the menu bar itself (no pull-down)
};

struct ControlBarEntry {
    int bitmap = 0;           // 0 for a gap
    int command = 0;
    int gap = 0;              // width of a gap in pixels
};

struct Accelerator {
    char key;                 // upper-case letter
    bool control;
    bool alt;
    int command;
};

const std::vector<Menu>& menu_bar();
// The 17 buttons and 6 gaps; the telescope button (bitmap 24, command 24) follows when present.
const std::vector<ControlBarEntry>& control_bar();
constexpr int TELESCOPE_BUTTON = 24;
constexpr int CONTROL_BAR_ID = 32041;
// The status-bar hint of a command, or an empty text.
std::string command_hint(int id);
const std::vector<Accelerator>& accelerators();
