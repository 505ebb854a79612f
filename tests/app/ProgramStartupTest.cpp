#include "tests/app/ProgramUnderTest.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(ProgramStartupTest, TerminationSignalClosesTheWindowAndSavesSettings) {
    ProgramUnderTest program;
    program.start();
    ASSERT_TRUE(program.waitForMainWindow()) << "the main window never appeared";
    EXPECT_FALSE(QFile::exists(program.settingsFile())) << "settings are written only at exit";

    ASSERT_TRUE(program.terminateAndWait());
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);

    const QSettings saved(program.settingsFile(), QSettings::NativeFormat);
    EXPECT_EQ(saved.allKeys().size(), 13);
    EXPECT_EQ(saved.value("settings/ResponseRoll").toInt(), 50);
    EXPECT_EQ(saved.value("settings/FPSId").toInt(), 1);
}

TEST(ProgramStartupTest, HelpAndVersionPrintAndExitWithoutADisplay) {
    ProgramUnderTest program;
    program.removeDisplay();
    EXPECT_TRUE(program.runToCompletion({"--help"}).contains("Usage:"));
    EXPECT_EQ(program.process().exitCode(), 0);
    EXPECT_TRUE(
        program.runToCompletion({"--version"}).contains("Zaredezid " ZAREDEZID_VERSION "\n"));
    EXPECT_EQ(program.process().exitCode(), 0);
}

TEST(ProgramStartupTest, UnknownArgumentIsRefused) {
    ProgramUnderTest program;
    program.runToCompletion({"--no-such-option"});
    EXPECT_EQ(program.process().exitCode(), 2);
    EXPECT_TRUE(program.process().readAllStandardError().contains("--no-such-option"));
}

} // namespace
