// A bounded pool for verifications: at most `workers` run at once (one per
// core: each is a CPU-bound child process) and at most `queue` more wait for
// a turn. A submission beyond that is turned away at once (the server
// answers 503 with Retry-After) instead of piling up behind the others.
//
// The waiting happens on the HTTP thread that carries the submission, so
// the server's thread pool must be larger than workers + queue for reads
// to go on while the verifiers are busy (main.cpp sizes it so).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "verifier.h"

class VerifierPool {
  public:
    VerifierPool(std::size_t workers, std::size_t queue, VerifierSettings settings);

    // The outcome of verifying `bytes`, or nothing when the pool is full.
    std::optional<VerifyOutcome> verify(const std::string& bytes);

  private:
    // Runs `job` when admitted and a worker is free; false when the pool is full.
    bool run(const std::function<void()>& job);

    const std::size_t workers_;
    const std::size_t admitted_limit_;
    const VerifierSettings settings_;
    std::mutex mutex_;
    std::condition_variable turn_;
    std::size_t admitted_ = 0;  // running or waiting
    std::size_t running_ = 0;
};
