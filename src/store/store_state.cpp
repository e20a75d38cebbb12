#include "store_state.h"

#include <cstring>

#include "flags.h"
#include "geometry.h"
#include "history.h"
#include "plane_copies.h"
#include "planes.h"

void reset_store()
{
    reset_store_flags();
    QV_binned();
    history_clear();
    for (auto& line : process_info)
        line.clear();
    reset_cursors();
    undo_binned = 1;
}

void fill_test_image()
{
    std::memset(image_int, 0, sizeof image_int);
    std::memset(trial_int, 0, sizeof trial_int);
    std::memset(undo_int, 0, sizeof undo_int);
    std::memset(save_int, 0, sizeof save_int);
    std::memset(comparison_int, 0, sizeof comparison_int);
    for (int y = 0; y < height1; ++y)
        for (int x = 0; x < width1; ++x) {
            const auto v = static_cast<uint16_t>((y * 225) % 65536);
            const int i = y * width1 + x;
            image_int[i] = trial_int[i] = undo_int[i] = v;
        }
}
