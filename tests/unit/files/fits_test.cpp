#include <clocale>
#include <cstring>

#include "files/autosave.h"
#include "files/file_choice.h"
#include "files/fits_file.h"
#include "files/raw_file.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "files_fixture.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"

namespace {
void set_geometry(int is_binned)
{
    binned = is_binned;
    QV_binned();
}

void fill_every_value()
{
    for (int i = 0; i < width1 * height1; ++i)
        image_int[i] = static_cast<uint16_t>(i * 7 + (i >> 16));   // every value 0..65535 occurs
}

std::string card(const std::vector<uint8_t>& b, int number)
{
    return std::string(b.begin() + (number - 1) * 80, b.begin() + number * 80);
}

std::string padded(std::string text)
{
    text.resize(80, ' ');
    return text;
}
}

TEST_F(FilesTest, FitsRoundTripOfEveryValueInBothFormatsAndGeometries)
{
    for (int geometry : {1, 0})
        for (int sbig : {0, 1}) {
            SCOPED_TRACE("binned " + std::to_string(geometry) + " sbig " + std::to_string(sbig));
            set_geometry(geometry);
            fill_every_value();
            std::vector<uint16_t> written(image_int, image_int + width1 * height1);
            std::vector<bool> seen(65536);
            for (uint16_t v : written) seen[v] = true;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 65536);
            FITS_SBIG = sbig;
            ASSERT_EQ(SaveFITSFile("c:\\t.fit", image_int, "", "", "", "", "", "", "", 0), 0);
            EXPECT_EQ(bytes_of("c:\\t.fit").size(), geometry ? 224640u : 878880u);
            // Load it back from the other geometry with a different image and the other SBIG state.
            set_geometry(!geometry);
            std::memset(image_int, 0, sizeof image_int);
            FITS_SBIG = !sbig;
            LoadZRFile("c:\\t.fit");
            EXPECT_EQ(binned, geometry);
            EXPECT_EQ(binned21, geometry ? 0 : 1);
            EXPECT_EQ(FITS_SBIG, sbig);
            ASSERT_EQ(width1 * height1, static_cast<int>(written.size()));
            EXPECT_TRUE(std::equal(written.begin(), written.end(), image_int));
            // The partner reader gives the same samples.
            std::memset(trial_int, 0, sizeof trial_int);
            EXPECT_EQ(trial_load(trial.fred2, trial.fred3, "c:\\t.fit"), 0);
            EXPECT_TRUE(std::equal(written.begin(), written.end(), trial_int));
        }
    EXPECT_EQ(transcript().find("message"), std::string::npos) << transcript();
}

TEST_F(FilesTest, SixteenBitDataCarryTheOffsetUnlessUnsigned)
{
    image_int[0] = 32768;
    image_int[1] = 0;
    FITS_SBIG = 0;
    ASSERT_EQ(SaveFITSFile("c:\\a.fit", image_int, "", "", "", "", "", "", "", 0), 0);
    auto b = bytes_of("c:\\a.fit");
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 5760, b.begin() + 5764), (std::vector<uint8_t>{0, 0, 0x80, 0}));
    EXPECT_EQ(card(b, 36), padded("BZERO   =   +3.2768000000E+04"));
    EXPECT_EQ(card(b, 40), padded("SATURATE=                32768"));
    FITS_SBIG = 1;
    ASSERT_EQ(SaveFITSFile("c:\\a.fit", image_int, "", "", "", "", "", "", "", 0), 0);
    b = bytes_of("c:\\a.fit");
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 5760, b.begin() + 5764), (std::vector<uint8_t>{0x80, 0, 0, 0}));
    EXPECT_EQ(card(b, 36), padded("BZERO   =   +0.0000000000E+00"));
    EXPECT_EQ(card(b, 40), padded("SATURATE=                65535"));
    EXPECT_TRUE(std::all_of(b.end() - 800, b.end(), [](uint8_t v) { return v == 0; }));
}

