// TSkyvaneWindow: the main window's logic. The backend's client widget forwards its paint,
// mouse and size events here; menu items, accelerators and buttons go to dispatch_command.
#pragma once

class Painter;

// Client-area painting (the current bitmap, the background outside it, the picked-star cross).
void main_window_paint(Painter& painter);
// Mouse events in client-area pixels as the window system delivers them (without scroll).
void EvLButtonUp(int x, int y);
void EvRButtonUp(int x, int y);
void EvMouseMove(int x, int y);
// The client window changed size (not when minimized).
void EvSize();
