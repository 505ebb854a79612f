#include "app/CommandLine.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

// A failure names what it failed on, so the user can see which argument to fix.
TEST(CommandLineTest, ArgumentsChooseTheActionAndFailuresNameTheirCause) {
    const struct {
        QStringList arguments;
        Action action;
        QString named;
    } cases[] = {
        {{}, Action::Run, {}},
        {{"-h"}, Action::ShowHelp, {}},
        {{"--help"}, Action::ShowHelp, {}},
        {{"-v"}, Action::ShowVersion, {}},
        {{"--version"}, Action::ShowVersion, {}},
        {{"--fly"}, Action::Fail, "--fly"},
        {{"--video"}, Action::Fail, "--video"},
        {{"--video", "/no/such/recording.mp4"}, Action::Fail, "/no/such/recording.mp4"},
        {{"--toggle-pause"}, Action::ControlRunning, {}},
        {{"--demo", "--pause"}, Action::Fail, "--pause"},
    };
    for (const auto& command : cases) {
        SCOPED_TRACE(command.arguments.join(' ').toStdString());
        const CommandLine commandLine(QStringList("zaredezid") + command.arguments);
        EXPECT_EQ(commandLine.action(), command.action);
        EXPECT_TRUE(commandLine.errorText().contains(command.named));
    }
    EXPECT_TRUE(CommandLine::asksOnlyForInformation({"zaredezid", "--bogus", "--help"}));
    EXPECT_FALSE(CommandLine::asksOnlyForInformation({"zaredezid"}));
}

TEST(CommandLineTest, DemoAndVideoSourcesAreCollected) {
    QTemporaryFile video;
    ASSERT_TRUE(video.open());
    const CommandLine commandLine(
        {"zaredezid", "--video", video.fileName(), "--demo", "--video", video.fileName()});
    EXPECT_EQ(commandLine.action(), Action::Run);
    EXPECT_TRUE(commandLine.wantsDemoCamera());
    EXPECT_EQ(commandLine.videoFiles(), QStringList({video.fileName(), video.fileName()}));
}

} // namespace
