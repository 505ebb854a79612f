#include "view/MainWindowControls.h"

#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "view/RunnerThr.h"

bool MainWindowControls::startStop() {
    return mainWindow->startStop();
}

void MainWindowControls::startPacing() {
    runnerThr.startMe();
}

void MainWindowControls::stopPacing() {
    runnerThr.stopMe();
}

void MainWindowControls::pausePacing() {
    runnerThr.pauseMe();
}

void MainWindowControls::resumePacing() {
    runnerThr.resumeMe();
}
