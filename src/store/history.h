// The processing history: 17 lines of up to 39 characters, of which lines 0 to 14 are used.
#pragma once
#include <array>
#include <string>

constexpr int HISTORY_LINES = 17;
constexpr int HISTORY_USED = 15;
constexpr int HISTORY_TEXT = 39;

extern std::array<std::string, HISTORY_LINES> process_info;

// Writes TEXT (cut to 39 characters) into the first empty line among 0 to 14; when all fifteen
// are used the text is dropped. Returns the line written, or -1.
int history_append(const std::string& text);
// Empties lines 0 to 14.
void history_clear();
// The first empty line among 0 to 14, or -1 when all are used.
int history_first_empty();
