#include "app/CommandLine.h"

#include <QFileInfo>
#include <QMap>

namespace {

bool isHelpOption(const QString& argument) {
    return argument == "-h" || argument == "--help";
}

bool isVersionOption(const QString& argument) {
    return argument == "-v" || argument == "--version";
}

// The options that only pass a request to the running instance, with the
// method of its remote control each one calls.
const QMap<QString, QString>& remoteOptions() {
    static const QMap<QString, QString> options{{"--centre", "Centre"},
                                                {"--pause", "Pause"},
                                                {"--resume", "Resume"},
                                                {"--toggle-pause", "TogglePause"}};
    return options;
}

} // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (isHelpOption(argument)) {
            requested = Action::ShowHelp;
            return;
        }
        if (isVersionOption(argument)) {
            requested = Action::ShowVersion;
            return;
        }
        if (remoteOptions().contains(argument)) {
            if (arguments.size() != 2) {
                fail(QString("%1 must be given alone").arg(argument));
                return;
            }
            requested = Action::ControlRunning;
            method = remoteOptions().value(argument);
        } else if (argument == "--demo") {
            demoCamera = true;
        } else if (argument == "--video") {
            if (++i == arguments.size()) {
                fail("--video needs the path of a video file");
                return;
            }
            if (!QFileInfo(arguments[i]).isFile()) {
                fail(QString("cannot read the video file '%1'").arg(arguments[i]));
                return;
            }
            videos << arguments[i];
        } else {
            fail(QString("unknown argument '%1'; try --help").arg(argument));
            return;
        }
    }
}

void CommandLine::fail(const QString& text) {
    requested = Action::Fail;
    error = text;
}

// Help and version must work without a display, so they are recognised
// before the application object, which needs one, is created.
bool CommandLine::asksOnlyForInformation(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (isHelpOption(argument) || isVersionOption(argument))
            return true;
    return false;
}

// These must work without a display too: a desktop shortcut may run them
// from anywhere.
bool CommandLine::asksToControlRunning(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (remoteOptions().contains(argument))
            return true;
    return false;
}

QString CommandLine::helpText(const QString& programName) {
    return QString("Usage: %1 [options]\n"
                   "Steer a flight view with your arms in front of a webcam.\n"
                   "\n"
                   "Stand in front of the camera with both arms stretched out sideways:\n"
                   "tilting them rolls, raising or lowering them pitches. Double-click the\n"
                   "flight view to stop or restart capture.\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help       Show this help and exit.\n"
                   "  -v, --version    Show the version and exit.\n"
                   "  --demo           Add \"Demo camera\", a painted person waving their arms,\n"
                   "                   to the camera list (no webcam needed).\n"
                   "  --video FILE     Add a camera that replays FILE in a loop; may be repeated.\n"
                   "\n"
                   "Control of the running Zaredezid, for desktop shortcuts (each alone):\n"
                   "  --centre         Make the current attitude the centre.\n"
                   "  --pause          Hold every output at the centre.\n"
                   "  --resume         Let the outputs follow the tracking again.\n"
                   "  --toggle-pause   Pause, or resume when paused.\n")
        .arg(programName);
}

QString CommandLine::versionText() {
    return QString("Zaredezid %1\n").arg(ZAREDEZID_VERSION);
}
