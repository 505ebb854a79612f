#pragma once

#include <QMutex>
#include <QWaitCondition>

// An event that stays signalled until it is reset, however many threads look
// at it in the meantime.
class ManualResetEvent {
public:
    void set();
    void reset();
    bool isSet() const;
    // True when the event was signalled within the time limit.
    bool waitFor(int milliseconds) const;

private:
    // Guards signalled_.
    mutable QMutex mutex_;
    mutable QWaitCondition changed_;
    bool signalled_ = false;
};
