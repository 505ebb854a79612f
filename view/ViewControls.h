#pragma once

// What the flight view switches when it is first shown, on a double click
// and while it is out of sight: the whole controller (capture) and the
// repaint pacing. The program
// uses MainWindowControls; tests put a recording double in its place.
class ViewControls {
public:
    virtual ~ViewControls() = default;
    // Starts or stops the controller; true when it runs afterwards.
    virtual bool startStop() = 0;
    virtual void startPacing() = 0;
    virtual void stopPacing() = 0;
    // Holds the pacing back while nobody can see the view, without changing
    // whether it is started or stopped.
    virtual void pausePacing() = 0;
    virtual void resumePacing() = 0;
};
