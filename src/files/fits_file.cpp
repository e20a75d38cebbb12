#include "fits_file.h"

#include <algorithm>
#include <cstring>

#include "c_numbers.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "settings_values.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"

std::string FITS_Date;
std::string FITS_Time;
double FITS_Exptime = 0.0;
double FITS_Pixwidth = 0.0;
double FITS_Pixheight = 0.0;
int eightbit = 0;

namespace {
constexpr int QUOTED_VALUE = 68;   // columns 12 to 79 of a card

std::string number_card(const char* keyword, double value)
{
    return fits_card(std::string(keyword) + c_format_double("    %11.10E", value));
}

bool columns_are(const uint8_t* card, int first_column, const char* text)
{
    return std::memcmp(card + first_column - 1, text, std::strlen(text)) == 0;
}

// The number of a card from column 14 on ("%lf"); the previous value when it is no number.
double card_number(const uint8_t* card, double previous)
{
    const std::string text(reinterpret_cast<const char*>(card) + 13, FITS_CARD - 13);
    return c_parse_double(text).value_or(previous);
}
}

void reset_fits_state()
{
    FITS_Date.clear();
    FITS_Time.clear();
    FITS_Exptime = 0.0;
    FITS_Pixwidth = 0.0;
    FITS_Pixheight = 0.0;
    eightbit = 0;
}

std::string fits_card(const std::string& text)
{
    std::string card(FITS_CARD, ' ');
    std::copy_n(text.begin(), std::min<size_t>(text.size(), FITS_CARD), card.begin());
    return card;
}

std::string quoted_card(const char* keyword, const std::string& value)
{
    return fits_card(std::string(keyword) + value.substr(0, QUOTED_VALUE) + "'");
}

std::array<std::string, 4> long_text_cards(const char* keyword, const std::string& text)
{
    std::array<std::string, 4> cards;
    for (size_t k = 0; k < 4; ++k) {
        std::string piece = k * QUOTED_VALUE < text.size() ? text.substr(k * QUOTED_VALUE, QUOTED_VALUE) : std::string();
        piece.resize(QUOTED_VALUE, ' ');
        cards[k] = fits_card(std::string(keyword) + piece + "'");
    }
    return cards;
}

std::string card_text(const uint8_t* card)
{
    std::string text;
    for (int i = 11; i < FITS_CARD && card[i] != '\'' && card[i] != 0; ++i)
        text.push_back(static_cast<char>(card[i]));
    return text;
}

std::string long_text_from_cards(const uint8_t* first_card)
{
    std::string text;
    for (int k = 0; k < 3; ++k)
        text += card_text(first_card + k * FITS_CARD);
    text += card_text(first_card + 3 * FITS_CARD).substr(0, 51);
    return text;
}

std::string fits_header(int eight_bit)
{
    std::string h;
    h += fits_card("SIMPLE  =                    T /");
    h += fits_card(eight_bit ? "BITPIX  =                    8 /" : "BITPIX  =                   16 /");
    h += fits_card("NAXIS   =                    2 /");
    h += fits_card(binned ? "NAXIS1  =                  376 /" : "NAXIS1  =                  752 /");
    h += fits_card(binned ? "NAXIS2  =                  290 /" : "NAXIS2  =                  580 /");
    return h;
}

