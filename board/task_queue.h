// The HTTP server's threads: a fixed number of workers behind a bounded
// queue of connections, with a count of the connections in flight.
//
// cpp-httplib's own pool queues without limit and cannot refuse work (its
// enqueue returns nothing), so this one does two things instead: when more
// than `busyLimit` connections are in flight (queued or being served) the
// server answers new requests 503 at once (see http_guard.h), which costs
// almost nothing and empties the queue fast; and when `queueLimit`
// connections already wait, the accepting thread waits too, so the rest
// stay in the kernel's listen backlog instead of in memory.
#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class BoundedTaskQueue : public httplib::TaskQueue {
  public:
    BoundedTaskQueue(std::size_t threads, std::size_t queueLimit, std::size_t busyLimit);
    ~BoundedTaskQueue() override;

    void enqueue(std::function<void()> task) override;
    // Runs every queued task, then ends the workers.
    void shutdown() override;

    // Connections queued or being served, beyond the limit.
    bool overloaded() const { return inFlight_.load() > busyLimit_; }

  private:
    void work();

    const std::size_t queueLimit_;
    const std::size_t busyLimit_;
    std::atomic<std::size_t> inFlight_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
