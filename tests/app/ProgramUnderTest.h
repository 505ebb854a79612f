#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program, started as a user would start it but with an empty
// configuration folder of its own, under the display the tests run on.
class ProgramUnderTest {
public:
    ProgramUnderTest();
    ~ProgramUnderTest();

    void start(const QStringList& arguments = {});
    // Runs the program to its end and returns what it printed on stdout.
    QString runToCompletion(const QStringList& arguments);
    bool waitForMainWindow();
    bool terminateAndWait();
    void removeDisplay();

    QProcess& process() { return program; }
    QString settingsFile() const;

private:
    QTemporaryDir configHome;
    QProcess program;
};
