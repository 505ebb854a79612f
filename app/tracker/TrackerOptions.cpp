#include "app/tracker/TrackerOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <limits>

namespace {

constexpr int kLargestResponse = 200;
// Far beyond any webcam, small enough that a typing slip fails at once
// instead of asking the capture layer for gigabytes.
constexpr int kLargestCaptureSide = 4096;
constexpr int kLargestFrameRate = 240;
constexpr int kUsageError = 2;

const char* const kDescription =
    "Runs the webcam attitude estimator without a window, on recorded pictures,\n"
    "a video file or a camera. INPUT is a folder of PNG or JPEG images, taken in\n"
    "file-name order, or one image fed --repeat times; --video, --demo and\n"
    "--camera take the frames from the capture layer instead, as the program\n"
    "does. Prints CSV to standard output: the header\n"
    "frame,width,height,updated,roll,pitch and one row per frame, numbered from 0;\n"
    "updated is 1 when the frame changed the estimate, roll and pitch are the\n"
    "values last emitted (empty before the first). --state adds two last\n"
    "columns: state (tracking, searching or lost) and delay_ms, the milliseconds\n"
    "from the frame's capture to the sending of its attitude, empty for a frame\n"
    "that sent none (updated 0) and for pictures, which have no capture time.\n"
    "The capture layer's own lines go to standard error. A camera runs until\n"
    "interrupted (Ctrl+C) and a video file is replayed in a loop, so use\n"
    "--frames to stop them. --output sends the attitude to a virtual joystick,\n"
    "opentrack or FlightGear as well, calibrated with the limits, zeros and\n"
    "inversions the window saved; an output that cannot open ends the run\n"
    "before the first frame. --list-controls prints a camera's controls;\n"
    "--control sets them before the first frame, after the values the window\n"
    "remembered for that camera.";

QString tr(const char* text) {
    return QCoreApplication::translate("TrackerOptions", text);
}

bool readCount(const QString& text, int smallest, int largest, int& value) {
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (!ok || parsed < smallest || parsed > largest) {
        return false;
    }
    value = parsed;
    return true;
}

bool readCount(const QString& text, int smallest, int& value) {
    return readCount(text, smallest, std::numeric_limits<int>::max(), value);
}

bool readResponses(const QString& text, TrackerOptions& options) {
    const QStringList parts = text.split(',');
    int roll = 0, pitch = 0;
    if (parts.size() != 2 || !readCount(parts[0].trimmed(), 0, kLargestResponse, roll) ||
        !readCount(parts[1].trimmed(), 0, kLargestResponse, pitch)) {
        return false;
    }
    options.rollResponse = roll;
    options.pitchResponse = pitch;
    return true;
}

bool readEstimator(const QString& text, EstimatorKind& kind) {
    bool known = false;
    const EstimatorKind named = estimatorKindFromName(text, known);
    if (known) {
        kind = named;
    }
    return known;
}

bool readSize(const QString& text, QSize& size) {
    static const QRegularExpression widthByHeight("^(\\d+)x(\\d+)$");
    const QRegularExpressionMatch match = widthByHeight.match(text);
    int width = 0, height = 0;
    if (!match.hasMatch() || !readCount(match.captured(1), 1, kLargestCaptureSide, width) ||
        !readCount(match.captured(2), 1, kLargestCaptureSide, height)) {
        return false;
    }
    size = QSize(width, height);
    return true;
}

// "joystick", "udp:HOST:PORT" or "flightgear:HOST:PORT". The host is all
// between the first and the last colon, so that IPv6 addresses need no
// brackets; the port's range and the host are checked when the output opens.
bool readOutput(const QString& text, OutputRequest& output) {
    if (text == "joystick") {
        output.kind = OutputKind::Joystick;
        return true;
    }
    const int kindEnd = text.indexOf(':');
    const int hostEnd = text.lastIndexOf(':');
    const QString kind = text.left(kindEnd);
    if (kindEnd < 0 || hostEnd == kindEnd || (kind != "udp" && kind != "flightgear")) {
        return false;
    }
    bool ok = false;
    output.port = text.mid(hostEnd + 1).toInt(&ok);
    output.host = text.mid(kindEnd + 1, hostEnd - kindEnd - 1);
    if (output.host.startsWith('[') && output.host.endsWith(']')) {
        output.host = output.host.mid(1, output.host.size() - 2);
    }
    output.kind = kind == "udp" ? OutputKind::Opentrack : OutputKind::FlightGear;
    return ok && !output.host.isEmpty();
}

// "NAME=VALUE", split at the first '=' since a value may hold one.
bool readControl(const QString& text, ControlSetting& setting) {
    const int split = text.indexOf('=');
    setting.name = text.left(split).trimmed();
    setting.value = text.mid(split + 1);
    return split > 0 && !setting.name.isEmpty();
}

ParsedCommandLine failure(const QString& message) {
    ParsedCommandLine result;
    result.message = message;
    result.exitCode = kUsageError;
    return result;
}

// The options the tracker understands, registered with one parser.
struct TrackerParser {
    TrackerParser();

    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption video{"video",
                             tr("Read the frames from the video <file>, replayed in a "
                                "loop at its own frame rate."),
                             "file"};
    QCommandLineOption demo{"demo", tr("Read the frames from the demo camera.")};
    QCommandLineOption camera{"camera",
                              tr("Read the frames from camera <n> of the capture layer's "
                                 "list, counted from 0."),
                              "n"};
    QCommandLineOption frames{"frames", tr("Stop after <n> frames."), "n"};
    QCommandLineOption size{"size",
                            tr("Capture size asked of --video, --demo or --camera "
                               "(default 320x240)."),
                            "WxH"};
    QCommandLineOption fps{"fps", tr("Frame rate asked of --demo or --camera (default 30)."), "n"};
    QCommandLineOption repeat{"repeat", tr("Feed the single image INPUT <n> times."), "n"};
    QCommandLineOption lines{"lines",
                             tr("After each frame that ran the line detector, print its first "
                                "<k> lines as rows lines,<frame>,<i>,<rho>,<theta>."),
                             "k"};
    QCommandLineOption responses{
        "responses", tr("Roll and pitch responses, 0 to 200 (default 12,12)."), "roll,pitch"};
    QCommandLineOption estimator{"estimator",
                                 tr("How detected lines become the attitude: precise refines "
                                    "the strongest line, classic weighs the first fifteen "
                                    "(default precise)."),
                                 "precise|classic"};
    QCommandLineOption output{
        "output",
        tr("Also send the attitude to <where>, as often as given: joystick (a virtual "
           "joystick through /dev/uinput), udp:HOST:PORT (opentrack's \"UDP over network\" "
           "input, which listens on port 4242) or flightgear:HOST:PORT (FlightGear with "
           "--generic=socket,in,30,,5500,udp,zaredezid)."),
        "where"};
    QCommandLineOption state{
        "state", tr("Add the columns state and delay_ms to each frame's row. state: tracking "
                    "when the estimate rests on the arms found in the last few frames, searching "
                    "while they are not found, lost once the estimate eases back to level. "
                    "delay_ms: milliseconds from the frame's capture to the sending of its "
                    "attitude; empty when the frame sent none or came from a picture, which has "
                    "no capture time.")};
    QCommandLineOption listControls{
        "list-controls", tr("Print the controls of the --camera, one line each, and end.")};
    QCommandLineOption control{
        "control",
        tr("Set the control <name> of the --camera to <value> before the first frame, as often "
           "as given, after the values the window saved for the camera; not saved. <name> is as "
           "--list-controls prints it, in any case, or its short form (power_line_frequency)."),
        "name=value"};
};

TrackerParser::TrackerParser() {
    parser.setApplicationDescription(tr(kDescription));
    parser.addOptions({video, demo, camera, frames, size, fps, repeat, lines, responses, estimator,
                       output, state, listControls, control});
    parser.addPositionalArgument("INPUT", tr("Folder of images, or one image with --repeat."));
}

// Exactly one source of frames; the error text is empty when there is one.
QString readInput(const TrackerParser& command, TrackerOptions& options) {
    const QStringList positional = command.parser.positionalArguments();
    const int inputCount = int(positional.size()) + int(command.parser.isSet(command.video)) +
                           int(command.parser.isSet(command.demo)) +
                           int(command.parser.isSet(command.camera));
    if (inputCount != 1) {
        return tr("expected exactly one input: a folder or an image, --video, --demo or "
                  "--camera (see --help)");
    }
    if (!positional.isEmpty()) {
        options.inputPath = positional.first();
    } else if (command.parser.isSet(command.video)) {
        options.input = TrackerInput::VideoFile;
        options.inputPath = command.parser.value(command.video);
    } else if (command.parser.isSet(command.demo)) {
        options.input = TrackerInput::DemoCamera;
    } else {
        options.input = TrackerInput::Camera;
        if (!readCount(command.parser.value(command.camera), 0, options.cameraIndex)) {
            return tr("--camera needs a whole number of at least 0");
        }
    }
    return {};
}

// Controls belong to a source of the capture layer: a source without any
// (the demo camera, a video file) is told apart when it is opened.
QString readControlSettings(const TrackerParser& command, TrackerOptions& options) {
    const QCommandLineParser& parser = command.parser;
    options.listControls = parser.isSet(command.listControls);
    options.printState = parser.isSet(command.state);
    const QStringList settings = parser.values(command.control);
    if ((options.listControls || !settings.isEmpty()) && options.input == TrackerInput::Pictures) {
        return tr("--list-controls and --control take a camera: --camera n");
    }
    for (const QString& text : settings) {
        ControlSetting setting;
        if (!readControl(text, setting)) {
            return tr("--control needs NAME=VALUE, as in brightness=128, not \"%1\"").arg(text);
        }
        options.controls.append(setting);
    }
    return {};
}

// The settings that only one kind of input takes; the error text is empty
// when they fit the input.
QString readInputSettings(const TrackerParser& command, TrackerOptions& options) {
    const QCommandLineParser& parser = command.parser;
    const bool fromPictures = options.input == TrackerInput::Pictures;
    if (parser.isSet(command.repeat) && !fromPictures) {
        return tr("--repeat takes a single image as INPUT");
    }
    if (parser.isSet(command.repeat) &&
        !readCount(parser.value(command.repeat), 1, options.repeat)) {
        return tr("--repeat needs a whole number of at least 1");
    }
    if ((parser.isSet(command.size) || parser.isSet(command.fps)) && fromPictures) {
        return tr("--size and --fps apply to --video, --demo and --camera; pictures are fed as "
                  "they are");
    }
    if (parser.isSet(command.fps) && options.input == TrackerInput::VideoFile) {
        return tr("--fps does not apply to --video: a video file plays at its own frame rate");
    }
    if (parser.isSet(command.size) && !readSize(parser.value(command.size), options.captureSize)) {
        return tr("--size needs a width and a height from 1 to %1, as in 320x240")
            .arg(kLargestCaptureSide);
    }
    if (parser.isSet(command.fps) &&
        !readCount(parser.value(command.fps), 1, kLargestFrameRate, options.framesPerSecond)) {
        return tr("--fps needs a whole number from 1 to %1").arg(kLargestFrameRate);
    }
    return readControlSettings(command, options);
}

// The settings every input takes; the error text is empty when they are sound.
QString readTrackingSettings(const TrackerParser& command, TrackerOptions& options) {
    const QCommandLineParser& parser = command.parser;
    if (parser.isSet(command.frames) &&
        !readCount(parser.value(command.frames), 1, options.frameLimit)) {
        return tr("--frames needs a whole number of at least 1");
    }
    if (parser.isSet(command.lines) &&
        !readCount(parser.value(command.lines), 0, options.lineCount)) {
        return tr("--lines needs a whole number of at least 0");
    }
    if (parser.isSet(command.responses) &&
        !readResponses(parser.value(command.responses), options)) {
        return tr("--responses needs two whole numbers from 0 to 200, as in 12,12");
    }
    if (parser.isSet(command.estimator) &&
        !readEstimator(parser.value(command.estimator), options.estimator)) {
        return tr("--estimator needs precise or classic, not \"%1\"")
            .arg(parser.value(command.estimator));
    }
    for (const QString& text : parser.values(command.output)) {
        OutputRequest output;
        if (!readOutput(text, output)) {
            return tr("--output needs joystick, udp:HOST:PORT or flightgear:HOST:PORT, not \"%1\"")
                .arg(text);
        }
        options.outputs.append(output);
    }
    return {};
}

} // namespace

