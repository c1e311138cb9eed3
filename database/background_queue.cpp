#include "database/background_queue.h"

BackgroundQueue::BackgroundQueue() : thread_([this] { run(); }) {}

BackgroundQueue::~BackgroundQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundQueue::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        ++posted_;
    }
    changed_.notify_all();
}

void BackgroundQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    if (held_ && posted_ > heldFrom_) {
        held_ = false;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return finished_ == posted_; });
}

void BackgroundQueue::hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
    heldFrom_ = posted_;
}

void BackgroundQueue::release() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    changed_.notify_all();
}

void BackgroundQueue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || (!jobs_.empty() && mayRunNext()); });
        if (jobs_.empty()) return;  // stopping, with nothing left to run
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
        ++finished_;
        changed_.notify_all();
    }
}