TEST_F(FilesTest, FitsHeaderCardsAreExact)
{
    FITS_Src = "obs'y";
    FITS_Time = "01:02:03";
    FITS_Pixwidth = 0.0232;
    FITS_Pixheight = 0.0224;
    FITS_Exptime = 12.5;
    FITS_Focallen = 80;
    FITS_Aperture = 0;
    FITS_Filter = "None";
    history_clear();
    history_append("Dark Frame Subtracted");
    const std::string obj67(67, 'o');
    const std::string his = std::string(68, 'a') + "b";
    ASSERT_EQ(SaveFITSFile("c:\\h.fit", image_int, obj67, "Me", "2026-01-15", std::string(80, 't'), "Halvoran CCD",
                           "", his, 0), 0);
    const auto b = bytes_of("c:\\h.fit");
    EXPECT_EQ(card(b, 1), padded("SIMPLE  =                    T /"));
    EXPECT_EQ(card(b, 2).substr(28, 2), "16");
    EXPECT_EQ(card(b, 3)[29], '2');
    EXPECT_EQ(card(b, 4).substr(27, 3), "376");
    EXPECT_EQ(card(b, 5).substr(27, 3), "290");
    EXPECT_EQ(card(b, 6), padded("OBJECT  = '" + obj67 + "'"));
    EXPECT_EQ(card(b, 6)[78], '\'');   // column 79
    EXPECT_EQ(card(b, 7), "TELESCOP= '" + std::string(68, 't') + "'");   // cut to 68, quote in column 80
    EXPECT_EQ(card(b, 9), padded("OBSERVER= 'Me'"));
    EXPECT_EQ(card(b, 10), padded("ORIGIN  = 'obs'y'"));   // quotes are not doubled
    EXPECT_EQ(card(b, 11), padded("DATE-OBS= '2026-01-15'"));
    EXPECT_EQ(card(b, 12), padded("TIME-OBS= '01:02:03'"));
    EXPECT_EQ(card(b, 13), padded("HISTORY = 'Dark Frame Subtracted'"));
    EXPECT_EQ(card(b, 14), padded("HISTORY = ''"));
    EXPECT_EQ(card(b, 28), "HISTORY = '" + std::string(68, 'a') + "'");
    EXPECT_EQ(card(b, 29), "HISTORY = 'b" + std::string(67, ' ') + "'");
    EXPECT_EQ(card(b, 31), "HISTORY = '" + std::string(68, ' ') + "'");
    EXPECT_EQ(card(b, 32), "COMMENT = '" + std::string(68, ' ') + "'");
    EXPECT_EQ(card(b, 37), padded("BSCALE  =   +1.0000000000E+00"));
    EXPECT_EQ(card(b, 38), padded("PIXWIDTH=    2.3200000000E-02"));
    EXPECT_EQ(card(b, 39), padded("PIXHEIGH=    2.2400000000E-02"));
    EXPECT_EQ(card(b, 41), padded("EXPTIME =    1.2500000000E+01"));
    EXPECT_EQ(card(b, 42), padded("FOCALLEN=    8.0000000000E+01"));
    EXPECT_EQ(card(b, 43), padded("APERTURE=    0.0000000000E+00"));
    EXPECT_EQ(card(b, 44), padded("FILTER  = 'None'"));
    EXPECT_EQ(card(b, 45), padded("END"));
    for (int k = 46; k <= 72; ++k)
        EXPECT_EQ(card(b, k), std::string(80, ' '));

    // Read back: texts end at their first quote; history comes back as 255 characters.
    LoadZRFile("c:\\h.fit");
    EXPECT_EQ(FITS_Obj, obj67);
    EXPECT_EQ(FITS_Src, "obs");
    EXPECT_EQ(FITS_His, his + std::string(255 - 69, ' '));
    EXPECT_EQ(FITS_Com, std::string(255, ' '));
    EXPECT_EQ(process_info[0], "Dark Frame Subtracted");
    EXPECT_EQ(FITS_Exptime, 12.5);
    EXPECT_DOUBLE_EQ(FITS_Pixwidth, 0.0232);
    EXPECT_EQ(FITS_Focallen, 80);
    EXPECT_EQ(FITS_Date, "2026-01-15");
    EXPECT_EQ(FITS_Time, "01:02:03");
}

