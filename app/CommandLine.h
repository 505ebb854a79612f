#pragma once

#include <QString>
#include <QStringList>

// What the user asked for on the command line. Qt's own options (-platform,
// -style, …) are taken out by QApplication before these are read.
class CommandLine {
public:
    enum class Action { Run, ShowHelp, ShowVersion, ControlRunning, Fail };

    explicit CommandLine(const QStringList& arguments);

    Action action() const { return requested; }
    QString errorText() const { return error; }
    bool wantsDemoCamera() const { return demoCamera; }
    QStringList videoFiles() const { return videos; }
    // The method of the running instance's remote control to call, for
    // ControlRunning.
    QString remoteMethod() const { return method; }

    static QString helpText(const QString& programName);
    static QString versionText();
    static bool asksOnlyForInformation(const QStringList& arguments);
    static bool asksToControlRunning(const QStringList& arguments);

private:
    void fail(const QString& text);

    Action requested = Action::Run;
    QString error;
    bool demoCamera = false;
    QStringList videos;
    QString method;
};
