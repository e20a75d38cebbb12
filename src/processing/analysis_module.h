// Registration of the centroid, pick, arithmetic, merge, photometry and analysis-view commands.
#pragma once

void reset_analysis_module();
void register_analysis_commands();
