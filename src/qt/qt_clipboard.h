// The clipboard on Qt: the displayed bitmap as an 8-bit indexed image with its palette.
#pragma once
#include "platform/clipboard.h"

class QtClipboard : public Clipboard {
public:
    bool put_bitmap(const Bitmap8& bitmap) override;
};
