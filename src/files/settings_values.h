// Values of the settings record that the window reads before the settings module is involved.
#pragma once

extern char telescope;     // 'n' none, otherwise the configured telescope interface

void reset_settings_values();
