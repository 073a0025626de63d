#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/multiplexer/screen_window.h"
#include "platform/multiplexer/window_program_support.h"

namespace vt::multiplexer {
namespace {

using Lines = std::vector<std::string>;

TEST(ScreenLines, WrappedRowsAreJoinedAndTheBlankRowsBelowDropped)
{
    // A 10-column window: the first line filled two rows and a bit.
    const std::string copy = "[Server] A\n"
                             "nswer that\n"
                             " wraps\n"
                             "> \n"
                             "\n"
                             "          \n";
    EXPECT_EQ(screenLines(copy, 10), (Lines{"[Server] Answer that wraps", "> "}));
    EXPECT_EQ(screenLines("Gr\xfc\xdf"
                          "e\nnext\n",
                          5),
              (Lines{"Gr\xfc\xdf"
                     "enext"}))
        << "a byte per cell";
    EXPECT_EQ(screenLines("ab\ncd\n", 0), (Lines{"ab", "cd"})) << "width unknown: rows as they are";
}

// Measured with screen 4.09 on a UTF-8 window: "say x€中§cy" was copied out
// as "say x\xac-\xff\xa7cy".
TEST(HardcopyText, BothSidesInTheAlphabetOfTheCopy)
{
    const std::string copied = "[Server] x\xac-\xff\xa7"
                               "cy";
    const std::string typed = "[Server] x\xe2\x82\xac\xe4\xb8\xad\xc2\xa7"
                              "cy";
    EXPECT_EQ(hardcopyText(copied), asHardcopyText(typed));
    EXPECT_EQ(hardcopyText(copied), "[Server] x\xc2\xac-\xc2\xa7"
                                    "cy")
        << "as UTF-8, so colour codes still strip";
    EXPECT_NE(asHardcopyText("[Server] x\xe2\x82\xad"), hardcopyText(copied));
}

TEST(NewScreenLines, WhatCameAfterTheLinesSeenBefore)
{
    const Lines before{"started", "> "};
    EXPECT_EQ(newScreenLines(before, {"started", "> say hi", "[Server] hi", "> "}),
              (Lines{"> say hi", "[Server] hi", "> "}));
    EXPECT_EQ(newScreenLines({}, {"a"}), (Lines{"a"}));
    EXPECT_TRUE(newScreenLines(before, before).empty());
}

TEST(NewScreenLines, OldLinesScrolledOutAtTheTop)
{
    EXPECT_EQ(newScreenLines({"1", "2", "3", "4"}, {"3", "4", "5"}), (Lines{"5"}));
    EXPECT_EQ(newScreenLines({"1", "2", "3", "> "}, {"3", "> stop", "Stopping"}), (Lines{"> stop", "Stopping"}));
}

// An answer to an earlier say of the same text, left as the window's last
// line, must not answer this one.
TEST(NewScreenLines, AnUnchangedLastLineIsNotNew)
{
    const Lines before{"> say hi", "[Server] hi"};
    EXPECT_TRUE(newScreenLines(before, before).empty());
    EXPECT_EQ(newScreenLines(before, {"> say hi", "[Server] hi", "[Server] hi"}), (Lines{"[Server] hi"}));
    EXPECT_EQ(newScreenLines({"x", "[Server] h"}, {"x", "[Server] hi"}), (Lines{"[Server] hi"}));
}

TEST(ScreenWidth, FromTheInfoQuery)
{
    EXPECT_EQ(screenWidth("(1,5)/(80,24)+100 +flow UTF-8 0(bash)"), 80u);
    EXPECT_EQ(screenWidth("(13,29)/(120,30)+1024 -flow UTF-8 0(demo-server)"), 120u);
    EXPECT_FALSE(screenWidth("No screen session found."));
    EXPECT_FALSE(screenWidth("(1,5)/(,24)"));
}

// This process stands in for screen: its children with WINDOW=7 and
// WINDOW=8 in their environments, for the programs of its windows 7 and 8.
TEST(ScreenWindowProcess, TheChildOfScreenThatRunsInTheWindow)
{
    testing::WindowProgram seven("7");
    const testing::WindowProgram eight("8");
    ASSERT_GT(seven.pid(), 0);
    ASSERT_GT(eight.pid(), 0);
    EXPECT_EQ(screenWindowProcess(::getpid(), "7"), seven.pid());
    EXPECT_EQ(screenWindowProcess(::getpid(), "8"), eight.pid());
    EXPECT_EQ(screenWindowProcess(::getpid(), "1"), 0) << "no window 1";
    EXPECT_EQ(screenWindowProcess(::getppid(), "7"), 0) << "another process's window 7";
    seven.end();
    EXPECT_EQ(screenWindowProcess(::getpid(), "7"), 0) << "its program has gone";
}

} // namespace
} // namespace vt::multiplexer
