#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal delivered in the GUI thread, so
// that a terminal's Ctrl+C or a session logout ends the event loop normally
// and the main window is destroyed (and the settings saved) as on any close.
// A signal handler may only do async-signal-safe work, so it writes one byte
// into a socket pair whose reading end the event loop watches.
class UnixSignalQuitter : public QObject {
    Q_OBJECT

public:
    explicit UnixSignalQuitter(QObject* parent = nullptr);
    ~UnixSignalQuitter() override;

    bool quitWasRequested() const { return quitRequestedOnce; }

signals:
    void quitRequested();

private:
    void readSignal();

    QSocketNotifier* notifier = nullptr;
    bool quitRequestedOnce = false;
};
