#include "planes.h"

uint16_t image_int[PLANE_SAMPLES];
uint16_t trial_int[PLANE_SAMPLES];
uint16_t undo_int[PLANE_SAMPLES];
uint16_t save_int[PLANE_SAMPLES];
uint16_t comparison_int[PLANE_SAMPLES];

PlaneCursor image, trial, undo, save, comparison;

uint8_t pixels_c[PLANE_SAMPLES];
uint8_t pixels_bmp[PLANE_SAMPLES];
uint8_t newpixels_c[872322];
uint8_t pixels_int[872320];

void reset_cursors()
{
    image.point_at(image_int);
    trial.point_at(trial_int);
    undo.point_at(undo_int);
    save.point_at(save_int);
    comparison.point_at(comparison_int);
}
