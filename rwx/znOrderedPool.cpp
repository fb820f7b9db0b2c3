#include "rwx/znOrderedPool.h"

#include <algorithm>
#include <utility>

int TznOrderedPool::MachineWorkers() { return std::max(1u, std::thread::hardware_concurrency()); }

int TznOrderedPool::WorkersFor(int requested, int items) {
  const int wanted = requested > 0 ? requested : MachineWorkers();
  return std::max(1, std::min({wanted, items, kWorkersPerCore * MachineWorkers()}));
}

TznOrderedPool::TznOrderedPool(int count, int workers, int window, std::function<void(int)> prepare)
    : count_(count), prepare_(std::move(prepare)) {
  workers = std::max(workers, 1);
  window_ = std::max(window, workers);
  limit_ = window_;
  slots_.resize(window_);
  try {
    for (int k = 0; k < workers; ++k) threads_.emplace_back([this] { Run(); });
  } catch (...) {
    Stop();
    throw;
  }
}

TznOrderedPool::~TznOrderedPool() { Stop(); }

void TznOrderedPool::Take(int index) {
  std::unique_lock<std::mutex> lock(mutex_);
  Slot& slot = slots_[index % window_];
  ready_.wait(lock, [&] { return slot.ready; });
  slot.ready = false;
  if (slot.error) std::rethrow_exception(std::exchange(slot.error, nullptr));
}

void TznOrderedPool::Release(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    limit_ = std::max(limit_, index + 1 + window_);
  }
  work_.notify_all();
}

int TznOrderedPool::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  for (std::thread& thread : threads_)
    if (thread.joinable()) thread.join();
  return next_;
}

void TznOrderedPool::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stop_ || next_ >= count_ || next_ < limit_; });
    if (stop_ || next_ >= count_) return;
    const int index = next_++;
    lock.unlock();
    std::exception_ptr error;
    try {
      prepare_(index);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    slots_[index % window_] = Slot{true, error};
    ready_.notify_all();
  }
}
