// Reading a Terragen .ter file into the terrain.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "base/znByteReader.h"
#include "base/znError.h"
#include "base/znFileReader.h"
#include "base/znFormat.h"
#include "terrain/znTerra.h"

namespace {

const char kNotATerFile[] = "not a ter file";

class TerragenReader {
 public:
  explicit TerragenReader(TznByteReader& file) : file_(file) {}

  // Header bytes must all be there; a file that ends inside the header is no
  // terrain.
  void Exact(void* out, size_t count) {
    if (file_.Read(out, count) != count) throw EznBadFile(kNotATerFile);
  }
  std::string Tag() {
    char tag[4];
    Exact(tag, 4);
    return std::string(tag, 4);
  }
  int32_t Int32() {
    uint8_t b[4];
    Exact(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
  }
  int16_t Int16() {
    uint8_t b[2];
    Exact(b, 2);
    return static_cast<int16_t>(uint16_t(b[0]) | uint16_t(b[1]) << 8);
  }
  float Float32() {
    int32_t bits = Int32();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  }

  TznByteReader& file_;
};

// Round(raw / 10), ties to even, in whole-number arithmetic that the
// compiler turns into vector code.
inline int16_t StoredHeight(int32_t raw) {
  const int32_t tens = raw / 10;
  const int32_t rest = raw - tens * 10;
  const int32_t odd = tens & 1;
  const int32_t up = (rest > 5) | ((rest == 5) & odd);
  const int32_t down = (rest < -5) | ((rest == -5) & odd);
  return static_cast<int16_t>(tens + up - down);
}

void ConvertRaw(const uint8_t* bytes, size_t count, int16_t* out) {
  for (size_t k = 0; k < count; ++k) {
    const int16_t raw = static_cast<int16_t>(uint16_t(bytes[2 * k]) | uint16_t(bytes[2 * k + 1]) << 8);
    out[k] = StoredHeight(raw);
  }
}

std::string SizeText(int64_t x, int64_t y) { return FormatInt(x) + " x " + FormatInt(y); }

constexpr double kMaxScale = TznTerra::kMaxScale;

// What is wrong with a scale, or empty when it is usable. A horizontal
// scale must also be positive: grid steps run east and north, and a
// negative step lays the object grid out beyond every position the grids
// can hold.
std::string ScaleProblem(float value, bool horizontal) {
  if (std::isnan(value)) return "is not a number; a terrain needs finite scales";
  if (std::isinf(value)) return "is infinite; a terrain needs finite scales";
  const std::string unit = horizontal ? " metres per point" : "";
  if (std::fabs(value) > kMaxScale)
    return "is " + FormatGeneral(value) + unit + "; this program takes at most " + FormatGeneral(kMaxScale);
  if (horizontal && value < 0)
    return "is " + FormatGeneral(value) + unit +
           "; the points must lie east and north of each other, at a distance "
           "above 0";
  return "";
}

// axis: "x", "y" or "z", the place of the scale in the SCAL chunk of a
// Terragen file; a raster's scales come from its pixel size.
void CheckScale(float value, const std::string& file_name, const std::string& axis, bool terragen) {
  const bool horizontal = axis != "z";
  const std::string problem = ScaleProblem(value, horizontal);
  if (problem.empty()) return;
  const std::string name = axis == "x" ? "west-east scale" : axis == "y" ? "south-north scale" : "height scale";
  const std::string chunk = terragen ? " (SCAL " + axis + ")" : "";
  throw EznTerraHeaderError("the " + name + chunk + " in \"" + file_name + "\" " + problem);
}

}  // namespace

bool TznTerra::LoadFromFile(const std::string& file_name) {
  return Load(file_name, [this, &file_name] {
    TznFileReader reader(file_name);
    ReadTerragen(reader, file_name);
  });
}

bool TznTerra::LoadFromMemory(const void* data, size_t size, const std::string& file_name) {
  return Load(file_name, [this, data, size, &file_name] {
    TznMemoryReader reader(data, size);
    ReadTerragen(reader, file_name);
  });
}

bool TznTerra::LoadFromGrid(const std::string& file_name, const std::function<TznTerraGrid()>& read) {
  return Load(file_name, [this, &file_name, &read] {
    TznTerraGrid grid = read();
    FFileName = file_name;
    FSize = static_cast<int32_t>(std::clamp<int64_t>(std::min(grid.XPoints, grid.YPoints) - 1, 0, INT32_MAX));
    FScaleX = grid.ScaleX;
    FScaleY = grid.ScaleY;
    FScaleZ = grid.ScaleZ;
    SetPointsAndScales(grid.XPoints, grid.YPoints, false);
    if (grid.Heights.size() != static_cast<size_t>(grid.XPoints * grid.YPoints))
      throw EznError("the heights of \"" + file_name + "\" do not fill its " + SizeText(grid.XPoints, grid.YPoints) +
                     " points");
    FHeights = std::move(grid.Heights);
    if (grid.WaterLevel) FWaterLevel = *grid.WaterLevel;
    for (std::string& file : grid.SourceFiles)
      if (file != file_name) FSourceFiles.push_back(std::move(file));
  });
}

bool TznTerra::Load(const std::string& file_name, const std::function<void()>& fill) {
  // The heights are in use while a save run writes its objects.
  if (Saving()) throw EznError("Cannot load \"" + file_name + "\" while the terrain is being saved");
  Clear();
  // The grids were laid out over the old terrain: nothing of it may be
  // built or drawn any more, even while the windows go on drawing during a
  // slow load.
  DropGrids();
  try {
    fill();
  } catch (...) {
    // Header values read so far stay for the status bars; no heights.
    std::vector<int16_t>().swap(FHeights);
    FXPoints = FYPoints = 0;
    throw;
  }
  RecalcExtremes();
  ResetSelection();
  ResetOrigin();
  ResetViewer();
  RebuildChunks();
  return true;
}

void TznTerra::ReadTerragen(TznByteReader& file, const std::string& file_name) {
  FFileName = file_name;
  TerragenReader in(file);

  char magic[16];
  if (file.Read(magic, 16) != 16 || std::memcmp(magic, "TERRAGENTERRAIN ", 16) != 0) throw EznBadFile(kNotATerFile);
  if (in.Tag() != "SIZE") throw EznBadFile(kNotATerFile);
  FSize = in.Int32();
  int64_t x_points = int64_t{FSize} + 1, y_points = int64_t{FSize} + 1;

  for (;;) {
    const std::string tag = in.Tag();
    if (tag == "XPTS") {
      x_points = in.Int32();
    } else if (tag == "YPTS") {
      y_points = in.Int32();
    } else if (tag == "SCAL") {
      FScaleX = in.Float32();
      FScaleY = in.Float32();
      FScaleZ = in.Float32();
    } else if (tag == "CRAD") {
      FCurveRadius = in.Float32();
    } else if (tag == "CRVM") {
      FCurveMode = in.Int32();
    } else if (tag == "ALTW") {
      FHeightScale = in.Int16();
      FBaseHeight = in.Int16();
      break;
    } else {
      throw EznBadFile(kNotATerFile);
    }
  }

  SetPointsAndScales(x_points, y_points, true);

  const size_t total = static_cast<size_t>(int64_t{FXPoints} * FYPoints);
  try {
    FHeights.assign(total, 0);
  } catch (const std::bad_alloc&) {
    throw EznError("not enough memory for the " + SizeText(FXPoints, FYPoints) + " points of \"" + file_name + "\"");
  }

  // The elevations follow row by row; a file that ends early leaves the
  // remaining points at 0.
  constexpr size_t kBlockPoints = size_t{1} << 19;
  std::unique_ptr<uint8_t[]> block(new uint8_t[kBlockPoints * 2]);
  size_t done = 0;
  while (done < total) {
    const size_t want = std::min(kBlockPoints, total - done);
    const size_t got = file.Read(block.get(), want * 2);
    ConvertRaw(block.get(), got / 2, FHeights.data() + done);
    done += got / 2;
    if (got < want * 2) {
      // A single leftover byte is the low byte of its point.
      if (got % 2 == 1) FHeights[done] = StoredHeight(block[got - 1]);
      break;
    }
  }
}

void TznTerra::SetPointsAndScales(int64_t x_points, int64_t y_points, bool terragen_file) {
  if (x_points < 2 || y_points < 2 || x_points > kMaxPointsPerAxis || y_points > kMaxPointsPerAxis ||
      x_points * y_points > kMaxPoints)
    throw EznTerraHeaderError("\"" + FFileName + "\" holds a terrain of " + SizeText(x_points, y_points) +
                              " points; this program takes 2 to " + FormatInt(kMaxPointsPerAxis) +
                              " points along each side and " + FormatInt(kMaxPoints) + " in all");
  FXPoints = static_cast<int32_t>(x_points);
  FYPoints = static_cast<int32_t>(y_points);

  if (FScaleX == 0) FScaleX = 1;
  if (FScaleY == 0) FScaleY = 1;
  if (FScaleZ == 0) FScaleZ = 1;
  CheckScale(FScaleX, FFileName, "x", terragen_file);
  CheckScale(FScaleY, FFileName, "y", terragen_file);
  CheckScale(FScaleZ, FFileName, "z", terragen_file);
  FFileScaleX = FScaleX;
  FFileScaleY = FScaleY;
  FFileScaleZ = FScaleZ;
  // Fitted, terrains longer than 1000 m along either side become exactly
  // 1000 m along both; heights shrink by the mean factor.
  const bool fit = FFitRule == TznFitRule::Fit || (FFitRule == TznFitRule::ByKind && terragen_file);
  FFitted = fit && (double(FXPoints - 1) * FScaleX > 1000.0 || double(FYPoints - 1) * FScaleY > 1000.0);
  if (FFitted) {
    FScaleX = static_cast<float>(1000.0 / (FXPoints - 1));
    FScaleY = static_cast<float>(1000.0 / (FYPoints - 1));
    FScaleZ = static_cast<float>((double(FScaleX) + FScaleY) / (double(FFileScaleX) + FFileScaleY) * FScaleZ);
  }
}
