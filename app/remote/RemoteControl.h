#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class OutputDispatcher;

// What the program offers to be controlled from outside its window: recentre,
// pause the outputs, bring the window forward, and read the attitude the
// outputs were last given and whether the arms are tracked. The bus adaptor generated from the
// interface's description calls the slots and reads the properties by their D-Bus names.
class RemoteControl : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Paused READ paused)
    Q_PROPERTY(double Roll READ roll)
    Q_PROPERTY(double Pitch READ pitch)
    Q_PROPERTY(QString Source READ source)
    Q_PROPERTY(QString Tracking READ tracking)

public:
    using QObject::QObject;

    // Pausing and the attitude act on these outputs from now on; a pause
    // asked for before they existed is applied to them at once.
    void attach(OutputDispatcher& dispatcher);
    void setSource(const QString& name);
    // "tracking", "searching" or "lost", as the estimator last had it.
    void setTracking(const QString& state);

    bool paused() const;
    double roll() const;
    double pitch() const;
    QString source() const { return sourceName; }
    QString tracking() const { return trackingState; }

public slots:
    void Centre();
    void Pause();
    void Resume();
    void TogglePause();
    void Activate();

signals:
    void centreRequested();
    void activationRequested();
    // Only for the properties that announce their changes: Paused, Source,
    // Tracking.
    void propertyChanged(const QString& name, const QVariant& value);

private:
    void setPaused(bool pause);

    OutputDispatcher* outputs = nullptr;
    bool pausedBeforeAttach = false;
    QString sourceName;
    QString trackingState = QStringLiteral("searching");
};
