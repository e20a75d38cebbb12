#include <cstring>

#include "app/core/caption.h"
#include "files/file_choice.h"
#include "files/fits_file.h"
#include "files/raw_file.h"
#include "files/settings_values.h"
#include "files_fixture.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/planes.h"

namespace {
std::vector<uint8_t> qv_file(int samples, uint16_t base)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<uint16_t>(base + i * 3);
        b.push_back(static_cast<uint8_t>(v & 0xff));
        b.push_back(static_cast<uint8_t>(v >> 8));
    }
    return b;
}
}

TEST_F(FilesTest, QvFilesSetTheGeometryFromTheirLength)
{
    binned = 1;
    QV_binned();
    write_bytes("c:\\d\\~full", qv_file(752 * 580, 7));
    FITS_Obj = "old";
    history_append("old");
    LoadZRFile("c:\\d\\~full");
    EXPECT_EQ(binned, 0);
    EXPECT_EQ(binned21, 1);
    EXPECT_EQ(width1, 752);
    EXPECT_EQ(image_int[0], 7);
    EXPECT_EQ(image_int[752 * 580 - 1], static_cast<uint16_t>(7 + (752 * 580 - 1) * 3));
    EXPECT_EQ(FITS_Obj, "");           // the details were cleared
    EXPECT_EQ(process_info[0], "");

    write_bytes("c:\\d\\~bin", qv_file(376 * 290, 11));
    LoadZRFile("c:\\d\\~bin");
    EXPECT_EQ(binned, 1);
    EXPECT_EQ(binned21, 0);
    EXPECT_EQ(height1, 290);
    EXPECT_EQ(image_int[1], 14);
}

TEST_F(FilesTest, UnknownLengthIsRefusedAndTheImageStays)
{
    auto b = qv_file(376 * 290, 0);
    b.push_back(0);   // 218081 bytes
    write_bytes("c:\\odd", b);
    binned = 0;
    QV_binned();
    image_int[0] = 1234;
    image_name = "before";
    LoadZRFile("c:\\odd");
    LoadZRFile("c:\\missing");
    EXPECT_EQ(transcript(), "message \"Skyvane\" \"You didn't choose an QV or a suitable FITS File\"\n"
                            "message \"Skyvane\" \"You didn't choose an QV or a suitable FITS File\"\n");
    EXPECT_EQ(binned, 0);
    EXPECT_EQ(image_int[0], 1234);
    EXPECT_EQ(image_name, "before");
}

TEST_F(FilesTest, SavedQvFileIsTheImageRowsAndLoadsBack)
{
    for (int geometry : {1, 0}) {
        binned = geometry;
        QV_binned();
        for (int i = 0; i < width1 * height1; ++i)
            image_int[i] = static_cast<uint16_t>(i * 13);
        SaveZRFile("c:\\q");
        const auto b = bytes_of("c:\\q");
        ASSERT_EQ(b.size(), geometry ? 218080u : 872320u);
        EXPECT_EQ(b[2], 13);   // low byte first
        EXPECT_EQ(b[3], 0);
        std::vector<uint16_t> before(image_int, image_int + width1 * height1);
        std::memset(image_int, 0, sizeof image_int);
        LoadZRFile("c:\\q");
        EXPECT_TRUE(std::equal(before.begin(), before.end(), image_int));
    }
}

TEST_F(FilesTest, FailedQvSaveKeepsTheOldFile)
{
    SaveZRFile("c:\\keep");
    const auto before = bytes_of("c:\\keep");
    image_int[0] = 999;
    files_.inject({"keep", false, 5000});
    SaveZRFile("c:\\keep");
    files_.inject({"keep", true});
    SaveZRFile("c:\\keep");
    EXPECT_EQ(transcript(), "message \"Skyvane\" \"Unable to create/overwrite QV File\"\n"
                            "message \"Skyvane\" \"Failed to Save QV File\"\n");
    EXPECT_EQ(bytes_of("c:\\keep"), before);
}

