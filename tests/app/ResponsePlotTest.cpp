#include "app/ResponsePlot.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

// The dot moves with every camera frame, and the window's events are
// handled between frames: however fast the points come, the plot repaints
// at most once per refresh of the display.
TEST(ResponsePlot, RepaintsAtMostOncePerRefreshOfTheDisplay) {
    QWidget window;
    auto* plot = new ResponsePlot(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const double refreshHz = plot->screen()->refreshRate() > 0 ? plot->screen()->refreshRate() : 60;
    const double refreshMs = 1000 / refreshHz;
    QTest::qWait(int(4 * refreshMs));
    PaintCounter counter(*plot);

    QElapsedTimer clock;
    clock.start();
    constexpr int kPoints = 50;
    for (int point = 1; point <= kPoints; ++point) {
        plot->setLivePoint(double(point) / kPoints, 0.5);
        QCoreApplication::processEvents();
    }
    // Qt's timers may fire up to a twentieth early.
    const double refreshesMeanwhile = 1.05 * clock.elapsed() / refreshMs;
    QTest::qWait(int(std::ceil(3 * refreshMs)));
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 2 + refreshesMeanwhile);
}
