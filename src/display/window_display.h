// What the main window shows: the bitmap loaded back from the display file, the refresh that
// writes it, painting and scrolling.
#pragma once
#include <optional>
#include <string>

#include "platform/painter.h"

extern std::optional<Bitmap8> Dib;   // the bitmap loaded from the last good display file
extern int PixelWidth, PixelHeight;
extern int Fit;                      // stretch the bitmap to the client area

// The refresh: every change of image_int or of a display option ends with it.
void image_prepare();
// Writes the display file and reports its failures (messages 8, 9, 10).
void write_bitmap();
// Loads a BMP file as the window's bitmap; message 32 keeps the previous one.
void LoadBitmapFile(const std::string& name);
// Scroll ranges from the bitmap and the client size, then scroll to (0, 0) and repaint.
void AdjustScroller();
// Repaint with the palette and the scroll bars reset.
void PaintIt();
// The window's paint: bitmap, background, the picked-star cross, then the histogram.
void Paint(Painter& painter);
// Forgets the bitmap and the window flags (a fresh program).
void reset_window_display();
