#include "app/remote/RemoteControl.h"

#include "output/OutputDispatcher.h"

void RemoteControl::attach(OutputDispatcher& dispatcher) {
    outputs = &dispatcher;
    connect(outputs, &OutputDispatcher::pausedChanged, this,
            [this](bool pause) { emit propertyChanged("Paused", pause); });
    outputs->setPaused(pausedBeforeAttach);
}

void RemoteControl::setSource(const QString& name) {
    if (name == sourceName)
        return;
    sourceName = name;
    emit propertyChanged("Source", sourceName);
}

void RemoteControl::setTracking(const QString& state) {
    if (state == trackingState)
        return;
    trackingState = state;
    emit propertyChanged("Tracking", trackingState);
}

bool RemoteControl::paused() const {
    return outputs ? outputs->isPaused() : pausedBeforeAttach;
}

double RemoteControl::roll() const {
    return outputs ? outputs->lastSent().roll : 0.0;
}

double RemoteControl::pitch() const {
    return outputs ? outputs->lastSent().pitch : 0.0;
}

void RemoteControl::Centre() {
    emit centreRequested();
}

void RemoteControl::Pause() {
    setPaused(true);
}

void RemoteControl::Resume() {
    setPaused(false);
}

void RemoteControl::TogglePause() {
    setPaused(!paused());
}

void RemoteControl::Activate() {
    emit activationRequested();
}

void RemoteControl::setPaused(bool pause) {
    if (outputs) {
        outputs->setPaused(pause);
    } else if (pause != pausedBeforeAttach) {
        pausedBeforeAttach = pause;
        emit propertyChanged("Paused", pause);
    }
}
