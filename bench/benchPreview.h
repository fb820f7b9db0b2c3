// The 3D preview window as the preview benchmarks show it: the scene at
// 640 x 480, counted as the active window.
#pragma once

#include <QTest>

#include <cstdio>

#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/znScriptedPrompts.h"

// The shown window, or null (after printing "no display") when no display
// exposes it. The window deletes itself when closed.
inline TfrmTerGL* ShowPreview(TznTerra& terra, const char* settings_file, TznScriptedPrompts& prompts) {
  auto* window = new TfrmTerGL(terra, settings_file, prompts);
  window->IsAppInactive = [] { return false; };
  window->GLWidget().setFixedSize(640, 480);
  window->show();
  if (QTest::qWaitForWindowExposed(window)) return window;
  std::printf("no display\n");
  return nullptr;
}
