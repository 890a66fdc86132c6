// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/work_lanes.h"

namespace kes {

WorkLanes::WorkLanes(unsigned lanes) : count_(lanes < 1 ? 1 : lanes) {
    threads_.reserve(count_ - 1);
    for (unsigned k = 1; k < count_; ++k)
        threads_.emplace_back([this, k] { Serve(k); });
}

WorkLanes::~WorkLanes() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    start_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void WorkLanes::Run(Job job, void* context) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = job;
        context_ = context;
        running_ = count_ - 1;
        ++generation_;
    }
    start_.notify_all();
    job(context, 0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
}

void WorkLanes::Serve(unsigned lane) {
    unsigned long seen = 0;
    for (;;) {
        Job job = nullptr;
        void* context = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            start_.wait(lock, [&] { return quit_ || generation_ != seen; });
            if (quit_) return;
            seen = generation_;
            job = job_;
            context = context_;
        }
        job(context, lane);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --running_;
        }
        done_.notify_one();
    }
}

} // namespace kes
