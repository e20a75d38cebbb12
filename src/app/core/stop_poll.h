// The stop poll of long operations: drains the message queue and turns any key press or mouse
// button press taken here into a stop request.
#pragma once
#include <functional>

// PLACE 1 while an exposure is under way (the exposure is abandoned and the sequence ends),
// 0 while a frame is processed or between exposures (only the sequence ends).
void clear_messages(int place);

// Applies a stop request as clear_messages does for one press.
void apply_stop_request(int place);

// Closes the guiding information window when a stop ends self-guiding; set by its owner.
extern std::function<void()> close_guiding_info_on_stop;
