#pragma once
// One thread that runs the jobs given to it one after another, in the order
// they were given, so the caller can go on with its own work meanwhile.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundQueue {
public:
    BackgroundQueue();
    // Runs what is still queued, then ends the thread.
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    // Queues the job behind every job given before. Never from a job.
    void post(std::function<void()> job);

    // Returns once every job given so far has run. Never from a job.
    void waitUntilIdle();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    size_t posted_ = 0;
    size_t finished_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};
