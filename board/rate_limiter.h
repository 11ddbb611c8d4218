// At most N submissions a minute from one address, counted by this
// instance (several instances behind a balancer each count their own).
//
// A sliding window: the times of the last N accepted attempts per address;
// addresses with nothing in the last minute are forgotten, so the memory
// is bounded by the addresses active in one minute.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
  public:
    explicit RateLimiter(std::size_t perMinute) : perMinute_(perMinute) {}

    // Counts an attempt from `address` at `nowMs`; false when over the limit.
    bool allow(const std::string& address, std::int64_t nowMs);

  private:
    void forgetIdle(std::int64_t nowMs);

    const std::size_t perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<std::int64_t>> recent_;
    std::int64_t lastSweepMs_ = 0;
};
