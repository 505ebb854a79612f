#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class RemoteControl;

// The program on the session bus: it serves its remote control under the
// well-known name, so that desktop shortcuts, scripts and a second start can
// reach it, or it calls the instance that already does.
class ControlBus : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kServiceName = "io.github.zaredezid";
    static constexpr const char* kObjectPath = "/io/github/zaredezid";
    static constexpr const char* kInterface = "io.github.zaredezid.Control";

    enum class Outcome { Published, NoBus, NameTaken };

    explicit ControlBus(RemoteControl& control, QObject* parent = nullptr);
    // Gives the name back, so that the next instance can take it at once.
    ~ControlBus() override;

    // Exports the control and takes the name; otherwise why says what
    // stopped it.
    Outcome publish(QString& why);

    // Calls a method of the instance that owns the name and waits for its
    // answer; on failure error says why, for the user.
    static bool callRunning(const QString& method, QString& error);

private:
    void announce(const QString& property, const QVariant& value);

    RemoteControl& control;
    bool published = false;
};
