// One task run over several slices of work at once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace transref {

// Runs a task once for every slice: slice 0 on the calling thread, the
// others on threads started at the first Run and kept until destruction, so
// that a run of many small tasks does not start threads for each. Run
// returns when every slice is done; an exception thrown by a slice is
// thrown again from Run. When the system refuses a thread, fewer slices
// are run (at least one): the task is told how many.
class SliceRunner {
 public:
  explicit SliceRunner(int slices);
  ~SliceRunner();
  SliceRunner(const SliceRunner&) = delete;
  SliceRunner& operator=(const SliceRunner&) = delete;

  using Task = std::function<void(int slice, int slices)>;
  void Run(const Task& task);

 private:
  void Work(int slice);

  int slices_;
  bool started_ = false;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable done_;
  const Task* task_ = nullptr;
  std::uint64_t generation_ = 0;
  int pending_ = 0;
  bool stop_ = false;
  std::exception_ptr failure_;
};

}  // namespace transref
