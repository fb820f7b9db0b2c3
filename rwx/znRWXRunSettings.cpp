// What a batch run's files depend on, so that a resumed run can tell
// whether it goes on with the run it finds.
#include <cstdio>
#include <fstream>

#include "base/znFormat.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "terrain/znTerra.h"

namespace {

// FNV-1a over bytes, 64 bits: a change anywhere shows.
class TFingerprint {
 public:
  void Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) FHash = (FHash ^ bytes[i]) * 1099511628211ull;
  }
  std::string Text() const {
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(FHash));
    return text;
  }

 private:
  uint64_t FHash = 14695981039346656037ull;
};

std::string FileFingerprint(const std::string& path) {
  TFingerprint fingerprint;
  std::ifstream in(path, std::ios::binary);
  if (!in) return "missing";
  char chunk[65536];
  while (in) {
    in.read(chunk, sizeof(chunk));
    fingerprint.Add(chunk, static_cast<size_t>(in.gcount()));
  }
  return fingerprint.Text();
}

std::string Numbers(std::initializer_list<double> values) {
  std::string text;
  for (const double value : values) text += (text.empty() ? "" : ",") + FormatReal(value);
  return text;
}

}  // namespace

TznRunSettings TznRWXChunkCentral::RunSettings(TznModelFormat format, const TznRWXComposer* composer,
                                               const TznRWXRegion* region, const TznRWXPart& part) const {
  TznRunSettings settings;
  if (Terra) {
    TFingerprint heights;
    heights.Add(Terra->FHeights.data(), Terra->FHeights.size() * sizeof(Terra->FHeights[0]));
    settings.push_back({"terrain", Terra->FFileName});
    settings.push_back({"heights", FormatInt(Terra->FXPoints) + "x" + FormatInt(Terra->FYPoints) + " " + heights.Text()});
    settings.push_back({"scales", Numbers({Terra->FScaleX, Terra->FScaleY, Terra->FScaleZ})});
    settings.push_back({"water level", FormatInt(Terra->FWaterLevel)});
    settings.push_back({"mesh", std::string(TznCuttingOptions::kMeshNames[Terra->FMesh]) + " " +
                                    FormatReal(Terra->FMaxError) + " m"});
  }
  settings.push_back({"object grid", Numbers({double(GridX0), double(GridZ0), double(OriginX), double(OriginZ),
                                              double(SizeX), double(SizeZ), double(CellsPer10mX),
                                              double(CellsPer10mZ), double(Columns), double(Rows)})});
  std::string composer_files = "none";
  if (composer) {
    composer_files = "citizen " + FormatInt(composer->CitizenNumber());
    for (const std::string& file : composer->ReadFiles()) composer_files += " " + file + ":" + FileFingerprint(file);
  }
  settings.push_back({"composer", composer_files});
  settings.push_back({"format", format == TznModelFormat::Obj ? "obj" : "rwx"});
  settings.push_back(
      {"region", region ? Numbers({region->West, region->South, region->East, region->North}) : "whole terrain"});
  settings.push_back({"part", part.IsWhole() ? "whole" : FormatInt(part.Index) + "/" + FormatInt(part.Count)});
  return settings;
}
