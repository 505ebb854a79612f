#include "app/AbruptExitGuard.h"
#include "app/CommandLine.h"
#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "app/UnixSignalQuitter.h"
#include "app/X11FaultGuard.h"
#include "app/remote/ControlBus.h"
#include "app/remote/RemoteControl.h"
#include "capture/VideoInputThr.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kSplashMilliseconds = 3000;

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int printInformation(const QStringList& arguments) {
    const CommandLine commandLine(arguments);
    const QString text = commandLine.action() == CommandLine::Action::ShowVersion
                             ? CommandLine::versionText()
                             : CommandLine::helpText(arguments.value(0));
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

// Passes the request on to the running instance; needs no display.
int controlRunning(int& argc, char** argv, const QStringList& arguments) {
    const QCoreApplication application(argc, argv);
    const CommandLine commandLine(arguments);
    if (commandLine.action() == CommandLine::Action::Fail) {
        std::fprintf(stderr, "zaredezid: %s\n", qPrintable(commandLine.errorText()));
        return 2;
    }
    QString error;
    if (!ControlBus::callRunning(commandLine.remoteMethod(), error)) {
        std::fprintf(stderr, "zaredezid: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

// Whether the toolkit can show windows: a display to connect to, or a
// platform chosen by hand that needs none. Without one, Qt aborts instead of
// reporting it.
bool displayAvailable(const QStringList& arguments) {
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || arguments.contains("-platform");
}

// Without a display the user still hears about a mistyped option first.
int refuseWithoutDisplay(const QStringList& arguments) {
    const CommandLine commandLine(arguments);
    if (commandLine.action() == CommandLine::Action::Fail) {
        std::fprintf(stderr, "zaredezid: %s\n", qPrintable(commandLine.errorText()));
        return 2;
    }
    std::fputs("zaredezid: cannot open a display: is DISPLAY or WAYLAND_DISPLAY set?\n", stderr);
    return 1;
}

QtMessageHandler toolkitMessageHandler = nullptr;

// Qt aborts when it cannot connect to the display it was given, as when the
// X server or the compositor has just gone; the user is told in one line and
// the program ends with a failure status instead, before it has anything to
// save or release.
void refuseUnreachableDisplay(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (type != QtFatalMsg) {
        toolkitMessageHandler(type, context, message);
        return;
    }
    std::fputs("zaredezid: cannot connect to the display\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv) {
    toolkitMessageHandler = qInstallMessageHandler(refuseUnreachableDisplay);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(toolkitMessageHandler);
    return application;
}

void nameApplication() {
    QCoreApplication::setOrganizationName("Ruveviv");
    QCoreApplication::setOrganizationDomain("ruveviv.example.org");
    QCoreApplication::setApplicationName("Vizezu Verizuvuz");
    // Lets a Wayland desktop match the window to the installed desktop entry,
    // and so show the launcher's icon and name for it.
    QGuiApplication::setDesktopFileName("io.github.zaredezid");
}

// The extra sources join the camera list, so they must be known before the
// main window reads it.
void addExtraCameras(const CommandLine& commandLine) {
    if (commandLine.wantsDemoCamera())
        videoInputThr.addDemoCamera();
    for (const QString& file : commandLine.videoFiles())
        videoInputThr.addVideoFile(file);
}

// Claims the program's name on the session bus before anything else is
// opened. False when another instance has it: that one is brought forward
// instead, and exitCode is what this start ends with.
bool becomeTheInstance(ControlBus& bus, int& exitCode) {
    QString why;
    switch (bus.publish(why)) {
    case ControlBus::Outcome::Published:
        return true;
    case ControlBus::Outcome::NoBus:
        std::fprintf(stderr, "zaredezid: remote control is off: %s\n", qPrintable(why));
        return true;
    case ControlBus::Outcome::NameTaken:
        break;
    }
    QString error;
    exitCode = ControlBus::callRunning("Activate", error) ? 0 : 1;
    if (exitCode != 0)
        std::fprintf(stderr, "zaredezid: already running, but %s\n", qPrintable(error));
    return false;
}

// Keeps the splash up for three seconds of elapsed time while the interface
// stays responsive. A quit request cuts the wait short.
void holdSplash(UnixSignalQuitter& quitter) {
    QEventLoop splashLoop;
    QTimer::singleShot(kSplashMilliseconds, &splashLoop, &QEventLoop::quit);
    QObject::connect(&quitter, &UnixSignalQuitter::quitRequested, &splashLoop, &QEventLoop::quit);
    splashLoop.exec();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    // Already registered before main; registering again is harmless.
    Q_INIT_RESOURCE(zaredezid);

    const QStringList rawArguments = argumentList(argc, argv);
    if (CommandLine::asksOnlyForInformation(rawArguments))
        return printInformation(rawArguments);
    if (CommandLine::asksToControlRunning(rawArguments))
        return controlRunning(argc, argv, rawArguments);
    if (!displayAvailable(rawArguments))
        return refuseWithoutDisplay(rawArguments);

    // A display server that ends while the program writes to it would raise
    // SIGPIPE and kill the program before the settings are saved; ignored,
    // the write fails instead, and the display's loss ends the program through
    // the guard below.
    std::signal(SIGPIPE, SIG_IGN);
    auto application = connectToDisplay(argc, argv);
    const CommandLine commandLine(QCoreApplication::arguments());
    if (commandLine.action() == CommandLine::Action::Fail) {
        std::fprintf(stderr, "zaredezid: %s\n", qPrintable(commandLine.errorText()));
        return 2;
    }
    nameApplication();
    // Released before the application object at the end, as the bus
    // connection must not be used once that is gone.
    auto remote = std::make_unique<RemoteControl>();
    auto bus = std::make_unique<ControlBus>(*remote);
    int handOverExitCode = 0;
    if (!becomeTheInstance(*bus, handOverExitCode))
        return handOverExitCode;
    const AbruptExitGuard lostDisplayGuard([] {
        if (!mainWindow)
            return;
        mainWindow->saveSettings();
        std::fputs("zaredezid: the settings are saved\n", stderr);
    });
    const X11FaultGuard lostX11InTheDriverGuard;
    addExtraCameras(commandLine);
    QApplication::setWindowIcon(QIcon(":/images/Icons/favicon.gif"));
    UnixSignalQuitter quitter;

    auto splashPicture = std::make_unique<QPixmap>("://images//Icons//splash.png");
    auto splash = std::make_unique<QSplashScreen>(*splashPicture);
    splash->show();
    holdSplash(quitter);
    if (quitter.quitWasRequested())
        return 0;

    auto window = std::make_unique<SettingsWindow>();
    mainWindow = window.get();
    window->followRemote(*remote);
    QObject::connect(&quitter, &UnixSignalQuitter::quitRequested, application.get(),
                     &QCoreApplication::quit);
    window->show();
    splash->finish(window.get());
    // Showing the window and finishing the splash process events, so a quit
    // request may already have been handled before the loop below exists to
    // end; it must still end the run.
    const int exitCode = quitter.quitWasRequested() ? 0 : application->exec();

    window.reset();
    mainWindow = nullptr;
    bus.reset();
    remote.reset();
    // Capture ends while the toolkit is still there: the demo camera paints
    // its frames with Qt on a thread of its own, and painting after the
    // application object is gone crashes the exit.
    videoInputThr.stopDevice();
    videoInputThr.wait();
    splash.reset();
    splashPicture.reset();
    application.reset();
    return exitCode;
}
