#pragma once

#include "app/OutputAddressDialog.h"
#include "app/OutputSettings.h"
#include "output/OutputDispatcher.h"

#include <QObject>

#include <array>

class QAction;
class QMainWindow;
namespace Ui {
class SettingsWindow;
}

// The "Outputs" menu: switches each output on and off, pauses them all,
// edits where the network ones send, and feeds the open ones every attitude the analysis
// emits. Outputs that were on when the window closed are opened again when
// it is built; one that cannot open is switched off and the user told why.
class OutputsController : public QObject {
    Q_OBJECT

public:
    OutputsController(Ui::SettingsWindow& ui, QMainWindow& window);

    void setCalibration(const Calibration& calibration);
    // Acts on the next update and is saved with the other output settings.
    void setResponse(const ResponseShaping& response);
    const ResponseShaping& response() const { return settings.response; }
    // The names of the outputs that are on, in the menu's order.
    QStringList outputsOn() const;
    // Writes which outputs are on and where they send, as closing does.
    void saveSettings();
    // Where the outputs are paused and their last attitude is kept.
    OutputDispatcher& dispatcher() { return outputs; }

signals:
    void outputsChanged();

private slots:
    void editAddresses();

private:
    struct Entry {
        OutputKind kind;
        QAction* action;
        OutputSink* sink = nullptr;
    };

    void switchOutput(Entry& entry, bool on);
    bool open(Entry& entry, QString& error);
    void close(Entry& entry);
    void reopenWithAddress(Entry& entry, const OutputAddressDialog::Address& address);
    void tellUser(const QString& message);

    QMainWindow& window;
    OutputSettings settings;
    OutputDispatcher outputs;
    std::array<Entry, 3> entries;
};
