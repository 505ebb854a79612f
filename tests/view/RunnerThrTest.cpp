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
        QElapsedTimer clock;
        clock.start();
        while (pings == before && clock.elapsed() < kPatienceMilliseconds)
            QThread::msleep(1);
        return pings > before;
    }

    RunnerThr runner;
    std::atomic<int> pings{0};
    std::atomic<int> starts{0};
};

TEST_F(RunnerThrTest, StartMeOnIdleThreadStartsPacing) {
    runner.startMe();

    EXPECT_TRUE(keepsPinging());
    EXPECT_TRUE(runner.isRunning());
    EXPECT_TRUE(runner.isPacing());
}

TEST_F(RunnerThrTest, StopMeOnIdleThreadLeavesItIdleAndStartMeStillStarts) {
    runner.stopMe();
    QThread::msleep(kSettleMilliseconds);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(pings, 0);

    runner.startMe();
    EXPECT_TRUE(keepsPinging());
}

TEST_F(RunnerThrTest, StopMeOnRunningThreadEndsTheLoopAtItsNextWakeUp) {
    runner.startMe();
    runner.stopMe();

    EXPECT_TRUE(runner.wait(kPatienceMilliseconds));
    EXPECT_FALSE(runner.isPacing());
    const int pingsAfterStop = pings;
    QThread::msleep(kSettleMilliseconds);
    EXPECT_EQ(pings, pingsAfterStop);
}

TEST_F(RunnerThrTest, StartMeWhileRunningStartsNoSecondThread) {
    runner.startMe();
    runner.startMe();
    runner.startMe();

    EXPECT_TRUE(keepsPinging());
    EXPECT_EQ(starts, 1);
}

TEST_F(RunnerThrTest, StopThenStartBeforeTheLoopWakesKeepsItRunning) {
    runner.startMe();
    QThread::msleep(kSettleMilliseconds);
    runner.stopMe();
    runner.startMe();

    EXPECT_TRUE(keepsPinging());
    EXPECT_TRUE(runner.isRunning());
}

TEST_F(RunnerThrTest, StartAfterTheLoopHasDecidedToEndStillLeavesPacingRunning) {
    // Stop and start again at every offset around the loop's wake-up, so some
    // starts land after the loop has seen the stop but before it has ended.
    runner.startMe();
    for (int i = 0; i < 60; ++i) {
        runner.stopMe();
        QThread::usleep(static_cast<unsigned long>((i % 15) * 500));
        runner.startMe();
        ASSERT_TRUE(runner.isPacing()) << i;
    }
    EXPECT_TRUE(keepsPinging());
}

TEST(RunnerThrLifetimeTest, DestroyingARunningThreadEndsAndJoinsIt) {
    auto runner = std::make_unique<RunnerThr>();
    runner->startMe();
    QThread::msleep(20);
    QElapsedTimer clock;
    clock.start();

    runner.reset();

    EXPECT_LT(clock.elapsed(), kPatienceMilliseconds);
}

TEST(RunnerThrLifetimeTest, DestroyingAnIdleThreadDoesNotWait) {
    QElapsedTimer clock;
    clock.start();
    { RunnerThr runner; }

    EXPECT_LT(clock.elapsed(), 50);
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
