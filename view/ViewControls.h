#pragma once

// What the flight view switches when it is first shown and on a double
// click: the whole controller (capture) and the repaint pacing. The program
// uses MainWindowControls; tests put a recording double in its place.
class ViewControls {
public:
    virtual ~ViewControls() = default;
    // Starts or stops the controller; true when it runs afterwards.
    virtual bool startStop() = 0;
    virtual void startPacing() = 0;
    virtual void stopPacing() = 0;
};
