#include <gtest/gtest.h>

#include "app/core/messages.h"
#include "support/fixture.h"

using CatalogueTest = ProgramTest;

TEST_F(CatalogueTest, TextsByNumber)
{
    EXPECT_EQ(message_text(2).back(), ' ');
    EXPECT_EQ(message_text(1), "Warning!\nNo INI file found, please set defaults...");
    EXPECT_EQ(message_text(33).substr(0, 24), "Sorry. Guide star lost.\n");
    EXPECT_EQ(message_text(51), "Guiding Terminated");
    EXPECT_EQ(message_text(54), "Communication with telescope failed");
    EXPECT_EQ(message_text(15), message_text(14));
    EXPECT_EQ(message_text(49), "Unable to create file, check disk space");
    for (int n : {0, 55, 57, -3, 1000})
        EXPECT_EQ(message_text(n), "") << n;
}

TEST_F(CatalogueTest, CallersTextIsCutTo498Characters)
{
    std::string long_text(600, 'a');
    long_text[497] = 'z';
    EXPECT_EQ(message_text(50, long_text), std::string(497, 'a') + "z");
    EXPECT_EQ(message_text(50, "short"), "short");
    EXPECT_EQ(message_text(3, "ignored"), "Failed to Open Darkframe QV File");
}

TEST_F(CatalogueTest, BoxesAreCaptionedSkyvane)
{
    messages(0);
    messages(57);
    messages(2);
    EXPECT_EQ(transcript(),
              "message \"Skyvane\" \"\"\n"
              "message \"Skyvane\" \"\"\n"
              "message \"Skyvane\" \"QV Interface not found.\\n\\nPort set to default.\\n\\nIf you have a QV Camera make sure all the cables are plugged in and it is switched on. \"\n");
}
