// The control bar's 32 x 32 button pictures, drawn in the 16 VGA colours: one small pictogram
// per bitmap number of the control-bar table.
#pragma once
#include <QPixmap>

QPixmap control_bar_picture(int bitmap);
