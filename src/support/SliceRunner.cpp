#include "support/SliceRunner.h"

#include <system_error>

namespace transref {

SliceRunner::SliceRunner(int slices) : slices_(slices < 1 ? 1 : slices) {}

SliceRunner::~SliceRunner() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  start_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void SliceRunner::Run(const Task& task) {
  if (!started_) {
    started_ = true;
    try {
      for (int slice = 1; slice < slices_; ++slice) threads_.emplace_back([this, slice] { Work(slice); });
    } catch (const std::system_error&) {
      // As many slices as threads were started, plus the calling thread's.
    }
    slices_ = static_cast<int>(threads_.size()) + 1;
  }
  if (slices_ == 1) {
    task(0, 1);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    task_ = &task;
    pending_ = slices_ - 1;
    failure_ = nullptr;
    ++generation_;
  }
  start_.notify_all();
  std::exception_ptr own;
  try {
    task(0, slices_);
  } catch (...) {
    own = std::current_exception();
  }
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
  task_ = nullptr;
  if (own) std::rethrow_exception(own);
  if (failure_) std::rethrow_exception(failure_);
}

void SliceRunner::Work(int slice) {
  std::uint64_t seen = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    start_.wait(lock, [&] { return stop_ || generation_ != seen; });
    if (stop_) return;
    seen = generation_;
    const Task& task = *task_;
    const int slices = slices_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      task(slice, slices);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace transref
