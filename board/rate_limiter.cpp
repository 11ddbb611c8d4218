// At most N submissions a minute from one address (see rate_limiter.h).
#include "rate_limiter.h"

namespace {
constexpr std::int64_t kWindowMs = 60000;
}

bool RateLimiter::allow(const std::string& address, std::int64_t nowMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    forgetIdle(nowMs);
    std::deque<std::int64_t>& times = recent_[address];
    while (!times.empty() && times.front() <= nowMs - kWindowMs) {
        times.pop_front();
    }
    if (times.size() >= perMinute_) {
        return false;
    }
    times.push_back(nowMs);
    return true;
}

void RateLimiter::forgetIdle(std::int64_t nowMs) {
    if (nowMs - lastSweepMs_ < kWindowMs) {
        return;
    }
    lastSweepMs_ = nowMs;
    for (auto it = recent_.begin(); it != recent_.end();) {
        if (it->second.empty() || it->second.back() <= nowMs - kWindowMs) {
            it = recent_.erase(it);
        } else {
            ++it;
        }
    }
}
