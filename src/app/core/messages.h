// The message catalogue: numbered texts shown in a modal box captioned "Skyvane".
#pragma once
#include <string>

#include "platform/message_box.h"

// Shows catalogue text N; number 50 shows the caller's TEXT (at most 498 characters). Numbers
// outside 1..55 show an empty box.
BoxAnswer messages(int n, const std::string& text = {});
// The text message N shows (for tests and callers that compose boxes).
std::string message_text(int n, const std::string& text = {});

constexpr const char* APP_NAME = "Skyvane";