TEST_F(FilesTest, PartnerFileMustHaveTheCurrentGeometry)
{
    write_bytes("c:\\full", qv_file(752 * 580, 1));
    write_bytes("c:\\bin", qv_file(376 * 290, 1));
    binned = 1;
    QV_binned();
    trial_int[0] = 77;
    EXPECT_EQ(LoadZRTempFile("c:\\full"), 1);
    EXPECT_EQ(trial_int[0], 77);
    EXPECT_EQ(LoadZRTempFile("c:\\bin"), 0);
    EXPECT_EQ(trial_int[1], 4);
    binned = 0;
    QV_binned();
    EXPECT_EQ(LoadZRTempFile("c:\\bin"), 1);
    EXPECT_EQ(LoadZRTempFile("c:\\full"), 0);
    EXPECT_EQ(transcript(), "message \"Skyvane\" \"Sorry, you didn't choose a valid QV File\"\n"
                            "message \"Skyvane\" \"Sorry, you didn't choose a valid QV File\"\n");
}

TEST_F(FilesTest, FilterIndexRule)
{
    struct Case { const char* extension; const char* name; int index; };
    const Case cases[] = {{"", "~m42", 1}, {"", "m42.fit", 3}, {"FIT", "~m42", 2}, {"TIF", "~x.tif", 1},
                          {"TIF", "x.tif", 3}, {"", "a~b", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(filter_index_after(c.extension, c.name), c.index) << c.name;
}

TEST_F(FilesTest, OpenSaveAndDeleteThroughTheDialogs)
{
    run_script(R"(command 24333
choose "c:\\Data\\~M42Raw"
command 24332
choose "c:\\data\\~m42raw"
)");
    EXPECT_TRUE(exists("c:\\data\\~m42raw"));
    EXPECT_FALSE(files_.exists(root() + "/c/Data/~M42Raw"));
    EXPECT_EQ(lastfile, "~m42raw");
    EXPECT_EQ(Filter_Index, 1);
    EXPECT_EQ(FileName, "~m42raw");

    // The next open starts on the remembered filter and name; a name without tilde selects "All Files".
    out_.str("");
    run_script(R"(command 24333
choose "c:\\data\\Plain.RAW"
command 24333
choose "c:\\data\\plain.raw"
reply no
choose cancel
command 13
choose "c:\\data\\plain.raw"
press 2
command 13
choose "c:\\data\\plain.raw"
press 1
)");
    EXPECT_EQ(transcript(),
              "filedialog save \"Halvoran (~*.)|~*.*|FITs files|*.FIT|All Files(*.*)|*.*|\" -> \"c:\\\\data\\\\Plain.RAW\"\n"
              "caption \"Skyvane - plain.raw\"\n"
              "filedialog save \"Halvoran (~*.)|~*.*|FITs files|*.FIT|All Files(*.*)|*.*|\" -> \"c:\\\\data\\\\plain.raw\"\n"
              "ask \"Save As\" \"plain.raw already exists.\\nDo you want to replace it?\" -> no\n"
              "filedialog save \"Halvoran (~*.)|~*.*|FITs files|*.FIT|All Files(*.*)|*.*|\" -> cancel\n"
              "filedialog open \"Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files(*.*)|*.*|\" -> \"c:\\\\data\\\\plain.raw\"\n"
              "open 9 \"DELETE FILE DIALOG\"\n"
              "close 9 2\n"
              "filedialog open \"Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files(*.*)|*.*|\" -> \"c:\\\\data\\\\plain.raw\"\n"
              "open 9 \"DELETE FILE DIALOG\"\n"
              "close 9 1\n");
    EXPECT_FALSE(exists("c:\\data\\plain.raw"));
    EXPECT_EQ(file_name, native("c:\\data\\plain.raw"));
    EXPECT_EQ(Filter_Index, 3);
    EXPECT_TRUE(exists("c:\\data\\~m42raw"));
}

TEST_F(FilesTest, OpenDuringMergeMakesTheImageSoFarThePartner)
{
    SaveZRFile("c:\\~a");
    int calls = 0;
    merge_image_opened = [&] { ++calls; };
    merging = 1;
    image_int[0] = 4321;
    run_script("command 24332\nchoose \"c:\\\\~a\"\n");
    EXPECT_EQ(trial_int[0], 4321);
    EXPECT_EQ(calls, 1);
    EXPECT_NE(image_int[0], 4321);
    merging = 0;
}
