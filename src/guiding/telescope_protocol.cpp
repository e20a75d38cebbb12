#include "telescope_protocol.h"

#include <cstdio>

#include "app/core/messages.h"
#include "files/settings_values.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/serial_library.h"
#include "platform/services.h"

int Port;
int comfound;
int Baud, Parity, StopBits, DataBits;
char slewdir;
int slew_time;
std::string tele_speed;
std::string move_direction;
std::string focus_speed;
std::string focus_direction;
int tele_moving, tele_focussing;
std::string move_error;

namespace {
// No serial library installed: every port is missing.
class NoSerial : public SerialLibrary {
public:
    int SioReset(int, int, int) override { return SIO_NOOPEN; }
    int SioBaud(int, int) override { return SIO_BADPORT; }
    int SioParms(int, int, int, int) override { return SIO_BADPORT; }
    int SioDTR(int, char) override { return SIO_BADPORT; }
    int SioRTS(int, char) override { return SIO_BADPORT; }
    int SioPuts(int, const char*, int) override { return SIO_BADPORT; }
    int SioPutc(int, char) override { return SIO_BADPORT; }
    int SioGets(int, char*, int) override { return SIO_BADPORT; }
    int SioRxClear(int) override { return SIO_BADPORT; }
    int SioDone(int) override { return SIO_BADPORT; }
};

SerialLibrary& sio()
{
    static NoSerial none;
    return services().serial ? *services().serial : none;
}
int64_t now_ms() { return services().clock->ticks(); }

void wait_until(int64_t t)
{
    while (now_ms() < t) {
    }
}

void wait_ms(int64_t ms) { wait_until(now_ms() + ms); }

void puts_text(const std::string& text)
{
    sio().SioPuts(Port, text.data(), static_cast<int>(text.size()));
}

void rx_clear() { sio().SioRxClear(Port); }

// Takes up to COUNT bytes that have arrived; a negative result counts as none.
std::string take(int count)
{
    char buf[64];
    const int got = sio().SioGets(Port, buf, count);
    return got > 0 ? std::string(buf, static_cast<size_t>(got)) : std::string();
}

void beep()
{
    if (services().desktop)
        services().desktop->beep();
}

void select_port() { Port = slewcom == '1' ? 0 : 1; }

// A byte to the control box; its result goes through the error check.
bool put_box_byte(unsigned char byte)
{
    if (!comfound)
        return false;
    return ErrorCheck(sio().SioPutc(Port, static_cast<char>(byte))) >= 0;
}

// Reads the reply of a GoTo or of "LI": up to 33 bytes, one more byte, and when that byte is
// not ACCEPT the text again. Returns the extra byte, 0 when none came.
char read_reply(bool goto_reply)
{
    move_error = take(33);
    char result = 0;
    if (sio().SioGets(Port, &result, 1) != 1)
        return 0;
    if (goto_reply ? result != '0' : result != 0) {
        move_error = take(33);
        rx_clear();
    }
    return result;
}

TelescopeSettingsSeam& seam_storage()
{
    static TelescopeSettingsSeam seam;
    return seam;
}
}

void reset_telescope_protocol()
{
    Port = 0;
    comfound = 0;
    Baud = Parity = StopBits = DataBits = 0;
    slewdir = 'n';
    slew_time = 0;
    tele_speed = "#:RS#";
    move_direction = "#:Mn#";
    focus_speed = "#:FF#";
    focus_direction = "#:F+#";
    tele_moving = tele_focussing = 0;
    move_error.clear();
}

TelescopeSettingsSeam& telescope_settings_seam() { return seam_storage(); }

void load_settings_for_port(int failure_message)
{
    const TelescopeSettingsSeam& seam = seam_storage();
    if (!seam.load || seam.load())
        return;
    messages(failure_message);
    if (seam.write_defaults)
        seam.write_defaults();
}

int ErrorCheck(int Code)
{
    if (Code >= 0)
        return Code;
    char text[32];
    std::snprintf(text, sizeof text, "ERROR %d ", Code);
    messages(50, text);
    sio().SioDone(Port);
    comfound = 0;   // later operations leave the closed port alone
    return -1;
}

int drive_check()
{
    select_port();
    ErrorCheck(sio().SioReset(Port, 1024, 1024));
    Baud = 5;
    Parity = 0;
    StopBits = 0;
    DataBits = 8;
    ErrorCheck(sio().SioBaud(Port, Baud));
    ErrorCheck(sio().SioDTR(Port, 'S'));
    ErrorCheck(sio().SioRTS(Port, 'S'));
    if (ErrorCheck(sio().SioParms(Port, Parity, StopBits, DataBits)) < 0) {
        messages(50, "Open Communications Failed");
        return 0;
    }
    return 1;
}

int interface_check()
{
    select_port();
    ErrorCheck(sio().SioReset(Port, 1024, 1024));
    Baud = 1;
    Parity = 0;
    StopBits = 0;
    DataBits = 8;
    ErrorCheck(sio().SioBaud(Port, Baud));
    if (ErrorCheck(sio().SioParms(Port, Parity, StopBits, DataBits)) < 0) {
        messages(50, "Open Communications Failed");
        return 0;
    }
    comfound = 1;
    gotcontrolbox = 1;
    return 1;
}

