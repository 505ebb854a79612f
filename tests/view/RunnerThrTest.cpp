#include "view/RunnerThr.h"

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr int kSettleMilliseconds = 40;
constexpr int kPatienceMilliseconds = 2000;

// Counts pings and thread starts of one pacing thread, both delivered
// directly in the pacing thread.
class RunnerThrTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(
            &runner, &RunnerThr::ping, &runner, [this] { ++pings; }, Qt::DirectConnection);
        QObject::connect(
            &runner, &QThread::started, &runner, [this] { ++starts; }, Qt::DirectConnection);
    }

    // True when a new ping arrives within a generous bound; a loaded
    // machine may hold the pacing thread back for a while.
    bool keepsPinging() {
        const int before = pings;
        return QTest::qWaitFor([&] { return pings > before; }, kPatienceMilliseconds);
    }

    RunnerThr runner;
    std::atomic<int> pings{0};
    std::atomic<int> starts{0};
};

// However often it is called, startMe starts one pacing thread; stopMe on
// an idle thread leaves it idle, and on a running one ends the loop at its
// next wake-up.
TEST_F(RunnerThrTest, StartMeStartsOnePacingThreadAndStopMeEndsIt) {
    runner.stopMe();
    QThread::msleep(kSettleMilliseconds);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(pings, 0);

    for (int call = 0; call < 3; ++call)
        runner.startMe();
    EXPECT_TRUE(keepsPinging());
    EXPECT_TRUE(runner.isPacing());
    EXPECT_EQ(starts, 1);

    runner.stopMe();
    EXPECT_TRUE(runner.wait(kPatienceMilliseconds));
    EXPECT_FALSE(runner.isPacing());
}

// Stop and start again at every offset around the loop's wake-up, from a
// loop asleep to one that has seen the stop but not yet ended: every start
// must leave pacing running.
TEST_F(RunnerThrTest, StartRightAfterStopAlwaysLeavesPacingRunning) {
    runner.startMe();
    QThread::msleep(kSettleMilliseconds);
    for (int i = 0; i < 60; ++i) {
        runner.stopMe();
        QThread::usleep(static_cast<unsigned long>((i % 15) * 500));
        runner.startMe();
        ASSERT_TRUE(runner.isPacing()) << i;
    }
    EXPECT_TRUE(keepsPinging());
    EXPECT_TRUE(runner.isRunning());
}

// Also a paused one, as the program's exit does after a minimised run.
TEST(RunnerThrLifetimeTest, DestroyingAnIdleARunningOrAPausedThreadEndsAndJoinsIt) {
    QElapsedTimer clock;
    clock.start();
    { RunnerThr idle; }
    for (bool paused : {false, true}) {
        auto running = std::make_unique<RunnerThr>();
        running->startMe();
        QThread::msleep(20);
        if (paused)
            running->pauseMe();
        running.reset();
    }

    EXPECT_LT(clock.elapsed(), kPatienceMilliseconds);
}

// The receiver lives in a thread that, like the GUI thread at shutdown, is
// busy and not running an event loop while a ping waits for it; that thread
// then destroys the pacing thread. The destruction must not wait forever on
// the ping it has not delivered.
TEST(RunnerThrLifetimeTest, DestroyingWhilePingWaitsForTheDestroyingThreadDoesNotHang) {
    std::atomic<int> delivered{0};
    std::promise<void> finished;
    std::future<void> done = finished.get_future();

    std::thread owner([&] {
        QObject receiver;
        auto runner = std::make_unique<RunnerThr>();
        QObject::connect(
            runner.get(), &RunnerThr::ping, &receiver, [&] { ++delivered; },
            Qt::BlockingQueuedConnection);
        runner->startMe();
        QThread::msleep(50);
        runner.reset();
        finished.set_value();
    });

    const bool ended = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (ended)
        owner.join();
    else
        owner.detach();
    ASSERT_TRUE(ended) << "destroying the pacing thread hung on a blocked ping";
}

} // namespace
