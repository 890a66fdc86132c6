// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A few threads that run the same job side by side, each on its own lane
// number, and wait for one another at the end: the balancing evaluates the
// settings of one design this way on every core. The threads are started
// once, so a run of thousands of jobs starts none and allocates nothing.

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kes {

class WorkLanes {
  public:
    using Job = void (*)(void* context, unsigned lane);

    // lanes: how many jobs run at once, counting the caller's own thread.
    explicit WorkLanes(unsigned lanes);
    ~WorkLanes();
    WorkLanes(const WorkLanes&) = delete;
    WorkLanes& operator=(const WorkLanes&) = delete;

    unsigned Count() const { return count_; }
    // Runs job(context, k) for every lane k, lane 0 on the calling thread,
    // and returns when all have finished.
    void Run(Job job, void* context);

  private:
    void Serve(unsigned lane);

    unsigned count_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable start_, done_;
    Job job_ = nullptr;
    void* context_ = nullptr;
    unsigned long generation_ = 0;
    unsigned running_ = 0;
    bool quit_ = false;
};

} // namespace kes