void comm_check(bool training)
{
    if (!comfound) {
        load_settings_for_port(20);
        if (telescope != 'b') {
            if (!drive_check()) {
                telescope = 'n';
                messages(36);
                return;
            }
            comfound = 1;
        } else {
            // Set only when the box's port really opened (interface_check does it).
            interface_check();
        }
    }
    if (training && comfound)
        gotcontrolbox = 1;
}

void close_drive()
{
    sio().SioDone(Port);
    comfound = 0;
}

void drive_slew()
{
    if (telescope == 'b') {
        interface_slew();
        return;
    }
    if (!comfound)
        return;
    const int64_t t0 = now_ms();
    const bool known = slewdir == 'n' || slewdir == 's' || slewdir == 'e' || slewdir == 'w';
    if (known) {
        puts_text("#:RG#");
        wait_until(t0 + 20);
        const int64_t t1 = now_ms() + slew_time;
        puts_text(std::string("#:M") + slewdir + "#");
        wait_until(t1);
        puts_text(std::string("#:Q") + slewdir + "#");
    }
    wait_ms(4);
}

unsigned char cb_select_byte(char letter)
{
    switch (letter) {
    case 'e': return 0x01;
    case 'n': return 0x02;
    case 's': return 0x04;
    case 'w': return 0x08;
    default: return 0x00;
    }
}

unsigned char cb_run_byte(char letter)
{
    const unsigned char select = cb_select_byte(letter);
    return select ? static_cast<unsigned char>(0x10 | select) : 0x00;
}

void interface_slew()
{
    if (!comfound)
        return;
    const int64_t t0 = now_ms();
    if (!put_box_byte(cb_select_byte(slewdir)))
        return;
    wait_until(t0 + 1);
    const int64_t t1 = now_ms() + slew_time;
    if (!put_box_byte(cb_run_byte(slewdir)))
        return;
    wait_until(t1);
    if (!put_box_byte(0x00))
        return;
    wait_ms(4);
}

void CB_start_move()
{
    if (!comfound)
        return;
    const int64_t t0 = now_ms();
    if (!put_box_byte(cb_select_byte(slewdir)))
        return;
    wait_until(t0 + 1);
    put_box_byte(cb_run_byte(slewdir));
}

void CB_stop_move()
{
    put_box_byte(0x00);
}

void interface_CR()
{
    if (!comfound)
        return;
    rx_clear();
    sio().SioRTS(Port, 'C');
    sio().SioDTR(Port, 'C');
    wait_ms(200);
    sio().SioRTS(Port, 'S');
    sio().SioDTR(Port, 'S');
    wait_ms(300);
    if (put_box_byte(0x0D) && put_box_byte(0x00))
        put_box_byte(0x00);
}

void start_move()
{
    if (!comfound)
        return;
    rx_clear();
    puts_text(tele_speed);
    rx_clear();
    puts_text(move_direction);
}

void stop_move()
{
    tele_moving = 0;
    if (!comfound)
        return;
    rx_clear();
    puts_text("#:Qn#");
    puts_text("#:Qs#");
    puts_text("#:Qe#");
    puts_text("#:Qw#");
}

void start_focus()
{
    if (!comfound)
        return;
    rx_clear();
    puts_text(focus_speed);
    rx_clear();
    puts_text(focus_direction);
}

void stop_focus()
{
    tele_focussing = 0;
    if (!comfound)
        return;
    rx_clear();
    puts_text("#:FQ#");
}

char move_telescope(char type, short number)
{
    move_error.clear();
    if (!comfound)
        return 0;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", number);
    rx_clear();
    const int64_t t0 = now_ms() + 1;
    const char* select = type == 'm' ? "#:LM " : type == 's' ? "#:LS " : "#:LC ";
    puts_text(std::string(select) + digits + "#");
    puts_text("#:LI#");
    wait_until(t0);
    beep();
    puts_text("#:MS#");
    wait_ms(1);
    const char result = read_reply(true);
    GetInfo();
    return result;
}

char move_to_coord(short number, short set_RAmin, short set_Decdeg, short set_Decmin)
{
    move_error.clear();
    if (!comfound)
        return 0;
    rx_clear();
    const int64_t t0 = now_ms() + 1;
    const char* sign = set_Decdeg < 0 ? "-" : "+";
    char ra[32], dec[32];
    std::snprintf(ra, sizeof ra, "#:Sr %02d:%02d.0#", number, set_RAmin);
    std::snprintf(dec, sizeof dec, "#:Sd %s%02d*%02d#", sign, set_Decdeg < 0 ? -set_Decdeg : set_Decdeg, set_Decmin);
    puts_text(ra);
    puts_text(dec);
    puts_text("#:LI#");
    wait_until(t0);
    beep();
    puts_text("#:MS#");
    wait_ms(1);
    return read_reply(true);
}

void GetInfo()
{
    move_error.clear();
    if (!comfound)
        return;
    puts_text("#:LI#");
    wait_ms(200);
    read_reply(false);
}