TEST_F(FilesTest, NegativeAndLargeNumbersReadBackWhole)
{
    FITS_Exptime = -12.5;
    FITS_Focallen = 1.5e120;
    ASSERT_EQ(SaveFITSFile("c:\\n.fit", image_int, "", "", "", "", "", "", "", 0), 0);
    FITS_Exptime = FITS_Focallen = 0;
    LoadZRFile("c:\\n.fit");
    EXPECT_EQ(FITS_Exptime, -12.5);
    EXPECT_EQ(FITS_Focallen, 1.5e120);
}

TEST_F(FilesTest, EightBitFitsIsPaddedToBlocks)
{
    for (int geometry : {1, 0}) {
        set_geometry(geometry);
        image_int[0] = 0xABCD;
        FITS_SBIG = 0;
        ASSERT_EQ(SaveFITSFile("c:\\e.fit", image_int, "", "", "", "", "", "", "", 1), 0);
        const auto b = bytes_of("c:\\e.fit");
        EXPECT_EQ(b.size(), geometry ? 115200u : 443520u);
        EXPECT_EQ(card(b, 2), padded("BITPIX  =                    8 /"));
        EXPECT_EQ(card(b, 36), padded("BZERO   =   +0.0000000000E+00"));   // bytes carry no offset
        EXPECT_EQ(b[5760], 0xAB);
    }
}

TEST_F(FilesTest, ForeignOrDamagedFitsChangesNothing)
{
    set_geometry(1);
    ASSERT_EQ(SaveFITSFile("c:\\g.fit", image_int, "obj", "", "", "", "", "", "", 0), 0);
    const auto good = bytes_of("c:\\g.fit");
    struct Case { int card; int column; const char* text; const char* message; };
    const Case cases[] = {
        {2, 29, " 8", "Unable to load FITS file, File was not saved by this program"},
        {3, 30, "3", "Unable to load FITS file, File was not saved by this program"},
        {5, 28, "291", "Unable to load FITS file, File was not saved by this program"},
        {4, 28, "752", "Unable to load FITS file, File was not saved by this program"},   // disagrees with the length
    };
    set_geometry(0);
    fill_every_value();
    FITS_Obj = "kept";
    history_clear();
    history_append("kept line");
    std::vector<uint16_t> before(image_int, image_int + PLANE_SAMPLES);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto b = good;
        std::memcpy(b.data() + (c.card - 1) * 80 + c.column - 1, c.text, std::strlen(c.text));
        write_bytes("c:\\bad.fit", b);
        out_.str("");
        LoadZRFile("c:\\bad.fit");
        EXPECT_NE(transcript().find(std::string("message \"Skyvane\" \"") + c.message + "\""), std::string::npos)
            << transcript();
        EXPECT_EQ(binned, 0);
        EXPECT_EQ(FITS_Obj, "kept");
        EXPECT_EQ(process_info[0], "kept line");
        EXPECT_TRUE(std::equal(before.begin(), before.end(), image_int));
        // The partner reader refuses the header as well (in the binned geometry it expects).
        set_geometry(1);
        EXPECT_EQ(trial_load(trial.fred2, trial.fred3, "c:\\bad.fit"), 12);
        set_geometry(0);
        std::copy(before.begin(), before.end(), image_int);
    }
}

