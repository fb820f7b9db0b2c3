#include "rwx/znBackgroundJob.h"

TznBackgroundJob::TznBackgroundJob() : thread_([this] { Run(); }) {}

TznBackgroundJob::~TznBackgroundJob() {
  try {
    Wait();
  } catch (...) {
    // The job's error was the caller's to collect; it is dropped here.
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TznBackgroundJob::Start(std::function<void()> job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = std::move(job);
    error_ = nullptr;
    has_job_ = true;
    finished_ = false;
  }
  pending_ = true;
  wake_.notify_all();
}

void TznBackgroundJob::Wait() {
  if (!pending_) return;
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return finished_; });
  pending_ = false;
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void TznBackgroundJob::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || has_job_; });
    if (quit_) return;
    std::function<void()> job = std::move(job_);
    has_job_ = false;
    lock.unlock();
    std::exception_ptr error;
    try {
      job();
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    error_ = error;
    finished_ = true;
    done_.notify_all();
  }
}
