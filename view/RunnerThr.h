#pragma once

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

// Paces the flight view's repaints: while running it wakes every few
// milliseconds and emits ping(), which the view receives through a blocking
// queued connection, so each ping paints exactly one frame in the GUI thread
// while this thread waits for it.
//
// Pausing is separate from stopping: the view pauses the pacing while nobody
// can see it, and a paused loop sleeps on a wait condition until it is
// resumed or stopped. Resuming never starts a loop that was stopped.
class RunnerThr : public QThread {
    Q_OBJECT
public:
    RunnerThr() = default;
    ~RunnerThr() override;

    // True from startMe() until the loop has decided to leave.
    bool isPacing() const;

signals:
    void ping();

public slots:
    void startMe();
    void stopMe();
    void pauseMe();
    void resumeMe();

protected:
    void run() override;

private:
    bool leaveIfStopped();
    bool awaitResumeThenLeaveIfStopped();
    bool leaveIfStoppedLocked();

    // Guards `stop`, `paused`, `looping` and the start decision. Never held
    // while ping() is delivered, so the GUI thread can always take it while
    // this thread waits for a paint.
    mutable QMutex mutex;
    // Woken whenever `paused` is cleared or `stop` is set.
    QWaitCondition pauseEnded;
    // Written by the GUI thread, read by the pacing thread.
    bool stop = false;
    bool paused = false;
    // True while the loop keeps pacing; cleared by the loop itself, under
    // `mutex`, at the moment it decides to end.
    bool looping = false;
};
