#pragma once

#include <QImage>

// The program's launcher icon, drawn at any square size: an attitude
// indicator's ball (sky over ground, the horizon banked) with a person whose
// outstretched arms lie along the horizon, which is exactly how the program
// reads them. Every shape is laid out on a 32-unit grid and scaled, and the
// figure is drawn bold enough to stay legible at 32 pixels.
class AppIcon {
public:
    static QImage render(int size);
};
