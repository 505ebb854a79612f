#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, PlainStartRuns) {
    EXPECT_EQ(CommandLine({"zaredezid"}).action(), CommandLine::Action::Run);
}

TEST(CommandLineTest, HelpAndVersionAreRecognisedInEitherSpelling) {
    EXPECT_EQ(CommandLine({"zaredezid", "-h"}).action(), CommandLine::Action::ShowHelp);
    EXPECT_EQ(CommandLine({"zaredezid", "--help"}).action(), CommandLine::Action::ShowHelp);
    EXPECT_EQ(CommandLine({"zaredezid", "-v"}).action(), CommandLine::Action::ShowVersion);
    EXPECT_EQ(CommandLine({"zaredezid", "--version"}).action(), CommandLine::Action::ShowVersion);
    EXPECT_TRUE(CommandLine::asksOnlyForInformation({"zaredezid", "--bogus", "--help"}));
    EXPECT_FALSE(CommandLine::asksOnlyForInformation({"zaredezid"}));
}

TEST(CommandLineTest, UnknownArgumentFailsNamingIt) {
    const CommandLine commandLine({"zaredezid", "--fly"});
    EXPECT_EQ(commandLine.action(), CommandLine::Action::Fail);
    EXPECT_TRUE(commandLine.errorText().contains("--fly"));
}

TEST(CommandLineTest, HelpNamesTheProgramAndEveryOption) {
    const QString help = CommandLine::helpText("zaredezid");
    EXPECT_TRUE(help.startsWith("Usage: zaredezid"));
    EXPECT_TRUE(help.contains("--help"));
    EXPECT_TRUE(help.contains("--version"));
}

} // namespace
