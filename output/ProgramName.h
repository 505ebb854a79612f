#pragma once

#include <QString>

// What heads the program's lines on standard error: the running program's
// file name, so that the window and the tracker each sign their own, or
// "zaredezid" while there is no application object to ask.
QString programName();
