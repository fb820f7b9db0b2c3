// Composer, material and filter files on arbitrary text, through the same
// composer build as the program and the converter. The input holds up to
// five files separated by form feeds: the composer "Fuzz.CMP", then
// "a.MTR", "b.FTR", "c.MTR" and "d.FTR" in its Settings folder.
// Properties: the composer has one pair per row plus the catch-all pair,
// every pair complete; property values stay in their ranges; saving what was
// read and reading it again changes nothing; every triangle of an object
// gets a pair, and the RWX text is written.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/znError.h"
#include "fuzzSupport.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunk.h"
#include "rwx/znRWXModelWriter.h"
#include "terrain/znTerra.h"
#include "terrain/znTerragenWriter.h"

namespace {

namespace fs = std::filesystem;

const char* const kFileNames[] = {"Fuzz.CMP", "a.MTR", "b.FTR", "c.MTR", "d.FTR"};
constexpr size_t kFileCount = sizeof kFileNames / sizeof kFileNames[0];
// Pairs whose files are saved and read again; a composer may have thousands.
constexpr int kRoundTripPairs = 4;

fs::path SettingsFolder() { return fuzz::TempFolder() / "Settings"; }

// Writes the parts of the input as the Settings folder's files; files of
// parts the input lacks are removed, so no earlier input leaks in.
void WriteSettings(std::string_view input) {
  fs::create_directories(SettingsFolder());
  for (size_t k = 0; k < kFileCount; ++k) {
    const fs::path path = SettingsFolder() / kFileNames[k];
    if (input.data() == nullptr) {
      fs::remove(path);
      continue;
    }
    const size_t end = k + 1 < kFileCount ? input.find('\f') : std::string_view::npos;
    fuzz::WriteBytes(path, input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
}

void CheckMaterial(const TznRWXMaterial& m) {
  auto unit = [](float v) { return v >= 0 && v <= 1; };
  fuzz::Require(unit(m.Opacity()) && unit(m.Ambient()) && unit(m.Diffuse()) && unit(m.Specular()),
                "material coefficients lie in 0..1");
  fuzz::Require((m.Texturemodes() & ~kAllTexturemodes) == 0, "texture modes are members of the set");
  fuzz::Require(m.Color() <= 0xFFFFFF, "colours are three bytes");
}

// Saving, reading into a new object and saving again gives the same file.
template <typename T>
void CheckSavedTwiceAlike(const T& object, const char* property) {
  const fs::path first = fuzz::TempFolder() / "first", second = fuzz::TempFolder() / "second";
  fs::remove(first);
  fs::remove(second);
  object.SaveToFile(first.string());
  T reread;
  reread.LoadFromFile(first.string());
  reread.SaveToFile(second.string());
  fuzz::Require(fuzz::ReadBytes(first) == fuzz::ReadBytes(second), property);
}

// 3 x 3 points 10 m apart: a slope with a step, so that filters on height
// and gradient both have something to tell apart.
const TznTerra& TinyTerrain() {
  static TznTerra terra;
  static bool loaded = false;
  if (!loaded) {
    TznTerragenChunks chunks;
    chunks.XPoints = chunks.YPoints = 3;
    chunks.ScaleX = chunks.ScaleY = 10;
    chunks.ScaleZ = 100;
    const int16_t raw[] = {0, 10, 20, 50, 300, 70, 80, 90, 100};
    const std::string b = TerragenBytes(chunks, [&raw](int32_t i, int32_t j) { return raw[j * 3 + i]; });
    loaded = terra.LoadFromMemory(b.data(), b.size(), "tiny.ter");
  }
  return terra;
}

void CheckObject(const TznRWXComposer& composer) {
  const TznTerra& terra = TinyTerrain();
  auto builder = [&terra](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t sx, int32_t sz, int32_t cx, int32_t cz,
                          uint8_t e) { return terra.BuildRWXMesh(mesh, x0, z0, sx, sz, cx, cz, e); };
  // One 20 m object over the whole terrain, 3 vertices per 10 m, skirts all round.
  TznRWXChunk chunk(0, builder, &terra, 15, 0, 0, 2, 2, 2000, 2000, 0);
  chunk.Build();
  chunk.AssignFaces(composer);
  const std::vector<int>& pairs = chunk.Mesh.FacePairs;
  fuzz::Require(pairs.size() == chunk.Mesh.Faces.size(), "one pair per triangle");
  for (int pair : pairs) fuzz::Require(pair >= 0 && pair < composer.Count(), "every triangle gets a pair");
  TznLineList lines;
  for (TznModelFormat format : {TznModelFormat::Rwx, TznModelFormat::Obj})
    fuzz::Require(chunk.WriteModel(*MakeModelWriter(format, "fuzz"), &composer, lines) && lines.Count() > 0,
                  "an object is written");
  fuzz::Require(TznRWXModelWriter::WriteRWXIndividual(chunk.Mesh, chunk.CentreX(), chunk.CentreZ(), composer, lines) &&
                    lines.Count() > 0,
                "an object is written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteSettings(std::string_view(reinterpret_cast<const char*>(data), size));
  TznComposerFile file;
  try {
    file = ReadComposerFile((SettingsFolder() / "Fuzz.CMP").string());
  } catch (const EznError&) {
    return 0;  // refused as damaged
  }
  fuzz::Require(file.GeneralSettings == 0 || file.GeneralSettings == 1, "general settings are 0 or 1");
  fuzz::Require(file.Rows.size() <= size_t(TznComposerFile::kMaxRows), "no more rows than allowed");

  const TznComposerBuild build =
      BuildComposer(file, SettingsFolder().string(), (fuzz::TempFolder() / "Textures").string(), 1234);
  const TznRWXComposer& composer = *build.Composer;
  fuzz::Require(composer.Count() == static_cast<int>(file.Rows.size()) + 1, "one pair per row plus the catch-all pair");
  for (int pair = 0; pair < composer.Count(); ++pair) {
    fuzz::Require(composer.Filter(pair) && composer.Material(pair), "every pair is complete");
    CheckMaterial(*composer.Material(pair));
  }
  for (int pair = 0; pair < composer.Count(); ++pair) {
    if (pair >= kRoundTripPairs && pair != composer.Count() - 1) continue;
    CheckSavedTwiceAlike(*composer.Material(pair), "a material saved and read again is the same");
    CheckSavedTwiceAlike(*composer.Filter(pair), "a filter saved and read again is the same");
  }
  CheckObject(composer);
  return 0;
}
