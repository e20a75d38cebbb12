// The mount's serial port: opening and closing it, every command text and byte sent to an LX200
// mount or to the guider control box, their pauses on the program's clock, and the few replies.
// The guiding loop asks for guide pulses, the telescope dialogs for moves, focusing and GoTo.
#pragma once
#include <functional>
#include <string>

// State of the port and of the moves (the interface choice, port and direction letters are
// settings: telescope, slewcom, n/s/e/w, gotcontrolbox in files/settings_values.h).
extern int Port;                 // 0 COM1, 1 COM2
extern int comfound;             // the port is open
extern int Baud, Parity, StopBits, DataBits;
extern char slewdir;             // 'n', 's', 'e' or 'w': the next pulse or control-box move
extern int slew_time;            // length of the next guide pulse, ms
extern std::string tele_speed;   // "#:RS#", "#:RM#", "#:RC#" or "#:RG#"
extern std::string move_direction;   // "#:M" + letter + "#"
extern std::string focus_speed;  // "#:FF#" or "#:FS#"
extern std::string focus_direction;  // "#:F+#" or "#:F-#"
extern int tele_moving, tele_focussing;
extern std::string move_error;   // the last reply text read from the mount

void reset_telescope_protocol();

// Loading the settings file before the port first opens. The settings reader installs its load
// (true when the file was read) and the writing of the defaults after a failed load; until then
// the values in memory are used as they are.
struct TelescopeSettingsSeam {
    std::function<bool()> load;
    std::function<void()> write_defaults;
};
TelescopeSettingsSeam& telescope_settings_seam();
// Loads the settings; on failure shows message FAILURE_MESSAGE and writes the defaults back.
void load_settings_for_port(int failure_message);

int ErrorCheck(int Code);
int drive_check();        // 1 opened for an LX200 mount, 0 failed
int interface_check();    // 1 opened for the control box, 0 failed
// Opens the port once per run for the interface `telescope` names; the training form also sets
// gotcontrolbox.
void comm_check(bool training = false);
void close_drive();

void drive_slew();        // one guide pulse of slew_time ms towards slewdir
void interface_slew();    // the same through the control box
void CB_start_move();
void CB_stop_move();
void interface_CR();      // resets the control box
void start_move();
void stop_move();
void start_focus();
void stop_focus();
char move_telescope(char type, short number);
char move_to_coord(short number, short set_RAmin, short set_Decdeg, short set_Decmin);
void GetInfo();

// The select and run bytes of the control box for a direction letter (0 for none).
unsigned char cb_select_byte(char letter);
unsigned char cb_run_byte(char letter);
