#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kWindowWaitMilliseconds = 60000;
constexpr int kExitWaitMilliseconds = 20000;

// Runs the real program against an empty configuration folder of its own.
class ProgramStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.setProgram(ZAREDEZID_PROGRAM);
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(kExitWaitMilliseconds);
        }
    }

    QString settingsFile() const { return configHome.path() + "/Ruveviv/Vizezu Verizuvuz.conf"; }

    static bool mainWindowIsOnScreen() {
        QProcess windowList;
        windowList.start("xwininfo", {"-root", "-tree"});
        windowList.waitForFinished();
        return windowList.readAllStandardOutput().contains("\"Zaredezid Settings\"");
    }

    static bool waitFor(const std::function<bool()>& condition, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    QString runToCompletion(const QStringList& arguments) {
        program.setArguments(arguments);
        program.start();
        EXPECT_TRUE(program.waitForFinished(kExitWaitMilliseconds));
        return QString::fromLocal8Bit(program.readAllStandardOutput());
    }

    QTemporaryDir configHome;
    QProcess program;
};

TEST_F(ProgramStartupTest, TerminationSignalClosesTheWindowAndSavesSettings) {
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(waitFor(mainWindowIsOnScreen, kWindowWaitMilliseconds))
        << "the main window never appeared";
    EXPECT_FALSE(QFile::exists(settingsFile())) << "settings are written only at exit";

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(kExitWaitMilliseconds));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    const QSettings saved(settingsFile(), QSettings::NativeFormat);
    EXPECT_EQ(saved.allKeys().size(), 13);
    EXPECT_EQ(saved.value("settings/ResponseRoll").toInt(), 50);
    EXPECT_EQ(saved.value("settings/FPSId").toInt(), 1);
}

TEST_F(ProgramStartupTest, HelpAndVersionPrintAndExitWithoutADisplay) {
    QProcessEnvironment environment = program.processEnvironment();
    environment.remove("DISPLAY");
    program.setProcessEnvironment(environment);

    EXPECT_TRUE(runToCompletion({"--help"}).contains("Usage:"));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(runToCompletion({"--version"}).contains("Zaredezid " ZAREDEZID_VERSION "\n"));
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(ProgramStartupTest, UnknownArgumentIsRefused) {
    runToCompletion({"--no-such-option"});
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("--no-such-option"));
}

} // namespace
