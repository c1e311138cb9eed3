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

    // Returns once every job given so far has run, ending a hold that keeps
    // any of them. Never from a job.
    void waitUntilIdle();

    // Jobs given from now on wait until release(); those given before run
    // as ever. For work that would slow down what the caller does next.
    void hold();
    void release();

private:
    void run();
    bool mayRunNext() const { return !held_ || finished_ < heldFrom_ || stopping_; }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    size_t posted_ = 0;
    size_t finished_ = 0;
    bool stopping_ = false;
    bool held_ = false;
    size_t heldFrom_ = 0;  // the first job held, counted as posted_ counts
    std::thread thread_;
};
