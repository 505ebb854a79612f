#pragma once

#include <QImage>

// The two 32 x 32 icons, with transparent corners: the about box's
// information badge, and the program's emblem (the person with stretched-out
// arms on a dusk-coloured disc) used as window icon.
class IconPictures {
public:
    static constexpr int kSize = 32;

    static QImage aboutIcon();
    static QImage emblem();
};
