#include "app/ProcessObjects.h"
#include "app/UnixSignalQuitter.h"
#include "app/remote/ControlBus.h"
#include "app/remote/RemoteControl.h"
#include "app/tracker/CsvTracker.h"
#include "app/tracker/DeviceTracker.h"
#include "app/tracker/FrameSource.h"
#include "app/tracker/SavedCalibration.h"
#include "app/tracker/StandardOutputDiversion.h"
#include "app/tracker/TrackerOptions.h"
#include "app/tracker/TrackerProcessObjects.h"
#include "output/OutputDispatcher.h"
#include "output/OutputSinkFactory.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdlib>

namespace {

constexpr int kBadInput = 1;
const char* const kMessagePrefix = "zaredezid-track: ";

int trackPictures(const TrackerOptions& options, CsvTracker& tracker, QTextStream& errors) {
    FrameSource source;
    QString error;
    if (!source.open(options, error)) {
        errors << kMessagePrefix << error << '\n';
        return kBadInput;
    }
    tracker.writeHeader();
    while (!source.atEnd()) {
        std::unique_ptr<I::Image> frame = source.next(error);
        if (!frame) {
            // The rows of the frames before stay valid output.
            tracker.flush();
            errors << kMessagePrefix << error << '\n';
            return kBadInput;
        }
        tracker.track(std::move(frame));
    }
    return 0;
}

// A live run can be recentred and paused from outside like the window, when
// the name is free; it tracks all the same when it is not.
void offerRemoteControl(ControlBus& bus, QTextStream& errors) {
    QString why;
    if (bus.publish(why) != ControlBus::Outcome::Published) {
        errors << kMessagePrefix << "remote control is off: " << why << '\n';
    }
}

// Runs the event loop the frames arrive in, until the frame limit, a
// termination signal or a silent source ends it.
int trackDevice(const TrackerOptions& options, CsvTracker& tracker, OutputDispatcher& outputs,
                QTextStream& errors) {
    DeviceTracker deviceTracker(videoInputThr, tracker, options);
    QString error;
    if (!deviceTracker.start(error)) {
        errors << kMessagePrefix << error << '\n';
        return kBadInput;
    }
    RemoteControl remote;
    remote.attach(outputs);
    remote.setSource(describeInput(options));
    QObject::connect(
        &tracker.analysis(), &VideoProcessor::trackingUpdate, &remote,
        [&remote](TrackingState state) { remote.setTracking(trackingStateName(state)); });
    QObject::connect(&remote, &RemoteControl::centreRequested, &outputs, &OutputDispatcher::centre);
    ControlBus bus(remote);
    offerRemoteControl(bus, errors);
    tracker.writeHeader();
    tracker.flush();
    UnixSignalQuitter quitter;
    QObject::connect(&quitter, &UnixSignalQuitter::quitRequested, &deviceTracker,
                     &DeviceTracker::stop);
    const int exitCode = QCoreApplication::exec();
    if (!deviceTracker.failure().isEmpty()) {
        errors << kMessagePrefix << deviceTracker.failure() << '\n';
    }
    if (deviceTracker.captureStuck()) {
        // Leaving normally would wait for the capture thread without end
        // while the process-wide objects are destroyed.
        tracker.flush();
        errors << kMessagePrefix << "the capture thread did not stop; leaving without it\n";
        errors.flush();
        std::_Exit(exitCode == 0 ? kBadInput : exitCode);
    }
    return exitCode;
}

int listControls(const TrackerOptions& options, CsvTracker& tracker, QTextStream& out,
                 QTextStream& errors) {
    DeviceTracker deviceTracker(videoInputThr, tracker, options);
    QString error;
    if (!deviceTracker.listControls(out, error)) {
        errors << kMessagePrefix << error << '\n';
        return kBadInput;
    }
    return 0;
}

// Opens every output asked for, before any frame is tracked, so that a run
// that cannot deliver what was asked ends at once instead of tracking for
// nothing.
bool openOutputs(const TrackerOptions& options, OutputDispatcher& outputs, QTextStream& errors) {
    if (options.outputs.isEmpty()) {
        return true;
    }
    outputs.setCalibration(savedCalibration());
    outputs.setResponse(savedResponse());
    for (const OutputRequest& request : options.outputs) {
        QString error;
        if (!outputs.add(createOutputSink(request), error)) {
            errors << kMessagePrefix << "--output " << describeOutput(request)
                   << " cannot open: " << error << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("zaredezid-track");
    QFile csvFile;
    csvFile.open(standardOutputDiversion.csvDescriptor(), QIODevice::WriteOnly,
                 QFileDevice::DontCloseHandle);
    QTextStream out(&csvFile);
    QTextStream errors(stderr);

    const ParsedCommandLine command = parseTrackerCommandLine(QCoreApplication::arguments());
    if (!command.run && command.exitCode == 0) {
        out << command.message << '\n';
        return 0;
    }
    if (!command.run) {
        errors << kMessagePrefix << command.message << '\n';
        return command.exitCode;
    }
    if (command.options.listControls) {
        CsvTracker tracker(command.options, out);
        return listControls(command.options, tracker, out, errors);
    }
    OutputDispatcher outputs;
    if (!openOutputs(command.options, outputs, errors)) {
        return kBadInput;
    }
    CsvTracker tracker(command.options, out);
    tracker.connectOutputs(outputs);
    if (command.options.input == TrackerInput::Pictures) {
        return trackPictures(command.options, tracker, errors);
    }
    return trackDevice(command.options, tracker, outputs, errors);
}