TEST_F(FilesTest, PartnerFitsWithOrWithoutOffset)
{
    set_geometry(1);
    image_int[0] = 5;
    image_int[1] = 40000;
    for (int sbig : {0, 1}) {
        FITS_SBIG = sbig;
        ASSERT_EQ(SaveFITSFile("c:\\p.fit", image_int, "", "", "", "", "", "", "", 0), 0);
        auto b = bytes_of("c:\\p.fit");
        // Read with the other card 36: the raw big-endian values get 32768 added, or not.
        const std::string other = sbig ? "BZERO   =   +3.2768000000E+04" : "BZERO   =   +0.0000000000E+00";
        std::copy(other.begin(), other.end(), b.begin() + 35 * 80);
        write_bytes("c:\\p2.fit", b);
        ASSERT_EQ(trial_load(trial.fred2, trial.fred3, "c:\\p2.fit"), 0);
        EXPECT_EQ(trial_int[0], static_cast<uint16_t>(5 + 32768));
        EXPECT_EQ(trial_int[1], static_cast<uint16_t>(40000 + 32768));
    }
}

TEST_F(FilesTest, FitsDetailsDialog)
{
    FITS_Diff = 12;   // out of range: shown as 0
    FITS_Focallen = 80;
    run_script(R"(command 20
show 112
scroll 111 lineup
show 112
type 101 "Orion"
type 113 "abc"
type 116 "2.5"
type 106 "line one\nline two"
press 117
press 1
)");
    EXPECT_NE(transcript().find("field 112 \"0\"\nfield 112 \"-1\""), std::string::npos) << transcript();
    EXPECT_EQ(FITS_Diff, -1);
    EXPECT_EQ(FITS_Obj, "Orion");
    EXPECT_EQ(FITS_Focallen, 80);   // not a number: the previous value stays
    EXPECT_EQ(FITS_Exptime, 2.5);
    EXPECT_EQ(FITS_Com, "line one line two");
    EXPECT_EQ(FITS_SBIG, 0);

    // The hour offset stops at -11 and +11; Abort reads nothing back but keeps the toggles.
    std::string script = "command 20\n";
    for (int k = 0; k < 15; ++k) script += "scroll 111 lineup\n";
    script += "show 112\n";
    for (int k = 0; k < 30; ++k) script += "scroll 111 linedown\n";
    script += "show 112\ntype 101 \"lost\"\npress 117\npress 2\n";
    out_.str("");
    run_script(script);
    EXPECT_NE(transcript().find("field 112 \"-11\"\nfield 112 \"11\""), std::string::npos) << transcript();
    EXPECT_EQ(FITS_Obj, "Orion");
    EXPECT_EQ(FITS_Diff, -1);
    EXPECT_EQ(FITS_SBIG, 1);
}

TEST_F(FilesTest, SaveAsFitsFillsTodaysDateAndKeepsATypedOne)
{
    // The virtual clock starts at 1700000000 (2023-11-14 in most zones): take the date it shows.
    const std::tm today = clock_->local_time();
    char expected[64];
    std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
    run_script("command 24335\nshow 103\npress 1\nchoose \"c:\\\\x\\\\A.FIT\"\n");
    EXPECT_NE(transcript().find(std::string("field 103 \"") + expected + "\""), std::string::npos) << transcript();
    EXPECT_EQ(card(bytes_of("c:\\x\\a.fit"), 11), padded(std::string("DATE-OBS= '") + expected + "'"));
    EXPECT_EQ(Filter_Index, 2);
    run_script("command 24335\ntype 103 \"1999-12-31\"\npress 1\nchoose \"c:\\\\x\\\\b\"\n");
    EXPECT_EQ(card(bytes_of("c:\\x\\b.fit"), 11), padded("DATE-OBS= '1999-12-31'"));
}

