#include <gtest/gtest.h>

#include "ui/main_window/title_text.h"

TEST(TitleText, ExamplesOfEachDocumentAndConnectionState)
{
    EXPECT_EQ(composeTitle("", false, 0), "Corvanta Key Press Emulator - Not Connected");
    EXPECT_EQ(composeTitle("", true, 0), "Corvanta Key Press Emulator - Not Connected");
    EXPECT_EQ(composeTitle("", false, 1), "Corvanta Key Press Emulator - Connected");
    EXPECT_EQ(composeTitle("", true, 1), "Corvanta Key Press Emulator - Connected");
    EXPECT_EQ(composeTitle("C:\\keys\\racing.qvxkeys", true, 1),
              "Corvanta Key Press Emulator [*racing.qvxkeys] - Connected");
    EXPECT_EQ(composeTitle("C:\\keys\\racing.qvxkeys", false, 0),
              "Corvanta Key Press Emulator [racing.qvxkeys] - Not Connected");
}

TEST(TitleText, BothSeparatorsCountForTheFileName)
{
    EXPECT_EQ(fileNameOf("C:\\keys\\racing.qvxkeys"), "racing.qvxkeys");
    EXPECT_EQ(fileNameOf("C:/keys/racing.qvxkeys"), "racing.qvxkeys");
    EXPECT_EQ(fileNameOf("C:/keys\\racing.qvxkeys"), "racing.qvxkeys");
    EXPECT_EQ(fileNameOf("C:\\keys/racing.qvxkeys"), "racing.qvxkeys");
    EXPECT_EQ(fileNameOf("racing.qvxkeys"), "racing.qvxkeys");
    EXPECT_EQ(fileNameOf("C:\\keys\\"), "");
    EXPECT_EQ(fileNameOf("C:/keys/"), "");
}

TEST(TitleText, PathEndingInASeparatorShowsEmptyBrackets)
{
    EXPECT_EQ(composeTitle("C:\\keys\\", false, 0), "Corvanta Key Press Emulator [] - Not Connected");
    EXPECT_EQ(composeTitle("C:/keys/", true, 1), "Corvanta Key Press Emulator [*] - Connected");
}

TEST(BuildDateText, SingleDigitDayLosesItsPaddingSpace)
{
    EXPECT_EQ(buildDateText("Oct  8 2020"), "October 8, 2020");
    EXPECT_EQ(buildDateText("Jan  1 2000"), "January 1, 2000");
}

TEST(BuildDateText, TwoDigitDaysStayWhole)
{
    EXPECT_EQ(buildDateText("Sep 30 2021"), "September 30, 2021");
    EXPECT_EQ(buildDateText("Dec 25 2019"), "December 25, 2019");
    EXPECT_EQ(buildDateText("Nov 10 2022"), "November 10, 2022");
}

TEST(BuildDateText, EveryMonthGetsItsFullNameAndMayPassesUnchanged)
{
    const char* const months[][2] = {
        {"Jan", "January"},   {"Feb", "February"}, {"Mar", "March"},    {"Apr", "April"},
        {"May", "May"},       {"Jun", "June"},     {"Jul", "July"},     {"Aug", "August"},
        {"Sep", "September"}, {"Oct", "October"},  {"Nov", "November"}, {"Dec", "December"},
    };
    for (const auto& month : months) {
        EXPECT_EQ(buildDateText(std::string(month[0]) + " 15 2024"), std::string(month[1]) + " 15, 2024");
    }
    EXPECT_EQ(buildDateText("May  1 2021"), "May 1, 2021");
}

TEST(BuildDateText, ThisBuildsDateHasTheLongForm)
{
    const std::string text = buildDateText();
    const auto comma = text.find(", ");
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(text.size() - comma, 6u);
    EXPECT_EQ(text.find(' '), text.rfind(' ', comma - 1));
}

TEST(AboutText, FourLinesWithVersionAndDate)
{
    EXPECT_EQ(aboutText(buildDateText("Oct  8 2020")),
              "Corvanta Key Press Emulator\nVersion 1.0.3\nOctober 8, 2020\nCorvanta Dynamics, Inc.");
}
