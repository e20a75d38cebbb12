#include <cstring>

#include "app/application.h"
#include "app/core/commands.h"
#include "files/settings_file.h"
#include "files/settings_values.h"
#include "files_fixture.h"
#include "store/flags.h"

namespace {
// The record of a first start, built field by field from the layout.
std::vector<uint8_t> first_start_record()
{
    std::vector<uint8_t> b;
    auto i16 = [&](int v) { b.push_back(static_cast<uint8_t>(v & 0xff)); b.push_back(static_cast<uint8_t>((v >> 8) & 0xff)); };
    auto text = [&](const std::string& t) { b.insert(b.end(), t.begin(), t.end()); };
    auto card = [&](std::string t) { t.resize(80, ' '); text(t); };
    i16(0); i16(0); text("n"); i16(0); i16(8); i16(1); i16(1); i16(1); text("l"); text("1");
    i16(2); i16(2); i16(0); i16(0); text("0"); text("n"); text("1"); i16(0); i16(0); text("nsew");
    card("OBJECT  = ''");
    card("TELESCOP= ''");
    card("INSTRUME= 'Halvoran CCD'");
    card("OBSERVER= ''");
    card("ORIGIN  = ''");
    for (int k = 0; k < 4; ++k) card("HISTORY = '" + std::string(68, ' ') + "'");
    for (int k = 0; k < 4; ++k) card("COMMENT = '" + std::string(68, ' ') + "'");
    card("FILTER  = 'None'");
    for (int k = 0; k < 16; ++k) b.push_back(0);   // aperture and focal length 0.0
    text("ynynnn");
    b.push_back(0);
    b.resize(1258, ' ');
    return b;
}
}

TEST_F(FilesTest, FirstStartCreatesTheFolderAndWritesTheDefaultRecord)
{
    // start_program ran in SetUp on an empty root.
    const auto b = bytes_of(INI_FILE);
    ASSERT_EQ(b.size(), 1258u);
    EXPECT_EQ(b, first_start_record());
    EXPECT_EQ(text_at(b, 32, 4), "nsew");
    EXPECT_EQ(b[26], 'n');
    EXPECT_EQ(text_at(b, 196, 80), "INSTRUME= 'Halvoran CCD'" + std::string(56, ' '));
}

TEST_F(FilesTest, SettingsRoundTripThroughTheFile)
{
    auto_save_num = 65530; FITS_Diff = -11; star_mask = 13; slewcom = '2'; slewdefault = 2;
    default_back = 'g'; focus_delay = 0; slewx = 7; slewy = 300; backlashx = 20; backlashy = 3;
    ignore_small = 1; telescope = 'b'; disable_interrupts = 0; hystx = 5; hysty = 19;
    n = 's'; s = 'n'; e = 'w'; w = 'e';
    FITS_Obj = "M42 'Orion'"; FITS_Tel = "LX200"; FITS_Ins = "QV9"; FITS_Obs = "me"; FITS_Src = "garden";
    FITS_His = std::string(100, 'h'); FITS_Com = "c"; FITS_Filter = "Red";
    FITS_Aperture = 12.5; FITS_Focallen = -80.25; FITS_SBIG = 0; apply_correction = 0; Losmandy_pause = 1;
    gotcontrolbox = 1; Debug_Mode = 1; auto_save_subdir = "night1";
    ASSERT_EQ(SaveINIFile(), 0);
    EXPECT_EQ(tz_rule, "TZ=GMT-11");
    reset_settings_values();
    ASSERT_EQ(LoadINIFile(), 0);
    EXPECT_EQ(auto_save_num, 65530); EXPECT_EQ(FITS_Diff, -11); EXPECT_EQ(star_mask, 13);
    EXPECT_EQ(slewcom, '2'); EXPECT_EQ(slewdefault, 2); EXPECT_EQ(default_back, 'g');
    EXPECT_EQ(back_r, 90); EXPECT_EQ(focus_delay, 0); EXPECT_EQ(slewx, 7); EXPECT_EQ(slewy, 300);
    EXPECT_EQ(backlashx, 20); EXPECT_EQ(backlashy, 3); EXPECT_EQ(ignore_small, 1); EXPECT_EQ(telescope, 'b');
    EXPECT_EQ(disable_interrupts, 0); EXPECT_EQ(hystx, 5); EXPECT_EQ(hysty, 19);
    EXPECT_EQ(std::string({n, s, e, w}), "snwe");
    EXPECT_EQ(FITS_Obj, "M42 ");   // a text ends at its first apostrophe
    EXPECT_EQ(FITS_Tel, "LX200"); EXPECT_EQ(FITS_Ins, "QV9"); EXPECT_EQ(FITS_Src, "garden");
    EXPECT_EQ(FITS_His, std::string(100, 'h') + std::string(155, ' '));
    EXPECT_EQ(FITS_Com, "c" + std::string(254, ' '));
    EXPECT_EQ(FITS_Filter, "Red"); EXPECT_EQ(FITS_Aperture, 12.5); EXPECT_EQ(FITS_Focallen, -80.25);
    EXPECT_EQ(FITS_SBIG, 0); EXPECT_EQ(apply_correction, 0); EXPECT_EQ(Losmandy_pause, 1);
    EXPECT_EQ(gotcontrolbox, 1); EXPECT_EQ(Debug_Mode, 1);
    EXPECT_EQ(auto_save_subdir, "night1"); EXPECT_EQ(auto_save_dir, "c:\\AUTOSAVE\\night1");
}

