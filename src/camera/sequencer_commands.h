// The exposure sequencer's commands and start-up values.
#pragma once

void reset_sequencer();
void register_sequencer_commands();
