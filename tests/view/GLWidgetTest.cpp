#include "view/GLWidget.h"
#include "app/ProcessObjects.h"
#include "tests/view/GLCanvas.h"
#include "view/RunnerThr.h"

#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records what the view switches; the controller toggles like the main
// window's startStop().
class RecordingControls : public ViewControls {
public:
    explicit RecordingControls(QStringList& calls)
        : calls(calls) {}
    bool startStop() override {
        calls << QStringLiteral("startStop");
        return running = !running;
    }
    void startPacing() override { calls << QStringLiteral("startPacing"); }
    void stopPacing() override { calls << QStringLiteral("stopPacing"); }
    void pausePacing() override { calls << QStringLiteral("pausePacing"); }
    void resumePacing() override { calls << QStringLiteral("resumePacing"); }

private:
    QStringList& calls;
    bool running = false;
};

QStringList debugLines;

class GLWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& line) { debugLines << line; });
        widget = std::make_unique<GLWidget>(std::make_unique<RecordingControls>(calls));
        widget->resize(400, 400);
        widget->show();
        (void)QTest::qWaitForWindowExposed(widget.get());
        qInstallMessageHandler(previous);
    }

    QStringList calls;
    std::unique_ptr<GLWidget> widget;
};

// Showing starts the controller and the pacing once; after that only double
// clicks stop and restart them.
TEST_F(GLWidgetTest, ShowingStartsControllerAndPacingAndOnlyDoubleClicksToggleThem) {
    QTest::qWait(50);
    EXPECT_EQ(calls, (QStringList{"startStop", "startPacing"}));
    EXPECT_EQ(debugLines.filter(QStringLiteral("LIST=")), QStringList{"LIST=false"});

    calls.clear();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        QTest::mouseClick(widget.get(), button);
    QTest::mouseMove(widget.get(), QPoint(10, 10));
    QTest::mouseMove(widget.get(), QPoint(200, 300));
    EXPECT_TRUE(calls.isEmpty()) << calls.join(',').toStdString();

    QTest::mouseDClick(widget.get(), Qt::LeftButton);
    QTest::mouseDClick(widget.get(), Qt::LeftButton);
    EXPECT_EQ(calls, (QStringList{"startStop", "stopPacing", "startStop", "startPacing"}));
}

// The estimator's level roll, 127.5, reaches the view as 90 and steers
// nowhere; ten units more bank the flight to the right.
TEST_F(GLWidgetTest, RollAndPitchSteerTheFlight) {
    struct Case {
        float roll, pitch, viewRoll, headingTarget, horizonTarget;
    };
    const Case cases[] = {{127.5f, 0.0f, 90.0f, 0.0f, 256.0f},
                          {137.5f, 20.0f, 100.0f, 10 * 3.14f / 180 / 70, 254.0f}};
    for (const Case& expected : cases) {
        widget->updateData(expected.roll, expected.pitch);
        EXPECT_FLOAT_EQ(widget->instruments().roll, expected.viewRoll);
        EXPECT_FLOAT_EQ(widget->instruments().pitch, expected.pitch);
        EXPECT_NEAR(widget->flightState().headingTarget(), expected.headingTarget, 1e-6);
        EXPECT_FLOAT_EQ(widget->flightState().horizonTarget(), expected.horizonTarget);
    }
}

// The overlay is drawn over the terrain, not hidden by it. A view squeezed to
// no height or no width still draws, into at least one pixel.
TEST_F(GLWidgetTest, FrameShowsOverlayInFrontAndZeroSizesStillDraw) {
    widget->updateData(127.5f, 0.0f);
    widget->update();
    const QImage image = widget->grabFramebuffer();

    EXPECT_TRUE(isWhite(pixelAt(image, 105, 120))) << "the scale stays over the terrain";
    EXPECT_TRUE(isWhite(pixelAt(image, 60, 205)));

    for (const QSize& squeezed : {QSize(300, 0), QSize(0, 300)}) {
        widget->resize(squeezed);
        widget->update();
        QTest::qWait(20);
    }
    EXPECT_GE(widget->instruments().viewHeight, 1);
    EXPECT_GE(widget->instruments().viewWidth, 1);
}

TEST_F(GLWidgetTest, ClosingTheViewWhilePingIsBlockedReleasesThePacing) {
    runnerThr.startMe();
    // The GUI thread processes no events now, so a ping waits for it.
    QThread::msleep(30);
    widget.reset();
    runnerThr.stopMe();

    EXPECT_TRUE(runnerThr.wait(2000));
}

} // namespace
