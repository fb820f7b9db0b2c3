#include "base/znClock.h"

#include <chrono>

#include "base/znRound.h"

TDateTime StampNow() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const double seconds = duration_cast<duration<double>>(now).count();
  // 25569 days lie between 1899-12-30 and 1970-01-01.
  return 25569.0 + seconds / 86400.0 - 1.0 / 12.0;
}

int DateTimeToUnix(TDateTime t) {
  try {
    return Round32((t - 25569.0) * 86400.0);
  } catch (const EznRoundError&) {
    return 0;
  }
}
