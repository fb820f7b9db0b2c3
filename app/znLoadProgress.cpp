#include "app/znLoadProgress.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "base/znRound.h"
#include "base/znSafeFile.h"

TznLoadProgress::TznLoadProgress(const std::string& file_name, TClock clock)
    : FClock(std::move(clock)), FStart(FClock()), FText("Loading " + ExtractFileName(file_name) + "…") {}

double TznLoadProgress::SteadyNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int TznLoadProgress::Percent(double done) { return Round32(std::clamp(done, 0.0, 1.0) * 100.0); }

bool TznLoadProgress::Due() const { return FClock() - FStart >= kShowAfter; }
