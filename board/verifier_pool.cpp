// A bounded pool for verifications (see verifier_pool.h).
#include "verifier_pool.h"

VerifierPool::VerifierPool(std::size_t workers, std::size_t queue, VerifierSettings settings)
    : workers_(workers), admitted_limit_(workers + queue), settings_(std::move(settings)) {}

std::optional<VerifyOutcome> VerifierPool::verify(const std::string& bytes) {
    VerifyOutcome outcome;
    if (!run([&] { outcome = verifyRecording(settings_, bytes); })) {
        return std::nullopt;
    }
    return outcome;
}

bool VerifierPool::run(const std::function<void()>& job) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (admitted_ >= admitted_limit_) {
        return false;
    }
    ++admitted_;
    turn_.wait(lock, [this] { return running_ < workers_; });
    ++running_;
    lock.unlock();
    struct Leave {
        VerifierPool& pool;
        ~Leave() {
            std::lock_guard<std::mutex> guard(pool.mutex_);
            --pool.running_;
            --pool.admitted_;
            pool.turn_.notify_one();
        }
    } leave{*this};
    job();
    return true;
}
