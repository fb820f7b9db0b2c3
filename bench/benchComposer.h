// The sample's three-pair composer with its textures, as the benchmarks of
// the textured preview use it.
#pragma once

#include <memory>
#include <string>

#include "draw/znComposerTextures.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"

inline std::unique_ptr<TznRWXComposer> SampleComposer() {
  const std::string samples = KALVOR_SAMPLES_DIR;
  TznComposerBuild build = BuildComposer(ReadComposerFile(samples + "/Settings/Valley.CMP"), samples + "/Settings/",
                                         samples + "/Textures/", 0);
  LoadTextures(*build.Composer);
  return std::move(build.Composer);
}