TEST_F(FilesTest, AutosaveNumbersWrapAndNeverOverwrite)
{
    EXPECT_EQ(auto_save(image_int), 0);
    EXPECT_TRUE(exists("c:\\AUTOSAVE\\IMG1.FIT"));
    EXPECT_EQ(auto_save_num, 1);
    EXPECT_EQ(bytes_of(INI_FILE)[0], 1);   // the settings keep the number
    auto_save_num = 65529;
    EXPECT_EQ(auto_save(image_int), 0);
    EXPECT_TRUE(exists("c:\\AUTOSAVE\\IMG65530.FIT"));
    const auto first = bytes_of("c:\\AUTOSAVE\\IMG1.FIT");
    EXPECT_EQ(auto_save(image_int), 0);   // 1 exists: moves on to 2
    EXPECT_EQ(auto_save_num, 2);
    EXPECT_TRUE(exists("c:\\AUTOSAVE\\IMG2.FIT"));
    EXPECT_EQ(bytes_of("c:\\AUTOSAVE\\IMG1.FIT"), first);

    // A failed write uses up its number, reports 49 through Quick Save, and saves no settings.
    files_.inject({"IMG3", true});
    run_script("command 24336\n");
    EXPECT_NE(transcript().find("\"Unable to create file, check disk space\""), std::string::npos);
    EXPECT_EQ(auto_save_num, 3);
    EXPECT_EQ(bytes_of(INI_FILE)[0], 2);
}

TEST_F(FilesTest, AutosaveGoesIntoTheSubFolder)
{
    auto_save_subdir = "n1";
    auto_save_dir = "c:\\AUTOSAVE\\n1";
    EXPECT_EQ(auto_save(image_int), 0);
    EXPECT_TRUE(exists("c:\\AUTOSAVE\\n1\\IMG1.FIT"));
}

TEST_F(FilesTest, AutosaveStampsTheMiddleOfTheExposureInUniversalTime)
{
    struct Case { int diff; std::time_t start, end; const char* date; const char* time; };
    // Calendar times are UT seconds; 1768512600 is 2026-01-15 21:30:00 UT.
    const Case cases[] = {
        {0, 1768512600, 1768512600 + 61, "2026-01-15", "21:30:30"},     // half a second truncated
        {5, 1768512600 + 3600 * 3, 1768512600 + 3600 * 3 + 20, "2026-01-16", "00:30:10"},
    };
    for (const auto& c : cases) {
        FITS_Diff = c.diff;
        start_exp = c.start;
        end_exp = c.end;
        ASSERT_EQ(auto_save(image_int), 0);
        EXPECT_EQ(FITS_Date, c.date);
        EXPECT_EQ(FITS_Time, c.time);
        EXPECT_EQ(start_exp, c.start);
        EXPECT_EQ(tz_rule, "TZ=GMT" + std::to_string(c.diff));
    }
    // The clock's local wall time plus FITS_Diff hours is UT.
    FITS_Diff = -3;
    std::tm local = clock_->local_time();
    EXPECT_EQ(calendar_now(), timegm(&local) - 3 * 3600);
}

TEST_F(FilesTest, AutosaveTextsAreEditedIntoTheSettingsFile)
{
    eightbit = 1;
    run_script("command 19\nshow 108\ntype 101 \"NGC 7000\"\ntype 104 \"8in SCT\"\npress 1\n");
    EXPECT_NE(transcript().find("field 108 \"0\""), std::string::npos);   // cleared before the dialog
    auto b = bytes_of(INI_FILE);
    EXPECT_EQ(text_at(b, 36, 20), "OBJECT  = 'NGC 7000'");
    EXPECT_EQ(text_at(b, 116, 19), "TELESCOP= '8in SCT'");

    // A settings file that cannot be written after "Continue" is reported.
    files_.inject({"Skyvane.INI", true});
    out_.str("");
    run_script("command 19\npress 1\n");
    EXPECT_NE(transcript().find("\"Unable to save INI file, please check disk space\""), std::string::npos) << transcript();
}

TEST_F(FilesTest, NumbersStayInTheCLocaleUnderADecimalCommaLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
    FITS_Exptime = 2.5;
    const int result = SaveFITSFile("c:\\l.fit", image_int, "", "", "", "", "", "", "", 0);
    FITS_Exptime = 0;
    LoadZRFile("c:\\l.fit");
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(result, 0);
    EXPECT_EQ(card(bytes_of("c:\\l.fit"), 41), padded("EXPTIME =    2.5000000000E+00"));
    EXPECT_EQ(FITS_Exptime, 2.5);
}
