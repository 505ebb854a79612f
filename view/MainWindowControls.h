#pragma once

#include "view/ViewControls.h"

// The view's controls in the running program: the main window's start/stop
// and the process-wide pacing thread.
class MainWindowControls : public ViewControls {
public:
    bool startStop() override;
    void startPacing() override;
    void stopPacing() override;
    void pausePacing() override;
    void resumePacing() override;
};
