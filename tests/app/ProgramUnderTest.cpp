#include "tests/app/ProgramUnderTest.h"

#include <QElapsedTimer>
#include <QThread>

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

} // namespace

ProgramUnderTest::ProgramUnderTest() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", configHome.path());
    program.setProcessEnvironment(environment);
    program.setProgram(ZAREDEZID_PROGRAM);
}

ProgramUnderTest::~ProgramUnderTest() {
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished(kExitWaitMilliseconds);
    }
}

void ProgramUnderTest::start(const QStringList& arguments) {
    program.setArguments(arguments);
    program.start();
    program.waitForStarted();
}

QString ProgramUnderTest::runToCompletion(const QStringList& arguments) {
    start(arguments);
    program.waitForFinished(kExitWaitMilliseconds);
    return QString::fromLocal8Bit(program.readAllStandardOutput());
}

bool ProgramUnderTest::waitForMainWindow() {
    QElapsedTimer clock;
    clock.start();
    while (!mainWindowIsOnScreen()) {
        if (clock.elapsed() > kWindowWaitMilliseconds || program.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(kPollMilliseconds);
    }
    return true;
}

bool ProgramUnderTest::terminateAndWait() {
    program.terminate();
    return program.waitForFinished(kExitWaitMilliseconds);
}

void ProgramUnderTest::removeDisplay() {
    QProcessEnvironment environment = program.processEnvironment();
    environment.remove("DISPLAY");
    program.setProcessEnvironment(environment);
}

QString ProgramUnderTest::settingsFile() const {
    return configHome.path() + "/Ruveviv/Vizezu Verizuvuz.conf";
}
