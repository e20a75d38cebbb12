#include "geometry.h"

#include "flags.h"
#include "planes.h"

int width1 = BINNED_WIDTH;
int width1_10 = BINNED_WIDTH * 10;
int width2 = BINNED_WIDTH - 1;
int width3 = BINNED_WIDTH * 2;
float width1f = static_cast<float>(BINNED_WIDTH);
int height1 = BINNED_HEIGHT;
int height2 = BINNED_HEIGHT - 1;
float height1f = static_cast<float>(BINNED_HEIGHT);
int intlength = BINNED_WIDTH * BINNED_HEIGHT + 4;
int writefile16 = BINNED_WIDTH * BINNED_HEIGHT / 16;

void QV_binned()
{
    const int w = binned ? BINNED_WIDTH : FULL_WIDTH;
    const int h = binned ? BINNED_HEIGHT : FULL_HEIGHT;
    width1 = w;
    width1_10 = w * 10;
    width2 = w - 1;
    width3 = w * 2;
    width1f = static_cast<float>(w);
    height1 = h;
    height2 = h - 1;
    height1f = static_cast<float>(h);
    intlength = w * h + 4;
    writefile16 = w * h / 16;
    if (!binned) {
        Geo = 0;
        Big = 0;
    }
}

void set_frame_geometry(bool binned_frame)
{
    binned = binned_frame ? 1 : 0;
    binned21 = binned_frame ? 0 : 1;
    highres_intl = 0;
    highres_nonintl = 0;
    QV_binned();
}

bool is_header_marked(const unsigned short* plane)
{
    return plane[4] + plane[5] == 34;
}

int first_processed_sample(const unsigned short* plane)
{
    return is_header_marked(plane) ? width1_10 : 0;
}
