#include "app/CommandLine.h"

#include <QTemporaryFile>
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
    EXPECT_TRUE(help.contains("--demo"));
    EXPECT_TRUE(help.contains("--video FILE"));
}

TEST(CommandLineTest, DemoAndVideoSourcesAreCollected) {
    QTemporaryFile video;
    ASSERT_TRUE(video.open());
    const CommandLine commandLine(
        {"zaredezid", "--video", video.fileName(), "--demo", "--video", video.fileName()});
    EXPECT_EQ(commandLine.action(), CommandLine::Action::Run);
    EXPECT_TRUE(commandLine.wantsDemoCamera());
    EXPECT_EQ(commandLine.videoFiles(), QStringList({video.fileName(), video.fileName()}));
}

TEST(CommandLineTest, VideoWithoutAReadableFileFails) {
    const CommandLine missingPath({"zaredezid", "--video"});
    EXPECT_EQ(missingPath.action(), CommandLine::Action::Fail);
    EXPECT_TRUE(missingPath.errorText().contains("--video"));

    const CommandLine missingFile({"zaredezid", "--video", "/no/such/recording.mp4"});
    EXPECT_EQ(missingFile.action(), CommandLine::Action::Fail);
    EXPECT_TRUE(missingFile.errorText().contains("/no/such/recording.mp4"));
}

} // namespace
