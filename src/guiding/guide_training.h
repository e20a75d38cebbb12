// "Train Auto-Guiding": eight timed pulses (north, north, south, south, east, east, west, west)
// with a guide frame after each, from which the mount's rates and backlash are measured and saved.
#pragma once
#include <cstdint>

extern int fst_run;   // no training with the control box has run yet in this program run

void reset_guide_training();

// The star's guide-frame positions recorded by the eight steps: x[1..5] and y[1..5] (index 0
// unused), in whole pixels.
struct TrainingPositions {
    int x[6] = {};
    int y[6] = {};
};
struct TrainingResults {
    int slewx = 0, slewy = 0, backlashx = 0, backlashy = 0;
};
// The rates and backlash of the positions for training pulses of T seconds, in integer
// arithmetic with truncating division: RA as the average of both directions, Dec as the larger.
TrainingResults training_results(const TrainingPositions& p, int T);

// The training run on the image plane FREDPTR (which receives the guide frames).
void do_CmTrainGuide(uint16_t* fredptr);
// Command 22.
void CmTrainGuide();
// Command 889: one guide frame during training, shown in the main window.
void GuideTelescope();
