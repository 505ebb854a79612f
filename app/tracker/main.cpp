#include "app/tracker/CsvTracker.h"
#include "app/tracker/FrameSource.h"
#include "app/tracker/TrackerOptions.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
constexpr int kBadInput = 1;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("zaredezid-track");
    QTextStream out(stdout);
    QTextStream errors(stderr);

    const ParsedCommandLine command = parseTrackerCommandLine(QCoreApplication::arguments());
    if (!command.run && command.exitCode == 0) {
        out << command.message << '\n';
        return 0;
    }
    if (!command.run) {
        errors << "zaredezid-track: " << command.message << '\n';
        return command.exitCode;
    }

    FrameSource source;
    QString error;
    if (!source.open(command.options, error)) {
        errors << "zaredezid-track: " << error << '\n';
        return kBadInput;
    }
    CsvTracker tracker(command.options, out);
    tracker.writeHeader();
    while (!source.atEnd()) {
        std::unique_ptr<I::Image> frame = source.next(error);
        if (!frame) {
            // The rows of the frames before stay valid output.
            out.flush();
            errors << "zaredezid-track: " << error << '\n';
            return kBadInput;
        }
        tracker.track(std::move(frame));
    }
    return 0;
}
