// Whole-plane copies of intlength samples, header rows included. The four routines differ only
// in the order of their arguments, and callers rely on that order.
#pragma once
#include <cstdint>

void undo_image(const uint16_t* source, uint16_t* destination);
void restore_image(uint16_t* destination, const uint16_t* source);
void copy_image(uint16_t* destination, const uint16_t* source);
void backup_image(const uint16_t* source, uint16_t* destination);

// For the even rows below height1 the image sample takes the other plane's sample; odd rows keep
// theirs. Mode 0 is the only mode (the sequencer restores the even field it kept aside).
void do_add_image(uint16_t* image_plane, const uint16_t* other, int mode);

// Undo copy: the current image into undo_int, cursors image and undo reset. The copy remembers
// the geometry it was taken in, so that undo after a load of the other geometry restores both.
void undo_save_option();
extern int undo_binned;     // `binned` when the undo copy was taken
