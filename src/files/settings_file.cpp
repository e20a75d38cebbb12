#include "settings_file.h"

#include <cstring>

#include "app/core/messages.h"
#include "fits_file.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "settings_values.h"
#include "store/flags.h"

std::string tz_rule = "TZ=GMT0";

void set_time_zone_rule()
{
    tz_rule = "TZ=GMT" + std::to_string(FITS_Diff);
}

int clamp_backlash(int value) { return value < 0 ? 0 : value > 20 ? 20 : value; }
int clamp_rate(int value) { return value < 1 ? 1 : value; }

void set_auto_save_dir()
{
    auto_save_dir = auto_save_subdir.empty() ? std::string("c:\\AUTOSAVE") : "c:\\AUTOSAVE\\" + auto_save_subdir;
}

void set_background_colour()
{
    if (default_back == 'l')
        back_r = back_g = back_b = 192;
    else if (default_back == 'g')
        back_r = back_g = back_b = 90;
    else {
        back_r = 120;
        back_g = 40;
        back_b = 40;
    }
}

namespace {
constexpr size_t SUBDIR_FIELD = 80;

void put16(Bytes& b, int value)
{
    const auto v = static_cast<uint16_t>(value);
    b.push_back(static_cast<uint8_t>(v & 0xff));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void put_card(Bytes& b, const std::string& card)
{
    b.insert(b.end(), card.begin(), card.end());
}

void put_double(Bytes& b, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int k = 0; k < 8; ++k)
        b.push_back(static_cast<uint8_t>(bits >> (8 * k)));
}

char yn(int flag) { return flag ? 'y' : 'n'; }
char one_zero(int flag) { return flag ? '1' : '0'; }

// Reads the fields in order; each one either is there whole or ends the reading.
class Reader {
public:
    explicit Reader(const Bytes& data) : data_(data) {}
    bool ok() const { return ok_; }
    const uint8_t* take(size_t n)
    {
        if (!ok_ || pos_ + n > data_.size()) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* p = data_.data() + pos_;
        pos_ += n;
        return p;
    }
    bool int16(int& out, bool is_signed = true)
    {
        const uint8_t* p = take(2);
        if (!p)
            return false;
        const auto v = static_cast<uint16_t>(p[0] | (p[1] << 8));
        out = is_signed ? static_cast<int16_t>(v) : v;
        return true;
    }
    bool letter(char& out)
    {
        const uint8_t* p = take(1);
        if (!p)
            return false;
        out = static_cast<char>(*p);
        return true;
    }
    bool card(std::string& out)
    {
        const uint8_t* p = take(80);
        if (!p)
            return false;
        out = card_text(p);
        return true;
    }
    bool long_text(std::string& out)
    {
        const uint8_t* p = take(320);
        if (!p)
            return false;
        out = long_text_from_cards(p);
        return true;
    }
    bool real(double& out)
    {
        const uint8_t* p = take(8);
        if (!p)
            return false;
        uint64_t bits = 0;
        for (int k = 0; k < 8; ++k)
            bits |= static_cast<uint64_t>(p[k]) << (8 * k);
        std::memcpy(&out, &bits, sizeof out);
        return true;
    }

private:
    const Bytes& data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

bool is_direction_set(char a, char b, char first, char second)
{
    return (a == first && b == second) || (a == second && b == first);
}
}

Bytes settings_record()
{
    Bytes b;
    b.reserve(INI_LENGTH);
    put16(b, auto_save_num);
    put16(b, FITS_Diff);
    b.push_back(static_cast<uint8_t>(fast_par));
    put16(b, default_port);
    put16(b, star_mask);
    put16(b, default_speed);
    put16(b, slewcom == '1' ? 1 : 2);
    put16(b, slewdefault);
    b.push_back(static_cast<uint8_t>(default_back));
    b.push_back(static_cast<uint8_t>(one_zero(focus_delay)));
    put16(b, slewx);
    put16(b, slewy);
    put16(b, backlashx);
    put16(b, backlashy);
    b.push_back(static_cast<uint8_t>(one_zero(ignore_small)));
    b.push_back(static_cast<uint8_t>(telescope));
    b.push_back(static_cast<uint8_t>(one_zero(disable_interrupts)));
    put16(b, hystx);
    put16(b, hysty);
    for (char c : {n, s, e, w})
        b.push_back(static_cast<uint8_t>(c));
    put_card(b, quoted_card("OBJECT  = '", FITS_Obj));
    put_card(b, quoted_card("TELESCOP= '", FITS_Tel));
    put_card(b, quoted_card("INSTRUME= '", FITS_Ins));
    put_card(b, quoted_card("OBSERVER= '", FITS_Obs));
    put_card(b, quoted_card("ORIGIN  = '", FITS_Src));
    for (const auto& card : long_text_cards("HISTORY = '", FITS_His))
        put_card(b, card);
    for (const auto& card : long_text_cards("COMMENT = '", FITS_Com))
        put_card(b, card);
    put_card(b, quoted_card("FILTER  = '", FITS_Filter));
    put_double(b, FITS_Aperture);
    put_double(b, FITS_Focallen);
    for (int flag : {FITS_SBIG, Mk2_fast_par, apply_correction, Losmandy_pause, gotcontrolbox, Debug_Mode})
        b.push_back(static_cast<uint8_t>(yn(flag)));
    std::string subdir = auto_save_subdir.substr(0, SUBDIR_FIELD - 1);
    b.insert(b.end(), subdir.begin(), subdir.end());
    b.push_back(0);
    b.resize(INI_LENGTH, ' ');
    return b;
}

int SaveINIFile(const std::string& path)
{
    FileSystem& fs = *services().files;
    fs.make_directories(services().paths->native(INI_FOLDER));
    const Bytes record = settings_record();
    auto writer = fs.create(services().paths->native(path));
    if (!writer || !writer->write(record.data(), record.size()) || !writer->commit())
        return 3;
    set_time_zone_rule();
    return 0;
}

int LoadINIFile(const std::string& path)
{
    FileSystem& fs = *services().files;
    const std::string folder = services().paths->native(INI_FOLDER);
    if (!fs.is_directory(folder)) {
        if (fs.make_directories(folder))
            return SaveINIFile(path);
        return 2;
    }
    const auto data = fs.read(services().paths->native(path));
    if (!data)
        return 2;

    Reader r(*data);
    bool bad = false;
    int v = 0;
    char c = 0;
    std::string text;
    auto check = [&](bool good) { if (!good) bad = true; return good; };

    if (!r.int16(v, false)) return 2;
    auto_save_num = v;
    if (!r.int16(v)) return 2;
    FITS_Diff = v;
    if (!r.letter(c)) return 2;
    if (c == 'y' || c == 'n') {
        fast_par = c;
    } else {
        services().boxes->show(APP_NAME, "Failed to read fast_par value", BoxButtons::Ok, BoxIcon::None);
        bad = true;
    }
    if (!r.int16(v)) return 2;
    default_port = v;
    if (!r.int16(v)) return 2;
    star_mask = (v == 7 || v == 8 || v == 9 || v == 11 || v == 13 || v == 15) ? v : 15;
    if (!r.int16(v)) return 2;
    default_speed = v;
    if (!r.int16(v)) return 2;
    slewcom = v == 1 ? '1' : '2';
    if (!r.int16(v)) return 2;
    slewdefault = (v == 1 || v == 2 || v == 4) ? v : 4;
    if (!r.letter(c)) return 2;
    default_back = c;
    set_background_colour();
    if (!r.letter(c)) return 2;
    focus_delay = c == '1' ? 1 : 0;
    if (!r.int16(v)) return 2;
    slewx = clamp_rate(v);
    if (!r.int16(v)) return 2;
    slewy = clamp_rate(v);
    if (!r.int16(v)) return 2;
    if (check(v >= 0 && v <= 20)) backlashx = v;
    if (!r.int16(v)) return 2;
    if (check(v >= 0 && v <= 20)) backlashy = v;
    if (!r.letter(c)) return 2;
    if (check(c == '1' || c == '0')) ignore_small = c == '1';
    if (!r.letter(c)) return 2;
    if (check(c == 'l' || c == 'n' || c == 'b')) telescope = c;
    if (!r.letter(c)) return 2;
    if (check(c == '1' || c == '0')) disable_interrupts = c == '1';
    if (!r.int16(v)) return 2;
    if (check(v >= 0 && v <= 20)) hystx = v;
    if (!r.int16(v)) return 2;
    if (check(v >= 0 && v <= 20)) hysty = v;
    const uint8_t* letters = r.take(4);
    if (!letters) return 2;
    const char ln = static_cast<char>(letters[0]), ls = static_cast<char>(letters[1]);
    const char le = static_cast<char>(letters[2]), lw = static_cast<char>(letters[3]);
    if (check(is_direction_set(ln, ls, 'n', 's') && is_direction_set(le, lw, 'e', 'w'))) {
        n = ln;
        s = ls;
        e = le;
        w = lw;
    }
    std::string* cards[] = {&FITS_Obj, &FITS_Tel, &FITS_Ins, &FITS_Obs, &FITS_Src};
    for (auto* card : cards) {
        if (!r.card(text)) return 2;
        *card = text;
    }
    if (!r.long_text(text)) return 2;
    FITS_His = text;
    if (!r.long_text(text)) return 2;
    FITS_Com = text;
    if (!r.card(text)) return 2;
    FITS_Filter = text;
    double d = 0;
    if (!r.real(d)) return 2;
    FITS_Aperture = d;
    if (!r.real(d)) return 2;
    FITS_Focallen = d;
    int* flags[] = {&FITS_SBIG, &Mk2_fast_par, &apply_correction, &Losmandy_pause, &gotcontrolbox, &Debug_Mode};
    for (int* flag : flags) {
        if (!r.letter(c)) return 2;
        *flag = c == 'y';
    }
    const uint8_t* subdir = r.take(SUBDIR_FIELD);
    if (!subdir) return 2;
    size_t length = 0;
    while (length < SUBDIR_FIELD - 1 && subdir[length] != 0)
        ++length;
    auto_save_subdir.assign(reinterpret_cast<const char*>(subdir), length);
    set_auto_save_dir();
    if (bad)
        return SaveINIFile(path);
    set_time_zone_rule();
    return 0;
}
