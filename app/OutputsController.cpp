#include "app/OutputsController.h"

#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "app/UiSettingsWindow.h"
#include "output/OutputSinkFactory.h"

#include <QAction>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>

namespace {
QString outputName(OutputKind kind) {
    switch (kind) {
    case OutputKind::Joystick:
        return OutputsController::tr("joystick");
    case OutputKind::Opentrack:
        return OutputsController::tr("opentrack");
    case OutputKind::FlightGear:
        return OutputsController::tr("FlightGear");
    }
    return {};
}
} // namespace

// The entries are listed in the order of OutputKind, so that a kind is also
// the position of its entry.
OutputsController::OutputsController(Ui::SettingsWindow& ui, QMainWindow& window)
    : window(window)
    , entries{{{OutputKind::Joystick, ui.actionJoystick},
               {OutputKind::Opentrack, ui.actionOpentrack},
               {OutputKind::FlightGear, ui.actionFlightGear}}} {
    outputs.setResponse(settings.response);
    QStringList failures;
    for (Entry& entry : entries) {
        connect(entry.action, &QAction::triggered, this,
                [this, &entry](bool checked) { switchOutput(entry, checked); });
        QString error;
        if (settings.choice(entry.kind).enabled && !open(entry, error))
            failures << error;
    }
    if (!failures.isEmpty())
        tellUser(failures.join("\n\n"));

    // A pause is never stored: every start begins with the outputs live.
    QAction* pause = ui.actionPauseOutputs;
    connect(pause, &QAction::toggled, &outputs, &OutputDispatcher::setPaused);
    connect(&outputs, &OutputDispatcher::pausedChanged, pause, &QAction::setChecked);
    connect(ui.actionNetworkAddresses, &QAction::triggered, this,
            &OutputsController::editAddresses);
    // The message stays until the next one: the dispatcher reports a failing
    // output once, not at every frame, so it must not vanish after a moment.
    QStatusBar* statusBar = ui.statusBar;
    connect(&outputs, &OutputDispatcher::sendFailed, statusBar,
            [statusBar](const QString& message) { statusBar->showMessage(message); });
    connect(&videoProcessor, &VideoProcessor::dataUpdate, &outputs, &OutputDispatcher::dataUpdate);
}

void OutputsController::setCalibration(const Calibration& calibration) {
    outputs.setCalibration(calibration);
}

void OutputsController::setResponse(const ResponseShaping& response) {
    settings.response = response;
    outputs.setResponse(response);
}

void OutputsController::saveSettings() {
    settings.save();
}

QStringList OutputsController::outputsOn() const {
    QStringList names;
    for (const Entry& entry : entries) {
        if (entry.sink)
            names << outputName(entry.kind);
    }
    return names;
}

void OutputsController::switchOutput(Entry& entry, bool on) {
    QString error;
    if (!on)
        close(entry);
    else if (!open(entry, error))
        tellUser(error);
}

// The entry's check mark and the stored state follow what is really open, so
// an output that failed is neither shown as on nor tried again at the next run.
bool OutputsController::open(Entry& entry, QString& error) {
    OutputSettings::Choice& choice = settings.choice(entry.kind);
    entry.sink = outputs.add(createOutputSink({entry.kind, choice.host, choice.port}), error);
    choice.enabled = entry.sink != nullptr;
    entry.action->setChecked(choice.enabled);
    emit outputsChanged();
    return choice.enabled;
}

void OutputsController::close(Entry& entry) {
    if (entry.sink)
        outputs.remove(entry.sink);
    entry.sink = nullptr;
    settings.choice(entry.kind).enabled = false;
    entry.action->setChecked(false);
    emit outputsChanged();
}

void OutputsController::editAddresses() {
    const auto addressOf = [this](OutputKind kind) {
        const OutputSettings::Choice& choice = settings.choice(kind);
        return OutputAddressDialog::Address{choice.host, choice.port};
    };
    auto* dialog = new OutputAddressDialog(addressOf(OutputKind::Opentrack),
                                           addressOf(OutputKind::FlightGear), &window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        reopenWithAddress(entries[std::size_t(OutputKind::Opentrack)], dialog->opentrack());
        reopenWithAddress(entries[std::size_t(OutputKind::FlightGear)], dialog->flightGear());
    });
    dialog->open();
}

// An output that is on moves to its new address at once.
void OutputsController::reopenWithAddress(Entry& entry,
                                          const OutputAddressDialog::Address& address) {
    OutputSettings::Choice& choice = settings.choice(entry.kind);
    choice.host = address.host;
    choice.port = address.port;
    if (!entry.sink)
        return;
    close(entry);
    QString error;
    if (!open(entry, error))
        tellUser(error);
}

// The box is shown from the event loop and does not block: at start the
// window is not yet on screen, and an output failing from the menu must not
// hold up the frames meanwhile.
void OutputsController::tellUser(const QString& message) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, tr("Outputs"), message, QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QMetaObject::invokeMethod(
        box, [box] { box->open(); }, Qt::QueuedConnection);
}
