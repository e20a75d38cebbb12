#include <gtest/gtest.h>

#include "app/core/commands.h"
#include "store/flags.h"
#include "store/geometry.h"
#include "store/history.h"
#include "store/plane_copies.h"
#include "store/planes.h"
#include "support/fixture.h"

using UndoTest = ProgramTest;

TEST_F(UndoTest, UndoRestoresTheCopyAndEmptiesTheLastHistoryLine)
{
    undo_save_option();
    image_int[500] = 1;
    history_append("Normal Stretch");
    history_append("Median");
    dispatch_command(9);
    EXPECT_EQ(image_int[500], undo_int[500]);
    EXPECT_EQ(process_info[0], "Normal Stretch");
    EXPECT_TRUE(process_info[1].empty());
    image_int[500] = 2;
    dispatch_command(9);           // a repeat restores the same copy and empties one more line
    EXPECT_EQ(image_int[500], undo_int[500]);
    EXPECT_TRUE(process_info[0].empty());
    dispatch_command(9);           // empty history: nothing changes
    EXPECT_TRUE(process_info[0].empty());
}

TEST_F(UndoTest, AFullHistoryIsLeftAlone)
{
    for (int k = 0; k < 15; ++k)
        process_info[k] = "line";
    dispatch_command(9);
    for (int k = 0; k < 15; ++k)
        EXPECT_EQ(process_info[k], "line");
}

TEST_F(UndoTest, UndoRestoresTheGeometryTheCopyWasTakenIn)
{
    undo_save_option();                // binned ramp
    binned = 0;
    binned21 = 1;
    QV_binned();
    for (int i = 0; i < intlength; ++i)
        image_int[i] = 4;
    dispatch_command(9);
    EXPECT_EQ(binned, 1);
    EXPECT_EQ(width1, 376);
    EXPECT_EQ(image_int[289 * 376], 65025);
}
