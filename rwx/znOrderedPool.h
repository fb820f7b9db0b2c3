// A pool of worker threads that prepares the items 0 .. count - 1 of a run
// while the calling thread takes them strictly in order. Item i starts only
// once the caller has released item i - window, so at most window items are
// prepared or being prepared ahead of the caller, whatever the count: the
// batch writer builds and formats objects on every core, and saves them in
// order on its own thread.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TznOrderedPool {
 public:
  // The number of workers that uses every core of the machine.
  static int MachineWorkers();
  // The workers for a run of items when requested are asked for (0: one
  // per core): no more than the items, nor than kWorkersPerCore per core,
  // and at least one. More threads only cost memory and switching.
  static int WorkersFor(int requested, int items);
  static constexpr int kWorkersPerCore = 4;

  // Starts the workers (at least one); window is raised to at least the
  // number of workers. prepare(i) runs on a worker thread; what it throws
  // is handed to the caller by Take(i).
  TznOrderedPool(int count, int workers, int window, std::function<void(int)> prepare);
  // Stops as Stop does.
  ~TznOrderedPool();
  TznOrderedPool(const TznOrderedPool&) = delete;
  TznOrderedPool& operator=(const TznOrderedPool&) = delete;

  int Window() const { return window_; }
  // Waits until item index, the next in order, is prepared, and rethrows
  // what its preparation threw.
  void Take(int index);
  // The caller is done with item index: item index + window may start.
  void Release(int index);
  // Starts no further item, waits for the running ones and ends the
  // workers. Returns how many items were started (0 .. that number - 1 are
  // all prepared now). Calling it again returns the same number.
  int Stop();

 private:
  struct Slot {
    bool ready = false;
    std::exception_ptr error;
  };
  void Run();

  const int count_;
  int window_;
  std::function<void(int)> prepare_;
  std::mutex mutex_;
  std::condition_variable work_, ready_;
  std::vector<Slot> slots_;  // item i uses slot i % window
  int next_ = 0;             // the next item a worker starts
  int limit_;                // items below it may start
  bool stop_ = false;
  std::vector<std::thread> threads_;
};