TEST_F(FilesTest, LongHistoryIsCutIntoCardsOf68)
{
    FITS_His = std::string(68, 'a') + "bc";
    ASSERT_EQ(SaveINIFile(), 0);
    const auto b = bytes_of(INI_FILE);
    EXPECT_EQ(text_at(b, 436, 80), "HISTORY = '" + std::string(68, 'a') + "'");
    EXPECT_EQ(text_at(b, 516, 80), "HISTORY = 'bc" + std::string(66, ' ') + "'");
    ASSERT_EQ(LoadINIFile(), 0);
    EXPECT_EQ(FITS_His, std::string(68, 'a') + "bc" + std::string(185, ' '));
}

// A bad field keeps the value in effect; the fields after it are still read; the file is rewritten.
TEST_F(FilesTest, BadFieldsKeepTheirPreviousValueAndTheFileIsRewritten)
{
    struct Case { size_t offset; uint8_t value; const char* what; };
    const Case cases[] = {
        {26, 'x', "telescope"}, {21, 21, "backlashx"}, {25, '7', "ignore_small"},
        {27, 'y', "disable_interrupts"}, {28, 25, "hystx"}, {34, 'q', "e letter"}, {4, '?', "fast_par"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset_settings_values();
        telescope = 'l'; backlashx = 4; ignore_small = 1; disable_interrupts = 1; hystx = 2; e = 'w'; w = 'e';
        FITS_Obj = "old";
        ASSERT_EQ(SaveINIFile(), 0);
        auto b = bytes_of(INI_FILE);
        b[c.offset] = c.value;
        const std::string later = "OBJECT  = 'new'";
        std::copy(later.begin(), later.end(), b.begin() + 36);
        write_bytes(INI_FILE, b);
        telescope = 'b'; backlashx = 9; ignore_small = 0; disable_interrupts = 0; hystx = 3; e = 'e'; w = 'w';
        EXPECT_EQ(LoadINIFile(), 0);
        EXPECT_EQ(FITS_Obj, "new");   // read past the bad field
        const auto rewritten = bytes_of(INI_FILE);
        EXPECT_NE(rewritten[c.offset], c.value);
        if (std::string(c.what) == "telescope") {
            EXPECT_EQ(telescope, 'b');
            EXPECT_EQ(rewritten[26], 'b');
        }
        if (std::string(c.what) == "backlashx") {
            EXPECT_EQ(backlashx, 9);
        }
        if (std::string(c.what) == "hystx") {
            EXPECT_EQ(hystx, 3);
        }
        if (std::string(c.what) == "e letter") {
            EXPECT_EQ(std::string({e, w}), "ew");
        }
    }
    EXPECT_NE(transcript().find("message \"Skyvane\" \"Failed to read fast_par value\""), std::string::npos);
}

TEST_F(FilesTest, OutOfSetValuesReadAsTheirSafeDefaults)
{
    ASSERT_EQ(SaveINIFile(), 0);
    auto b = bytes_of(INI_FILE);
    b[7] = 5;     // star_mask
    b[13] = 3;    // slewdefault
    b[17] = 0;    // slewx
    b[11] = 7;    // slewcom: anything but 1 is COM2
    std::fill(b.begin() + 1178, b.end(), 'd');   // sub-folder without a zero byte
    write_bytes(INI_FILE, b);
    ASSERT_EQ(LoadINIFile(), 0);
    EXPECT_EQ(star_mask, 15);
    EXPECT_EQ(slewdefault, 4);
    EXPECT_EQ(slewx, 1);
    EXPECT_EQ(slewcom, '2');
    EXPECT_EQ(auto_save_subdir, std::string(79, 'd'));
    EXPECT_EQ(auto_save_dir, "c:\\AUTOSAVE\\" + std::string(79, 'd'));
}

TEST_F(FilesTest, ShortFileTakesTheFieldsBeforeTheCut)
{
    FITS_Diff = 5;
    telescope = 'l';
    ASSERT_EQ(SaveINIFile(), 0);
    auto b = bytes_of(INI_FILE);
    b.resize(28);   // ends after disable_interrupts
    write_bytes(INI_FILE, b);
    FITS_Diff = 0;
    telescope = 'n';
    hystx = 7;
    EXPECT_EQ(LoadINIFile(), 2);
    EXPECT_EQ(FITS_Diff, 5);
    EXPECT_EQ(telescope, 'l');
    EXPECT_EQ(hystx, 7);
}

TEST_F(FilesTest, FailedSaveKeepsTheOldFile)
{
    const auto before = bytes_of(INI_FILE);
    files_.inject({"Skyvane.INI", false, 100, false});
    FITS_Obj = "changed";
    EXPECT_EQ(SaveINIFile(), 3);
    EXPECT_EQ(bytes_of(INI_FILE), before);
    files_.inject({"Skyvane.INI", true});
    EXPECT_EQ(SaveINIFile(), 3);
    EXPECT_EQ(bytes_of(INI_FILE), before);
}

TEST_F(FilesTest, StartUpPlacesTheTelescopeButtonFromTheSettings)
{
    EXPECT_FALSE(frame_->telescope_button());
    EXPECT_FALSE(command_state(22).enabled);
    telescope = 'l';
    ASSERT_EQ(SaveINIFile(), 0);
    start_program();
    EXPECT_EQ(telescope, 'l');
    EXPECT_TRUE(frame_->telescope_button());
    EXPECT_TRUE(command_state(22).enabled);
    EXPECT_TRUE(command_state(24).enabled);
}

TEST_F(FilesTest, DefaultsDialogClampsNumbersAndUpdatesTheButton)
{
    run_script(R"(command 121
type 17136 "25"
type 17116 "0"
type 17114 "-3"
type 17137 "abc"
press 17118
show 17136
show 17116
show 17114
show 17137
press 17127
press 17102
type 17147 "night2"
press 17148
press 1
)");
    EXPECT_EQ(hystx, 20);
    EXPECT_EQ(slewx, 1);
    EXPECT_EQ(backlashx, 0);
    EXPECT_EQ(hysty, 0);
    EXPECT_EQ(telescope, 'l');
    EXPECT_EQ(std::string({n, s}), "sn");
    EXPECT_EQ(auto_save_dir, "c:\\AUTOSAVE\\night2");
    EXPECT_TRUE(frame_->telescope_button());
    const std::string t = transcript();
    EXPECT_NE(t.find("field 17136 \"20\"\nfield 17116 \"1\"\nfield 17114 \"0\"\nfield 17137 \"0\""), std::string::npos) << t;
    auto b = bytes_of(INI_FILE);
    EXPECT_EQ(b[26], 'l');
    EXPECT_EQ(b[28], 20);

    // "None" saved removes the button; Cancel keeps the change in memory but not in the file.
    run_script("command 121\npress 17129\npress 1\n");
    EXPECT_FALSE(frame_->telescope_button());
    run_script("command 121\npress 17128\npress 2\n");
    EXPECT_EQ(telescope, 'b');
    EXPECT_EQ(bytes_of(INI_FILE)[26], 'n');
}

TEST_F(FilesTest, NumbersTypedAndSavedDirectlyAreNotTaken)
{
    run_script("command 121\ntype 17116 \"9\"\npress 1\n");
    EXPECT_EQ(slewx, 2);
}

TEST_F(FilesTest, DefaultsDialogReportsAnUnreadableSettingsFile)
{
    auto b = bytes_of(INI_FILE);
    b.resize(10);
    write_bytes(INI_FILE, b);
    run_script("command 121\npress 2\n");
    EXPECT_NE(transcript().find("message \"Skyvane\" \"Unable to load INI file, please delete and try again\""),
              std::string::npos);
    EXPECT_EQ(bytes_of(INI_FILE).size(), 1258u);   // rewritten from the values
}
