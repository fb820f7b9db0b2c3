// One worker thread that runs one job at a time: the batch writer prepares
// the next object's model on it while the calling thread saves the current
// one, so that formatting and writing overlap.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

class TznBackgroundJob {
 public:
  TznBackgroundJob();
  // Waits for a running job, then ends the thread.
  ~TznBackgroundJob();
  TznBackgroundJob(const TznBackgroundJob&) = delete;
  TznBackgroundJob& operator=(const TznBackgroundJob&) = delete;

  // Starts a job; the previous one must have been waited for.
  void Start(std::function<void()> job);
  // Waits until the started job is done and rethrows what it threw. Does
  // nothing when no job is pending.
  void Wait();
  bool Pending() const { return pending_; }

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::function<void()> job_;
  std::exception_ptr error_;
  bool has_job_ = false, finished_ = false, quit_ = false;
  bool pending_ = false;  // started and not yet waited for (caller's side)
  std::thread thread_;
};
