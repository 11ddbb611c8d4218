// The HTTP server's threads (see task_queue.h).
#include "task_queue.h"

BoundedTaskQueue::BoundedTaskQueue(std::size_t threads, std::size_t queueLimit,
                                   std::size_t busyLimit)
    : queueLimit_(queueLimit), busyLimit_(busyLimit) {
    for (std::size_t i = 0; i < threads; ++i) {
        workers_.emplace_back([this] { work(); });
    }
}

BoundedTaskQueue::~BoundedTaskQueue() {
    shutdown();
}

void BoundedTaskQueue::enqueue(std::function<void()> task) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.size() < queueLimit_ || stopping_; });
    ++inFlight_;
    tasks_.push_back(std::move(task));
    changed_.notify_all();
}

void BoundedTaskQueue::shutdown() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    for (std::thread& worker : workers_) {
        if (worker.joinable()) {
            worker.join();
        }
    }
}

void BoundedTaskQueue::work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !tasks_.empty() || stopping_; });
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
            changed_.notify_all();
        }
        task();
        --inFlight_;
    }
}
