#include "view/ValueReadout.h"

#include <GL/gl.h>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kPointSize = 11;
constexpr int kPadding = 2;

QFont readoutFont() {
    QFont font(QStringLiteral("Monospace"), kPointSize, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace

void ValueReadout::show(float roll, float pitch, double devicePixelRatio) {
    const QString text = QStringLiteral("ROLL %1\nPITCH %2")
                             .arg(double(roll), 0, 'f', 1)
                             .arg(double(pitch), 0, 'f', 1);
    if (text == shownText && devicePixelRatio == rendered.devicePixelRatio())
        return;
    shownText = text;

    const QFont font = readoutFont();
    const QRect bounds = QFontMetrics(font).boundingRect(QRect(0, 0, 1000, 1000),
                                                         Qt::AlignLeft | Qt::AlignTop, text);
    const QSize size = bounds.size() + QSize(2 * kPadding, 2 * kPadding);
    rendered = QImage(size * devicePixelRatio, QImage::Format_RGBA8888);
    rendered.setDevicePixelRatio(devicePixelRatio);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(), size).adjusted(kPadding, kPadding, -kPadding, -kPadding),
                     Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    // GL reads rows from the bottom up.
    rendered = rendered.mirrored();
}

void ValueReadout::draw(int x, int top) const {
    if (rendered.isNull())
        return;
    // The projection may not be one unit per pixel, so only the corner is
    // placed in projection units; the step down to the picture's bottom row is
    // made in window pixels by an empty bitmap.
    glRasterPos2i(x, top);
    glBitmap(0, 0, 0.0f, 0.0f, 0.0f, -static_cast<float>(rendered.height()), nullptr);
    // The picture's clear pixels would still write depth and keep the
    // terrain drawn later out of the whole rectangle; only the text may.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glDrawPixels(rendered.width(), rendered.height(), GL_RGBA, GL_UNSIGNED_BYTE,
                 rendered.constBits());
    glPopAttrib();
}
