// Runs a piece of cleanup when the scope it guards ends, however it ends:
// normally, by a break or by an exception.
#pragma once

#include <utility>

template <typename F>
class TznScopeGuard {
 public:
  explicit TznScopeGuard(F on_exit) : FOnExit(std::move(on_exit)) {}
  ~TznScopeGuard() { FOnExit(); }
  TznScopeGuard(const TznScopeGuard&) = delete;
  TznScopeGuard& operator=(const TznScopeGuard&) = delete;

 private:
  F FOnExit;
};
