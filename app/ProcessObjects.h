#pragma once

#include <QRgb>
#include <QVector>

class CXGLReader;
class QLabel;
class RunnerThr;
class SettingsWindow;
class VideoInputThr;
class VideoProcessor;

// The objects that live for the whole process. Each program defines them in a
// single translation unit, in the order listed here, so that they are built
// before main() in a fixed order and destroyed in the reverse one: the pacing
// thread and the model reader exist before anything can paint, the palette
// before any picture is made, and the capture thread, built last, is stopped
// first, before the analysis it feeds goes away.
extern RunnerThr runnerThr;
extern CXGLReader xglReader;
extern QVector<QRgb> grayPalette;
extern VideoProcessor videoProcessor;
extern VideoInputThr videoInputThr;

// Published by the main window while it is being built.
extern SettingsWindow* mainWindow;
extern QLabel* outputLabel;
