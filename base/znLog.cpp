#include "base/znLog.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_mutex;
TznWarningSink g_sink;
}  // namespace

TznWarningSink SetWarningSink(TznWarningSink sink) {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::swap(g_sink, sink);
  return sink;
}

void Warn(const std::string& message) {
  TznWarningSink sink;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    sink = g_sink;
  }
  if (sink)
    sink(message);
  else
    std::fprintf(stderr, "warning: %s\n", message.c_str());
}
