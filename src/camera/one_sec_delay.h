// Waits while pumping messages; a key or mouse-button press ends the wait early.
#pragma once

// Waits SECONDS x 1000 ms; returns 1 when a press ended the wait (with a beep), else 0.
int one_sec_delay(int seconds);

// One pass of a host-timed wait: lets a little time go by so long waits stay cheap.
void wait_pass();
