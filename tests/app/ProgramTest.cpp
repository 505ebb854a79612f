#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {

constexpr int kWindowWaitMilliseconds = 60000;
constexpr int kExitWaitMilliseconds = 20000;
constexpr unsigned long kPollMilliseconds = 100;

bool mainWindowIsOnScreen() {
    QProcess windowList;
    windowList.start("xwininfo", {"-root", "-tree"});
    windowList.waitForFinished();
    return windowList.readAllStandardOutput().contains("\"Zaredezid Settings\"");
}

// The real program, started as a user would start it but with an empty
// configuration folder of its own, under the display the tests run on.
class ProgramUnderTest {
public:
    ProgramUnderTest() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.setProgram(ZAREDEZID_PROGRAM);
    }

    ~ProgramUnderTest() {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(kExitWaitMilliseconds);
        }
    }

    void start(const QStringList& arguments = {}) {
        program.setArguments(arguments);
        program.start();
        program.waitForStarted();
    }

    // Runs the program to its end and returns what it printed on stdout.
    QString runToCompletion(const QStringList& arguments) {
        start(arguments);
        program.waitForFinished(kExitWaitMilliseconds);
        return QString::fromLocal8Bit(program.readAllStandardOutput());
    }

    bool waitForMainWindow() {
        QElapsedTimer clock;
        clock.start();
        while (!mainWindowIsOnScreen()) {
            if (clock.elapsed() > kWindowWaitMilliseconds ||
                program.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(kPollMilliseconds);
        }
        return true;
    }

    bool terminateAndWait() {
        program.terminate();
        return program.waitForFinished(kExitWaitMilliseconds);
    }

    void removeDisplay() {
        QProcessEnvironment environment = program.processEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(variable);
        program.setProcessEnvironment(environment);
    }

    QProcess& process() { return program; }
    QString settingsFile() const { return configHome.path() + "/Ruveviv/Vizezu Verizuvuz.conf"; }

private:
    QTemporaryDir configHome;
    QProcess program;
};

// With the demo camera running, whose frames are painted on a thread of its
// own, up to the moment the signal arrives.
TEST(ProgramStartupTest, TerminationSignalClosesTheWindowAndSavesSettings) {
    ProgramUnderTest program;
    program.start({"--demo"});
    ASSERT_TRUE(program.waitForMainWindow()) << "the main window never appeared";
    EXPECT_FALSE(QFile::exists(program.settingsFile())) << "settings are written only at exit";

    ASSERT_TRUE(program.terminateAndWait());
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);

    // Which values a first run saves, and that they are whole, is the
    // storage tests' concern; here both groups must be saved at all.
    QSettings saved(program.settingsFile(), QSettings::NativeFormat);
    EXPECT_EQ(saved.value("tracking/Estimator").toString(), "precise");
    EXPECT_TRUE(saved.contains("settings/ResponseRoll"));
}

// Help and version need no display, so they are asked for without one. Help
// names the program as it was started and every option.
// Over SSH, say: the command line is answered and a missing display is said
// in one line, never by the toolkit's abort.
TEST(ProgramStartupTest, UnknownArgumentIsRefusedAndHelpAndVersionNeedNoDisplay) {
    ProgramUnderTest program;
    for (bool withDisplay : {true, false}) {
        if (!withDisplay)
            program.removeDisplay();
        program.runToCompletion({"--no-such-option"});
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.process().exitCode(), 2);
        EXPECT_TRUE(program.process().readAllStandardError().contains("--no-such-option"));
    }
    program.runToCompletion({"--demo"});
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 1);
    EXPECT_EQ(program.process().readAllStandardError(),
              "zaredezid: cannot open a display: is DISPLAY or WAYLAND_DISPLAY set?\n");

    const QString help = program.runToCompletion({"--help"});
    EXPECT_EQ(program.process().exitCode(), 0);
    EXPECT_TRUE(help.contains("Usage: " ZAREDEZID_PROGRAM " [options]")) << help.toStdString();
    for (const char* option : {"--help", "--version", "--demo", "--video FILE"})
        EXPECT_TRUE(help.contains(option)) << option;
    EXPECT_TRUE(
        program.runToCompletion({"--version"}).contains("Zaredezid " ZAREDEZID_VERSION "\n"));
    EXPECT_EQ(program.process().exitCode(), 0);
}

constexpr QRgb kSkyColour = 0xffccb2ff; // the view's clear colour 0.8, 0.7, 1.0
constexpr int kColourTolerance = 2;
constexpr int kPaintWaitMilliseconds = 30000;

bool near(QRgb pixel, QRgb colour) {
    return std::abs(qRed(pixel) - qRed(colour)) <= kColourTolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= kColourTolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= kColourTolerance;
}

// The flight view is the only place the sky colour appears on screen.
QRect skyBounds(const QImage& screen) {
    QRect bounds;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (near(screen.pixel(x, y), kSkyColour))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The share of sky-coloured pixels in the area, and how many colours it holds.
std::pair<double, int> skyShareAndColours(const QImage& screen, const QRect& area) {
    QSet<QRgb> colours;
    int sky = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = screen.pixel(x, y);
            colours.insert(pixel);
            sky += near(pixel, kSkyColour) ? 1 : 0;
        }
    return {double(sky) / (area.width() * area.height()), int(colours.size())};
}

QImage waitForPaintedView() {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const QImage screen =
            QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                QImage::Format_RGB32);
        if (skyBounds(screen).width() >= 200 || clock.elapsed() >= kPaintWaitMilliseconds)
            return screen;
        QThread::msleep(250);
    }
}

// The program as started on a display: its compiled-in terrain and texture
// reach the screen. Where the overlay stands is the view tests' concern.
TEST(FlightViewScreenshotTest, SkyAboveTexturedTerrain) {
    ProgramUnderTest program;
    program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    const QImage screen = waitForPaintedView();
    QDir().mkpath(ZAREDEZID_SCREENSHOT_DIR);
    screen.save(ZAREDEZID_SCREENSHOT_DIR "/flight-view.png");
    EXPECT_TRUE(program.terminateAndWait());

    const QRect view = skyBounds(screen);
    ASSERT_GT(view.width(), 300) << "no flight view in " ZAREDEZID_SCREENSHOT_DIR;
    ASSERT_GT(view.height(), 200);
    const int bandHeight = view.height() / 10;

    const QRect top = view.adjusted(0, 0, 0, -(view.height() - bandHeight));
    EXPECT_GT(skyShareAndColours(screen, top).first, 0.8) << "the top of the view is sky";
    const auto [bottomSky, bottomColours] =
        skyShareAndColours(screen, view.adjusted(0, view.height() - bandHeight, 0, 0));
    EXPECT_LT(bottomSky, 0.5) << "the bottom of the view is terrain";
    EXPECT_GT(bottomColours, 200) << "the terrain is textured, not flat";
}

} // namespace
