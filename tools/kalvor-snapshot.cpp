// kalvor-snapshot: draws one frame of the 3D preview of a terrain without a
// display and writes it as a PNG picture.
#include <png.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/znCommandLine.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znLog.h"
#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "draw/znComposerTextures.h"
#include "draw/znPreviewScene.h"
#include "draw/znTerraPainter.h"
#include "import/znTerrainFile.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znRWXRunGuard.h"
#include "scene/znGLFramebuffer.h"
#include "scene/znGLOffscreenSurface.h"
#include "scene/znGLReality.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraStatus.h"
#include "tools/znExitCode.h"

namespace {

const char kUsageStart[] =
    "Usage: kalvor-snapshot TERRAIN OUT.png [options]\n"
    "\n"
    "Draws one frame of the 3D preview of the terrain offscreen and writes it as a PNG.\n"
    "TERRAIN is a Terragen .ter file or any height raster GDAL reads, loaded as\n"
    "kalvor-convert loads it with its default options.\n"
    "\n"
    "Options:\n"
    "  --mode 0|1|2             0 Terragen blocks, 1 RWX Preview, 2 RWX Texture (default 0)\n"
    "  --composer FILE.CMP      composer of the RWX Texture mode\n"
    "  --settings DIR           folder of the composer's .FTR and .MTR files\n"
    "                           (default: the composer file's folder)\n"
    "  --textures DIR           folder of the texture pictures (default: DIR/../Textures)\n"
    "  --size WxH               picture size in pixels (default 640x480)\n"
    "  --viewer N,W,A,HEADING   viewer in metres north, west and up from the origin and\n"
    "                           its heading in degrees (default: above the origin, north)\n"
    "  --pitch DEGREES          looking up (positive) or down (negative), default 0\n"
    "  --view-distance METRES   range of the RWX modes, 0 for all objects (default 50)\n";

const char kUsageEnd[] =
    "  --water METRES           water level in metres (default: the terrain's)\n"
    "  -h, --help               show this help\n"
    "  --version                show the program's version\n"
    "\n"
    "Every option with a value also takes the form --option=VALUE.\n"
    "The viewer is kept at least 1.5 m above the ground. The picture shows what the\n"
    "preview window shows: terrain, origin marker and water plane, with fog and sun.\n"
    "\n";

// The cutting options' lines come from the options themselves.
std::string Usage() {
  return kUsageStart +
         TznCuttingOptions::Help({"--object-size", "--vertices", "--mesh", "--max-error", "--fit", "--true-size"}) +
         kUsageEnd + ExitStatusHelp(",\n      no OpenGL context");
}

const char kProgram[] = "kalvor-snapshot";

struct SnapshotOptions {
  std::string terrain, picture, composer, settings, textures;
  TznRenderMode mode = TznRenderMode::Terragen;
  int width = 640, height = 480;
  bool has_viewer = false;
  double north = 0, west = 0, altitude = 0, heading = 0;
  double pitch = 0;
  bool has_water = false;
  double water = 0;
  double view_distance = 50;
  TznCuttingOptions cutting;
};

using UsageError = EznUsageError;

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

double Number(const std::string& option, const std::string& text) {
  const std::optional<double> value = ParseReal(Trim(text));
  if (!value) throw UsageError(option + ": \"" + text + "\" is not a number");
  return *value;
}

int Integer(const std::string& option, const std::string& text) {
  const std::optional<int64_t> value = ParseInt(Trim(text));
  if (!value || *value < INT32_MIN || *value > INT32_MAX)
    throw UsageError(option + ": \"" + text + "\" is not a whole number");
  return static_cast<int>(*value);
}

void ReadSize(const std::string& text, SnapshotOptions& o) {
  const std::vector<std::string> parts = SplitAt(text, 'x');
  if (parts.size() != 2) throw UsageError("--size: expected WxH");
  o.width = Integer("--size", parts[0]);
  o.height = Integer("--size", parts[1]);
  if (o.width < 1 || o.height < 1 || o.width > 8192 || o.height > 8192)
    throw UsageError("--size: width and height must lie between 1 and 8192");
}

void ReadViewer(const std::string& text, SnapshotOptions& o) {
  const std::vector<std::string> parts = SplitAt(text, ',');
  if (parts.size() != 4) throw UsageError("--viewer: expected N,W,A,HEADING");
  o.north = Number("--viewer", parts[0]);
  o.west = Number("--viewer", parts[1]);
  o.altitude = Number("--viewer", parts[2]);
  o.heading = Number("--viewer", parts[3]);
  o.has_viewer = true;
}

void AddOptions(TznCommandLine& command_line, SnapshotOptions& o) {
  command_line.AddOption("--mode", [&o](const std::string& text) {
    const std::optional<TznRenderMode> mode = RenderModeOfNumber(Integer("--mode", text));
    if (!mode) throw UsageError("--mode: expected 0, 1 or 2");
    o.mode = *mode;
  });
  command_line.AddOption("--composer", [&o](const std::string& text) { o.composer = text; });
  command_line.AddOption("--settings", [&o](const std::string& text) { o.settings = text; });
  command_line.AddOption("--textures", [&o](const std::string& text) { o.textures = text; });
  command_line.AddOption("--size", [&o](const std::string& text) { ReadSize(text, o); });
  command_line.AddOption("--viewer", [&o](const std::string& text) { ReadViewer(text, o); });
  command_line.AddOption("--pitch", [&o](const std::string& text) { o.pitch = Number("--pitch", text); });
  command_line.AddOption("--view-distance",
                         [&o](const std::string& text) { o.view_distance = Number("--view-distance", text); });
  o.cutting.AddTo(command_line);
  command_line.AddOption("--water", [&o](const std::string& text) {
    o.water = Number("--water", text);
    o.has_water = true;
  });
}

void CheckPositional(const std::vector<std::string>& positional, SnapshotOptions& o) {
  if (positional.size() != 2) throw UsageError("expected TERRAIN.ter and OUT.png");
  o.terrain = positional[0];
  o.picture = positional[1];
  if (!o.settings.empty() && o.composer.empty()) throw UsageError("--settings needs --composer");
  if (!o.textures.empty() && o.composer.empty()) throw UsageError("--textures needs --composer");
  o.cutting.FitRule();  // --fit and --true-size exclude each other
}

std::unique_ptr<TznRWXComposer> ComposerFor(const SnapshotOptions& o) {
  TznComposerBuild build = LoadComposer(o.composer, o.settings, o.textures, 0);
  for (const std::string& warning : build.Warnings) std::cerr << kProgram << ": warning: " << warning << "\n";
  LoadTextures(*build.Composer);
  return std::move(build.Composer);
}

void PlaceViewer(const SnapshotOptions& o, TznTerra& terra) {
  if (o.has_viewer)
    terra.SetViewerFromCentimetres(Round32(o.north * 100), Round32(o.west * 100), Round32(o.altitude * 100),
                                   Round32(o.heading * 10), &terra.FViewer);
  terra.FViewer.SetPitch(static_cast<float>(o.pitch));
}

void SetWater(const SnapshotOptions& o, TznTerra& terra) {
  if (!o.has_water) return;
  const double stored = o.water * 100 / terra.FScaleZ;
  if (stored < INT16_MIN || stored > INT16_MAX) throw UsageError("--water: level outside the terrain's height range");
  terra.SetWaterLevel(static_cast<int16_t>(Round32(stored)));
}

// The pixels of the bound surface, top row first, as RGB.
std::vector<uint8_t> ReadPixels(int width, int height) {
  std::vector<uint8_t> bottom_up(size_t(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
  std::vector<uint8_t> top_down(bottom_up.size());
  const size_t stride = size_t(width) * 3;
  for (int y = 0; y < height; ++y)
    std::copy_n(bottom_up.begin() + std::ptrdiff_t((height - 1 - y) * stride), stride,
                top_down.begin() + std::ptrdiff_t(y * stride));
  return top_down;
}

extern "C" void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

extern "C" void FlushNothing(png_structp) {}

// The picture as the bytes of a PNG file.
std::string PngBytes(int width, int height, const std::vector<uint8_t>& rgb) {
  std::string bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw EznError("Unable to encode the picture");
  }
  png_set_write_fn(png, &bytes, AppendPngBytes, FlushNothing);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, rgb.data() + size_t(y) * width * 3);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// The picture must be a regular file or a new one, and none of the files
// the terrain and the composer were read from.
void CheckPicturePath(const SnapshotOptions& o, const TznTerra& terra, const TznRWXComposer* composer) {
  std::vector<std::string> inputs = terra.ReadFiles();
  if (composer) {
    inputs.push_back(o.composer);
    const std::vector<std::string> read = composer->ReadFiles();
    inputs.insert(inputs.end(), read.begin(), read.end());
  }
  CheckOutputKind(o.picture);
  CheckOutputSparesInputs(o.picture, inputs, "");
}

int Snapshot(const SnapshotOptions& o) {
  TznTerra terra;
  terra.SetFitRule(o.cutting.FitRule());
  if (const std::optional<TznRasterReport> report = LoadTerrainFile(terra, o.terrain))
    for (const std::string& note : report->Notes()) std::cerr << kProgram << ": " << o.terrain << ": " << note << "\n";
  if (const std::string note = FitNote(terra); !note.empty())
    std::cerr << kProgram << ": " << o.terrain << ": " << note << "\n";
  // In the RWX modes the objects are those of the program's preview with
  // the same choices on the Basic Shape tab: adaptive ones too.
  o.cutting.ApplyTo(terra);
  terra.SetViewDistance(static_cast<float>(o.view_distance));
  std::unique_ptr<TznRWXComposer> composer = o.composer.empty() ? nullptr : ComposerFor(o);
  CheckPicturePath(o, terra, composer.get());
  if (composer) terra.SetComposer(std::move(composer));
  terra.SetRenderMode(o.mode);
  PlaceViewer(o, terra);
  SetWater(o, terra);

  TznGLOffscreenSurface surface(o.width, o.height);
  TznGLReality reality(surface);
  std::string failure;
  reality.SetOnError([&](TznGLReality&, const std::exception& e) { failure = e.what(); });
  reality.SetOnGLError([](TznGLReality& r) { std::cerr << kProgram << ": GL error: " << r.LastGLError() << "\n"; });
  if (!reality.InitGL(glDoubleBuffer, 32, 0, 0, o.width, o.height)) throw EznError("no OpenGL context: " + failure);
  TznTerraPainter painter;
  SetUpPreviewScene(reality, terra);
  // The frame of the preview window, with its altitude check on.
  reality.SetOnPrepaint([&](TznGLReality& r) { PrepaintPreviewScene(r, terra, true); });
  reality.SetOnPaint([&](TznGLReality& r) { PaintPreviewFrame(r, terra, painter); });
  // Drawn into the same kind of framebuffer as the preview window's, so
  // that the picture is the window's to the last bit.
  TznGLFramebuffer framebuffer(surface, o.width, o.height);
  PaintSettledFrame(reality, terra);
  if (!failure.empty()) throw EznError(failure);
  SaveFileAtomically(o.picture, PngBytes(o.width, o.height, ReadPixels(o.width, o.height)));
  std::cout << "mode " << FormatInt(RenderModeNumber(o.mode)) << ": " << FormatInt(terra.GetDrawnCount()) << " of "
            << FormatInt(terra.GetChunkCount()) << " drawn, " << o.picture << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TznCommandLine command_line(kProgram);
  SnapshotOptions options;
  try {
    AddOptions(command_line, options);
    const std::vector<std::string> positional = command_line.Parse(argc, argv);
    if (command_line.AnswerHelpOrVersion(Usage(), std::cout)) return 0;
    CheckPositional(positional, options);
    for (const std::string& warning : options.cutting.Warnings())
      std::cerr << kProgram << ": warning: " << warning << "\n";
    SetWarningSink([](const std::string& message) { std::cerr << kProgram << ": warning: " << message << "\n"; });
    return Snapshot(options);
  } catch (const std::exception& e) {
    return ReportError(kProgram, e, std::cerr);
  }
}