ParsedCommandLine parseTrackerCommandLine(const QStringList& arguments) {
    TrackerParser command;
    if (!command.parser.parse(arguments)) {
        return failure(command.parser.errorText());
    }
    ParsedCommandLine result;
    if (command.parser.isSet(command.help)) {
        result.message = command.parser.helpText();
        return result;
    }
    for (const auto& read : {readInput, readInputSettings, readTrackingSettings}) {
        const QString error = read(command, result.options);
        if (!error.isEmpty()) {
            return failure(error);
        }
    }
    result.run = true;
    return result;
}

QString describeInput(const TrackerOptions& options) {
    switch (options.input) {
    case TrackerInput::VideoFile:
        return tr("video file %1").arg(options.inputPath);
    case TrackerInput::DemoCamera:
        return tr("demo camera");
    case TrackerInput::Camera:
        return tr("camera %1").arg(options.cameraIndex);
    case TrackerInput::Pictures:
        break;
    }
    return options.inputPath;
}

QString describeOutput(const OutputRequest& output) {
    switch (output.kind) {
    case OutputKind::Opentrack:
        return QString("udp:%1:%2").arg(output.host).arg(output.port);
    case OutputKind::FlightGear:
        return QString("flightgear:%1:%2").arg(output.host).arg(output.port);
    case OutputKind::Joystick:
        break;
    }
    return "joystick";
}
