#include "app/tracker/TrackerOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

constexpr int kLargestResponse = 200;

const char* const kDescription =
    "Runs the webcam attitude estimator on recorded pictures, without a window.\n"
    "INPUT is a folder of PNG or JPEG images, taken in file-name order, or one\n"
    "image fed --repeat times. Prints CSV to standard output: the header\n"
    "frame,width,height,updated,roll,pitch and one row per frame, numbered from 0;\n"
    "updated is 1 when the frame changed the estimate, roll and pitch are the\n"
    "values last emitted (empty before the first).";

QString tr(const char* text) {
    return QCoreApplication::translate("TrackerOptions", text);
}

bool readCount(const QString& text, int smallest, int& value) {
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (!ok || parsed < smallest) {
        return false;
    }
    value = parsed;
    return true;
}

bool readResponses(const QString& text, TrackerOptions& options) {
    const QStringList parts = text.split(',');
    int roll = 0, pitch = 0;
    if (parts.size() != 2 || !readCount(parts[0].trimmed(), 0, roll) ||
        !readCount(parts[1].trimmed(), 0, pitch) || roll > kLargestResponse ||
        pitch > kLargestResponse) {
        return false;
    }
    options.rollResponse = roll;
    options.pitchResponse = pitch;
    return true;
}

ParsedCommandLine failure(const QString& message) {
    ParsedCommandLine result;
    result.message = message;
    result.exitCode = 2;
    return result;
}

} // namespace

ParsedCommandLine parseTrackerCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(tr(kDescription));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption repeatOption("repeat", tr("Feed the single image INPUT <n> times."),
                                          "n");
    const QCommandLineOption linesOption(
        "lines",
        tr("After each frame that ran the line detector, print its first <k> lines "
           "as rows lines,<frame>,<i>,<rho>,<theta>."),
        "k");
    const QCommandLineOption responsesOption(
        "responses", tr("Roll and pitch responses, 0 to 200 (default 12,12)."), "roll,pitch");
    parser.addOptions({repeatOption, linesOption, responsesOption});
    parser.addPositionalArgument("INPUT", tr("Folder of images, or one image with --repeat."));

    if (!parser.parse(arguments)) {
        return failure(parser.errorText());
    }
    if (parser.isSet(helpOption)) {
        ParsedCommandLine result;
        result.message = parser.helpText();
        return result;
    }
    ParsedCommandLine result;
    TrackerOptions& options = result.options;
    if (parser.positionalArguments().size() != 1) {
        return failure(tr("expected exactly one INPUT, a folder or an image (see --help)"));
    }
    options.inputPath = parser.positionalArguments().first();
    if (parser.isSet(repeatOption) && !readCount(parser.value(repeatOption), 1, options.repeat)) {
        return failure(tr("--repeat needs a whole number of at least 1"));
    }
    if (parser.isSet(linesOption) && !readCount(parser.value(linesOption), 0, options.lineCount)) {
        return failure(tr("--lines needs a whole number of at least 0"));
    }
    if (parser.isSet(responsesOption) && !readResponses(parser.value(responsesOption), options)) {
        return failure(tr("--responses needs two whole numbers from 0 to 200, as in 12,12"));
    }
    result.run = true;
    return result;
}
