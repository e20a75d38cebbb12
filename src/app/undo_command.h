// "Undo Last Filter": puts the undo copy back and empties the last history line.
#pragma once

void undo_restore_option();
