// The system clipboard as the Copy command uses it.
#pragma once
#include "painter.h"

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard and puts the bitmap on it with its palette (as the window shows it).
    // False when the clipboard could not take it.
    virtual bool put_bitmap(const Bitmap8& bitmap) = 0;
};
