#include "views/znMapThread.h"

#include <exception>

#include "views/znMapShading.h"

TMapTh::TMapTh(const TznTerra& terra) : FTerra(terra) {}

void TMapTh::run() {
  try {
    FCompleted = ShadeMap(FTerra, FPicture, [this] { return isInterruptionRequested(); });
  } catch (const std::exception& error) {
    FErrorMessage = error.what();
  }
}
