#include <gtest/gtest.h>

#include "app/core/commands.h"
#include "app/core/stop_poll.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "store/flags.h"
#include "support/fixture.h"

using StopPollTest = ProgramTest;

TEST_F(StopPollTest, APressDuringAnExposureEndsItAndTheSequence)
{
    run_script("at 0 key\n");
    no_images = 5;
    cont_work = 1;
    guiding = 1;
    continuous = 1;
    tracking = 1;
    selfguiding = 1;
    switch_frame = 1;
    focus_stretch_only = 1;
    focus_x = 10;
    ticks = 100;
    endticks = 5000;
    int closed = 0;
    close_guiding_info_on_stop = [&] { ++closed; };
    clear_messages(1);
    EXPECT_EQ(no_images, 1);
    EXPECT_EQ(end_loop, 1);
    EXPECT_EQ(cont_work, 0);
    EXPECT_EQ(continuous, 0);
    EXPECT_EQ(guiding, 0);
    EXPECT_EQ(tracking, 0);
    EXPECT_EQ(endticks, ticks);
    EXPECT_EQ(focus_x, 312);
    EXPECT_EQ(focus_y, 65);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(selfguiding, 0);
    EXPECT_EQ(switch_frame, 0);
    EXPECT_EQ(focus_stretch_only, 0);
    EXPECT_EQ(transcript(), "beep\n");
    close_guiding_info_on_stop = nullptr;
}

TEST_F(StopPollTest, BetweenFramesAPressOnlyEndsTheSequence)
{
    run_script("at 0 lclick 5 5\n");
    no_images = 5;
    end_loop = 0;
    continuous = 1;
    clear_messages(0);
    EXPECT_EQ(no_images, 0);
    EXPECT_EQ(end_loop, 0);
    EXPECT_EQ(continuous, 1);    // only a guiding stop clears the continuous option
}

TEST_F(StopPollTest, OnlyDuePressesCountAndMovesAreNoPress)
{
    run_script("at 0 move 5 5\nat 500 rclick 1 1\n");
    no_images = 3;
    clear_messages(1);
    EXPECT_EQ(no_images, 3);
    while (services().clock->ticks() < 499) {}
    clear_messages(1);
    EXPECT_EQ(no_images, 3);
    services().clock->spend(2);
    clear_messages(1);
    EXPECT_EQ(no_images, 1);
}

TEST_F(StopPollTest, ExclusiveCommandsAreRefusedDuringALongOperation)
{
    int ran = 0;
    register_command(7777, [&] { ++ran; });
    register_command(7778, [&] { ++ran; }, CommandKind::Free);
    {
        LongOperation busy;
        dispatch_command(7777);
        EXPECT_FALSE(command_state(7777).enabled);
        dispatch_command(7778);
        send_command(7777);     // internal commands of the running operation are not refused
    }
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(transcript(), "beep\n");
    dispatch_command(7777);
    EXPECT_EQ(ran, 3);
}