int SaveFITSFile(const std::string& fileTitle, const uint16_t* fredptr, const std::string& obj,
                 const std::string& obs, const std::string& date, const std::string& tel,
                 const std::string& ins, const std::string& com, const std::string& his, int eight_bit)
{
    FileSystem& fs = *services().files;
    fs.make_directories(services().paths->native(auto_save_dir));

    std::string h = fits_header(eight_bit);
    h += quoted_card("OBJECT  = '", obj);
    h += quoted_card("TELESCOP= '", tel);
    h += quoted_card("INSTRUME= '", ins);
    h += quoted_card("OBSERVER= '", obs);
    h += quoted_card("ORIGIN  = '", FITS_Src);
    h += quoted_card("DATE-OBS= '", date);
    h += quoted_card("TIME-OBS= '", FITS_Time);
    for (int row = 0; row < HISTORY_USED; ++row)
        h += quoted_card("HISTORY = '", process_info[static_cast<size_t>(row)].substr(0, HISTORY_TEXT));
    for (const auto& card : long_text_cards("HISTORY = '", his))
        h += card;
    for (const auto& card : long_text_cards("COMMENT = '", com))
        h += card;
    // 8-bit data carry no offset, so their BZERO is 0 whatever the unsigned option says.
    const bool unsigned_data = FITS_SBIG || eight_bit;
    h += fits_card(unsigned_data ? BZERO_UNSIGNED : "BZERO   =   +3.2768000000E+04");
    h += fits_card("BSCALE  =   +1.0000000000E+00");
    h += number_card("PIXWIDTH=", FITS_Pixwidth);
    h += number_card("PIXHEIGH=", FITS_Pixheight);
    h += fits_card(FITS_SBIG ? "SATURATE=                65535" : "SATURATE=                32768");
    h += number_card("EXPTIME =", FITS_Exptime);
    h += number_card("FOCALLEN=", FITS_Focallen);
    h += number_card("APERTURE=", FITS_Aperture);
    h += quoted_card("FILTER  = '", FITS_Filter);
    h += fits_card("END");
    while (h.size() < static_cast<size_t>(FITS_HEADER_BYTES))
        h += fits_card("");

    auto writer = fs.create(services().paths->native(fileTitle));
    if (!writer)
        return 1;
    for (int card = 0; card < FITS_CARDS; ++card)
        if (!writer->write(h.data() + card * FITS_CARD, FITS_CARD))
            return 1;

    const int samples = width1 * height1;
    if (eight_bit) {
        const size_t padded = (static_cast<size_t>(samples) + 2879) / 2880 * 2880;
        std::vector<uint8_t> data(padded, 0);
        for (int i = 0; i < samples; ++i)
            data[static_cast<size_t>(i)] = high_byte(fredptr, i);
        if (!writer->write(data.data(), data.size()))
            return 1;
    } else {
        const uint16_t offset = FITS_SBIG ? 0 : 32768;
        std::vector<uint8_t> data(static_cast<size_t>(samples) * 2);
        for (int i = 0; i < samples; ++i) {
            const auto v = static_cast<uint16_t>(fredptr[i] - offset);
            data[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(v >> 8);
            data[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>(v & 0xff);
        }
        const int blocks = binned ? 32 : 64;
        const size_t block = data.size() / static_cast<size_t>(blocks);
        for (int b = 0; b < blocks; ++b)
            if (!writer->write(data.data() + static_cast<size_t>(b) * block, block))
                return 1;
        const uint8_t zeros[80] = {};
        for (int k = 0; k < FITS_TRAILER_BYTES / 80; ++k)
            if (!writer->write(zeros, sizeof zeros))
                return 1;
    }
    return writer->commit() ? 0 : 1;
}

int fits_offset(const uint8_t* card36)
{
    return std::memcmp(card36, BZERO_UNSIGNED, std::strlen(BZERO_UNSIGNED)) == 0 ? 0 : 32768;
}

bool fits_header_fits_geometry(const uint8_t* header, int binned_geometry)
{
    const uint8_t* card = header;
    return columns_are(card + 1 * FITS_CARD, 29, "16") && columns_are(card + 2 * FITS_CARD, 30, "2") &&
           columns_are(card + 3 * FITS_CARD, 28, binned_geometry ? "376" : "752") &&
           columns_are(card + 4 * FITS_CARD, 28, binned_geometry ? "290" : "580");
}

int parse_fits_file(const Bytes& file, FitsImage& out)
{
    if (file.size() < static_cast<size_t>(5 * FITS_CARD))
        return 1;
    const uint8_t* h = file.data();
    if (!columns_are(h + 1 * FITS_CARD, 29, "16") || !columns_are(h + 2 * FITS_CARD, 30, "2"))
        return 2;
    const bool width_binned = columns_are(h + 3 * FITS_CARD, 28, "376");
    if (!width_binned && !columns_are(h + 3 * FITS_CARD, 28, "752"))
        return 2;
    if (columns_are(h + 4 * FITS_CARD, 28, "290"))
        out.binned = 1;
    else if (columns_are(h + 4 * FITS_CARD, 28, "580"))
        out.binned = 0;
    else
        return 2;
    // Both axes and the length must describe the same frame.
    const int64_t expected = out.binned ? FITS_BINNED_LENGTH : FITS_FULL_LENGTH;
    if (width_binned != (out.binned == 1))
        return 2;
    const int width = out.binned ? BINNED_WIDTH : FULL_WIDTH;
    const int height = out.binned ? BINNED_HEIGHT : FULL_HEIGHT;
    const size_t data_bytes = static_cast<size_t>(width) * height * 2;
    if (file.size() < FITS_HEADER_BYTES + data_bytes)
        return 1;
    if (static_cast<int64_t>(file.size()) != expected)
        return 2;

    auto card = [&](int number) { return h + (number - 1) * FITS_CARD; };
    std::string* texts[] = {&out.obj, &out.tel, &out.ins, &out.obs, &out.src, &out.date, &out.time};
    for (int k = 0; k < 7; ++k)
        *texts[k] = card_text(card(6 + k));
    for (int row = 0; row < 15; ++row)
        out.history[static_cast<size_t>(row)] = card_text(card(13 + row)).substr(0, HISTORY_TEXT);
    out.his = long_text_from_cards(card(28));
    out.com = long_text_from_cards(card(32));
    const int offset = fits_offset(card(36));
    out.sbig = offset == 0;
    out.pixwidth = card_number(card(38), FITS_Pixwidth);
    out.pixheight = card_number(card(39), FITS_Pixheight);
    out.exptime = card_number(card(41), 0.0);
    out.focallen = card_number(card(42), 0.0);
    out.aperture = card_number(card(43), 0.0);
    out.filter = card_text(card(44));

    out.samples.resize(static_cast<size_t>(width) * height);
    const uint8_t* data = h + FITS_HEADER_BYTES;
    for (size_t i = 0; i < out.samples.size(); ++i)
        out.samples[i] = static_cast<uint16_t>(data[2 * i] * 256 + data[2 * i + 1] + offset);
    return 0;
}

void ClearFITSInfo()
{
    history_clear();
    FITS_Date.clear();
    FITS_Time.clear();
    FITS_Obj.clear();
    FITS_Obs.clear();
    FITS_Tel.clear();
    FITS_Com.clear();
    FITS_His.clear();
    FITS_Ins = "Halvoran CCD";
    FITS_Filter = "None";
    FITS_Focallen = 0.0;
    FITS_Aperture = 0.0;
    FITS_Exptime = 0.0;
}

int LoadFITSFile(const std::string& fileTitle, int oldfile, uint16_t* fredptr)
{
    (void)oldfile;   // always the two-block header of this program
    const auto file = services().files->read(services().paths->native(fileTitle));
    if (!file)
        return 1;
    FitsImage fits;
    if (const int result = parse_fits_file(*file, fits); result != 0)
        return result;

    ClearFITSInfo();
    set_frame_geometry(fits.binned != 0);
    FITS_Obj = fits.obj;
    FITS_Tel = fits.tel;
    FITS_Ins = fits.ins;
    FITS_Obs = fits.obs;
    FITS_Src = fits.src;
    FITS_Date = fits.date;
    FITS_Time = fits.time;
    for (int row = 0; row < 15; ++row)
        process_info[static_cast<size_t>(row)] = fits.history[static_cast<size_t>(row)];
    FITS_His = fits.his;
    FITS_Com = fits.com;
    FITS_SBIG = fits.sbig;
    FITS_Pixwidth = fits.pixwidth;
    FITS_Pixheight = fits.pixheight;
    FITS_Exptime = fits.exptime;
    FITS_Focallen = fits.focallen;
    FITS_Aperture = fits.aperture;
    FITS_Filter = fits.filter;
    std::copy(fits.samples.begin(), fits.samples.end(), fredptr);
    return 0;
}
