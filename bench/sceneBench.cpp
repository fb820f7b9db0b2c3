// Frames per second of the offscreen binding drawing a terrain-sized scene,
// and the cost of applying a mipmapped texture with and without keeping its
// image in a texture object.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "scene/znGLOffscreenSurface.h"
#include "scene/znGLReality.h"
#include "scene/znGLTexture.h"
#include "support/jpegFiles.h"

namespace {

// One block of 64 x 64 grid cells of 1 m, two triangles per cell, on gentle
// hills.
struct Block {
  TznVertex3fArray vertices;
  TznVertex3wArray faces;
  TznVertex3fArray normals;
};

Block MakeBlock(float east, float north) {
  Block b;
  for (int j = 0; j <= 64; ++j)
    for (int i = 0; i <= 64; ++i) {
      const float x = east + i, z = -(north + j);
      b.vertices.push_back({x, 2 * std::sin(x / 7) * std::cos(z / 5), z});
    }
  for (int j = 0; j < 64; ++j)
    for (int i = 0; i < 64; ++i) {
      const uint16_t a = static_cast<uint16_t>(j * 65 + i);
      b.faces.push_back({a, uint16_t(a + 1), uint16_t(a + 66)});
      b.faces.push_back({uint16_t(a + 66), uint16_t(a + 65), a});
    }
  b.normals.resize(b.faces.size());
  ComputeFaceNormals(b.vertices, b.faces, b.normals);
  return b;
}

// Starts the reality's OpenGL over width x height pixels; false, with the
// benchmark skipped, when there is no OpenGL context.
bool StartGL(TznGLReality& reality, benchmark::State& state, int width, int height) {
  if (reality.InitGL(glDoubleBuffer, 32, 0, 0, width, height)) return true;
  state.SkipWithError("no OpenGL context");
  return false;
}

void BM_TerrainFrame(benchmark::State& state) {
  TznGLOffscreenSurface surface(640, 480);
  TznGLReality reality(surface);
  if (!StartGL(reality, state, 640, 480)) return;
  std::vector<Block> blocks;
  for (int by = 0; by < 3; ++by)
    for (int bx = 0; bx < 3; ++bx) blocks.push_back(MakeBlock(bx * 64.0f - 96, by * 64.0f));
  reality.Camera().SetXYZ(0, 10, 5);
  reality.Camera().SetPitch(-15);
  reality.ViewPort().SetZFar(250);
  reality.Background().SetFog(true);
  reality.Background().SetFogStart(50);
  reality.Background().SetFogEnd(200);
  reality.Lights().GetLight(0)->SetEnabled(true);
  reality.Lights().GetLight(0)->Position().SetXYZW(0.3f, 1, 0.2f, 0);
  reality.Materials().Front().Diffuse().SetRGB(0.4f, 0.7f, 0.3f);
  reality.SetOnPaint([&](TznGLReality& r) {
    r.Materials().Apply(glFaceFront);
    for (const Block& b : blocks) r.DrawTriangles(b.vertices, b.faces, b.normals, 0, 0);
    r.SwapBuffers();
  });
  reality.Prepare();
  for (auto _ : state) {
    reality.Paint();
    glFinish();
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["triangles"] = double(blocks.size() * blocks[0].faces.size());
  state.SetLabel(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}
BENCHMARK(BM_TerrainFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 512 x 512 JPEG of soft stripes.
std::string MakeJpeg() {
  const std::string path = (std::filesystem::temp_directory_path() / "kalvor-bench-texture.jpg").string();
  const auto stripes = [](int y, std::vector<uint8_t>& row) {
    for (int x = 0; x < 512; ++x) {
      row[x * 3] = uint8_t(x / 2);
      row[x * 3 + 1] = uint8_t(y / 2);
      row[x * 3 + 2] = uint8_t((x ^ y) & 0xFF);
    }
  };
  test::WriteJpegRows(path, 512, 512, stripes);
  return path;
}

void BM_TextureApply(benchmark::State& state) {
  TznGLOffscreenSurface surface(64, 64);
  TznGLReality reality(surface);
  if (!StartGL(reality, state, 64, 64)) return;
  const std::string path = MakeJpeg();
  TznGLTexture texture;
  if (!texture.LoadFromFile(path)) state.SkipWithError("JPEG not loaded");
  std::filesystem::remove(path);
  texture.SetMinFilter(5);  // linear-mipmap-linear
  texture.SetImageCache(state.range(0) != 0);
  for (auto _ : state) {
    texture.Apply();
    glFinish();
  }
  state.SetLabel(state.range(0) ? "image kept in a texture object" : "image sent on every Apply");
}
BENCHMARK(BM_TextureApply)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
