#pragma once

#include <QImage>
#include <QString>

// A text read-out of the current roll and pitch. The text is laid out with
// Qt's own text rendering into a small picture that is rebuilt only when the
// shown text changes, and blitted with glDrawPixels in every frame.
class ValueReadout {
public:
    // Lays the text out for a screen with the given device pixels per
    // logical one, so that it is as large there and as sharp.
    void show(float roll, float pitch, double devicePixelRatio = 1.0);
    // Draws with the picture's top-left corner at (x, top) of the current
    // projection, one picture pixel per device pixel; needs a current context.
    void draw(int x, int top) const;

    const QString& text() const { return shownText; }
    const QImage& picture() const { return rendered; }

private:
    QString shownText;
    QImage rendered;
};
