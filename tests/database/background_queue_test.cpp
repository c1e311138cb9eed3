#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "database/background_queue.h"

TEST(BackgroundQueue, RunsJobsInTheOrderGivenAndWaitsForTheSlowOnes) {
    BackgroundQueue queue;
    std::mutex mutex;
    std::vector<int> ran;
    for (int job = 0; job < 50; ++job)
        queue.post([&, job] {
            if (job % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::lock_guard lock(mutex);
            ran.push_back(job);
        });
    queue.waitUntilIdle();
    std::lock_guard lock(mutex);
    ASSERT_EQ(ran.size(), 50u);
    for (int job = 0; job < 50; ++job) EXPECT_EQ(ran[size_t(job)], job);
}

TEST(BackgroundQueue, RunsWhatIsStillQueuedBeforeItEnds) {
    std::atomic<int> ran = 0;
    {
        BackgroundQueue queue;
        for (int job = 0; job < 3; ++job)
            queue.post([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                ++ran;
            });
    }
    EXPECT_EQ(ran, 3);
}

TEST(BackgroundQueue, WaitingWithNothingGivenReturnsAtOnceAndAgainAfterMoreWork) {
    BackgroundQueue queue;
    queue.waitUntilIdle();
    std::atomic<bool> done = false;
    queue.post([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        done = true;
    });
    queue.waitUntilIdle();
    EXPECT_TRUE(done);
}

TEST(BackgroundQueue, JobsGivenDuringAHoldWaitForItsEndOrForAWait) {
    BackgroundQueue queue;
    std::atomic<int> ran = 0;
    queue.post([&] { ++ran; });
    queue.hold();
    queue.waitUntilIdle();  // for the job given before the hold, which keeps it
    EXPECT_EQ(ran, 1);
    queue.post([&] { ran += 10; });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(ran, 1);
    queue.release();
    queue.waitUntilIdle();
    EXPECT_EQ(ran, 11);
    queue.hold();
    queue.post([&] { ran += 100; });
    queue.waitUntilIdle();
    EXPECT_EQ(ran, 111);
}
