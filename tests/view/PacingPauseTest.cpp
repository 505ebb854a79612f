#include "app/ProcessObjects.h"
#include "view/GLWidget.h"
#include "view/RunnerThr.h"
#include "view/ViewControls.h"

#include <QHBoxLayout>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

constexpr int kSettleMilliseconds = 40;

// Switches the process-wide pacing thread, which repaints the view, the way
// the main window's controls do.
class PacingControls : public ViewControls {
public:
    bool startStop() override { return running = !running; }
    void startPacing() override { runnerThr.startMe(); }
    void stopPacing() override { runnerThr.stopMe(); }
    void pausePacing() override { runnerThr.pauseMe(); }
    void resumePacing() override { runnerThr.resumeMe(); }

private:
    bool running = false;
};

// The view sits inside a top-level window, as in the main window, and follows
// that window's state; the flight moves forward with every painted frame.
class RunnerThrFollowsWindowTest : public ::testing::Test {
protected:
    // The counter is connected before showing the window starts the pacing
    // thread, and cut off only after that thread has ended.
    void SetUp() override {
        QObject::connect(
            &runnerThr, &RunnerThr::ping, &counter, [this] { ++pings; }, Qt::DirectConnection);
        window = std::make_unique<QWidget>();
        view = new GLWidget(std::make_unique<PacingControls>(), window.get());
        (new QHBoxLayout(window.get()))->addWidget(view);
        window->resize(300, 300);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        runnerThr.stopMe();
        EXPECT_TRUE(QTest::qWaitFor([] { return !runnerThr.isRunning(); }));
        QObject::disconnect(&runnerThr, &RunnerThr::ping, &counter, nullptr);
        window.reset();
    }

    bool viewKeepsFlying() {
        const float before = view->flightState().positionX();
        return QTest::qWaitFor([&] { return view->flightState().positionX() != before; });
    }

    // Neither pings nor frames once a paint under way, or one Qt makes as
    // the window appears, has landed.
    bool pacingHoldsStill() {
        QTest::qWait(kSettleMilliseconds);
        const int pingsBefore = pings;
        const float before = view->flightState().positionX();
        QTest::qWait(kSettleMilliseconds * 2);
        return pings == pingsBefore && view->flightState().positionX() == before;
    }

    std::unique_ptr<QWidget> window;
    GLWidget* view = nullptr;
    QObject counter;
    std::atomic<int> pings{0};
};

TEST_F(RunnerThrFollowsWindowTest, MinimisedOrHiddenWindowStopsPaintingUntilShownAgain) {
    ASSERT_TRUE(viewKeepsFlying());
    using Step = void (QWidget::*)();
    const std::pair<Step, Step> concealAndReveal[] = {
        {&QWidget::showMinimized, &QWidget::showNormal}, {&QWidget::hide, &QWidget::show}};
    for (const auto& [conceal, reveal] : concealAndReveal) {
        SCOPED_TRACE(conceal == Step(&QWidget::hide) ? "hide" : "minimise");
        (window.get()->*conceal)();
        EXPECT_TRUE(pacingHoldsStill());
        const float before = view->flightState().positionX();
        view->update();
        EXPECT_EQ(view->flightState().positionX(), before) << "a concealed view paints nothing";
        (window.get()->*reveal)();
        EXPECT_TRUE(viewKeepsFlying());
    }
}

TEST_F(RunnerThrFollowsWindowTest,
       DoubleClickWhileMinimisedStopsAndStartsAndRestoringOrClosingKeepsIt) {
    window->showMinimized();
    QTest::mouseDClick(view, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([] { return !runnerThr.isRunning(); }));
    window->showNormal();
    EXPECT_TRUE(pacingHoldsStill()) << "a stopped pacer stays stopped";

    window->showMinimized();
    QTest::mouseDClick(view, Qt::LeftButton);
    EXPECT_TRUE(runnerThr.isPacing());
    EXPECT_TRUE(pacingHoldsStill());
    window->showNormal();
    EXPECT_TRUE(viewKeepsFlying());

    // The pacing thread outlives every view; one that goes away while
    // minimised must not leave it paused for the next.
    window->showMinimized();
    EXPECT_TRUE(pacingHoldsStill());
    window.reset();
    const int before = pings;
    EXPECT_TRUE(QTest::qWaitFor([&] { return pings > before; }));
}

} // namespace
