#include "tools/znConvertCli.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <csignal>
#include <functional>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/znCommandLine.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "base/znScopeGuard.h"
#include "import/znTerrainFile.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znOrderedPool.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXPart.h"
#include "rwx/znRWXRegion.h"
#include "rwx/znRWXRunGuard.h"
#include "rwx/znRWXRunMeter.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraRescale.h"
#include "terrain/znTerraStatus.h"
#include "terrain/znTerragenWriter.h"
#include "tools/znExitCode.h"

namespace {

const char kUsageStart[] =
    "Usage: kalvor-convert TERRAIN BASENAME [options]\n"
    "       kalvor-convert TERRAIN --write-ter OUT.ter [BASENAME] [options]\n"
    "       kalvor-convert --info TERRAIN\n"
    "       kalvor-convert --join BASENAME\n"
    "\n"
    "Cuts a terrain into square RWX objects and writes one BASENAME<name>.rwx\n"
    "file per object (for example BASENAME3n12w.rwx) and the object list BASENAME.prp.\n"
    "BASENAME is a plain prefix: out/hill writes out/hill3n12w.rwx; folders are created.\n"
    "TERRAIN is a Terragen .ter file or any height raster GDAL reads (GeoTIFF, 16-bit\n"
    "PNG, SRTM .hgt, ASCII grid, ...): north up, pixel sizes in metres, the lowest\n"
    "valid height at 0 m, no-data cells at the lowest height.\n"
    "\n"
    "Options:\n";

const char kUsageComposer[] =
    "  --composer FILE.CMP      give every triangle a material through this composer;\n"
    "                           without one the plain model is written\n"
    "  --settings DIR           folder of the composer's .FTR and .MTR files\n"
    "                           (default: the composer file's folder)\n"
    "  --citizen N              citizen number for the object list (default: 0)\n"
    "  --origin EAST,NORTH,ALTITUDE\n"
    "                           origin in metres from the terrain's south-west corner\n"
    "                           (default: the terrain's centre at altitude 0)\n"
    "  --region WEST,SOUTH,EAST,NORTH\n"
    "                           write only the objects whose centres lie inside this\n"
    "                           rectangle, in metres east and north of the terrain's\n"
    "                           grid point (0,0) as the map shows them with \"Absolute\";\n"
    "                           WEST and SOUTH belong to it, EAST and NORTH do not.\n"
    "                           Every object is the file a whole run writes, and an\n"
    "                           object list already under BASENAME keeps its other lines\n"
    "  --part K/N               write only the K-th of N equal stretches of the objects\n"
    "                           the run writes (all, or those of --region) in grid\n"
    "                           order, listed in BASENAME.partK-of-N.prp; the N parts\n"
    "                           run at the same time, on one machine or many, and a\n"
    "                           part with no objects writes an empty list\n"
    "  --join BASENAME          write BASENAME.prp from the lists of parts 1 to N as a\n"
    "                           single run writes it (lines of objects that no part\n"
    "                           lists stay); refused while a part list is missing,\n"
    "                           exit code 1 while a part still runs; the part lists\n"
    "                           stay\n"
    "  --width METRES           rescale the terrain: the west-east edge becomes METRES\n"
    "                           long, the south-north edge follows the aspect and the\n"
    "                           heights follow the edges, as in the map's Scale dialog\n"
    "  --relief FACTOR          multiply every height by FACTOR (after --width): the span\n"
    "                           from the lowest to the highest point grows by FACTOR and\n"
    "                           0 m stays at 0 m, as typing FACTOR times the highest and\n"
    "                           the lowest point into the Scale dialog; --origin and\n"
    "                           --write-ter take the rescaled terrain\n";

const char kUsageEnd[] =
    "  --format rwx|obj         the object files: RenderWare script (default), or\n"
    "                           Wavefront OBJ (BASENAME3n12w.obj in metres, Y up, X east,\n"
    "                           Z south) with one material library BASENAME.mtl, whose\n"
    "                           textures are read from a Textures folder beside the files\n"
    "  --jobs N                 threads that build the objects (default: one per core;\n"
    "                           at most one per object and 4 per core); the files are\n"
    "                           the same for any number\n"
    "  --quiet                  no progress line and no summary\n"
    "  --resume                 go on with the run under BASENAME that was killed or\n"
    "                           stopped, after the objects it listed; refused when it\n"
    "                           was made with other settings, terrain or composer,\n"
    "                           and the message says what differs. The files are\n"
    "                           those of a run that was never stopped; each part of\n"
    "                           --part K/N resumes itself\n"
    "  --write-ter OUT.ter      also keep the terrain as a Terragen file (points, scales\n"
    "                           after the size limit, heights at a step that GDAL reads\n"
    "                           to the same metres, named in its line); BASENAME is then\n"
    "                           optional\n"
    "  --info TERRAIN           print the terrain's header values, point counts, scales\n"
    "                           and extremes, its true size, relief, height step, the\n"
    "                           objects of each size and whether the 1000 m rule\n"
    "                           applies (for a raster also its driver, coordinate\n"
    "                           system, pixel size and no-data cells), and write nothing\n"
    "\n"
    "Rasters only:\n"
    "  --band N                 the band that holds the heights (default 1)\n"
    "  --pixel-size METRES      metres per pixel in place of the raster's own\n"
    "                           (default without georeference: 1)\n"
    "  --points N               average a raster down to at most N points along its\n"
    "                           longer side, 2 to 16385 (default 4097)\n"
    "  --crop XOFF,YOFF,XSIZE,YSIZE\n"
    "                           cut this window of pixels first (as gdal_translate -srcwin)\n"
    "  --keep-elevation         keep the heights above sea level instead of putting\n"
    "                           the lowest valid height at 0 m; the height step then\n"
    "                           follows the highest height above or below sea level\n"
    "\n"
    "  -h, --help               show this help\n"
    "  --version                show the program's version\n"
    "\n"
    "Every option with a value also takes the form --option=VALUE.\n"
    "\n"
    "On a terminal, a line on standard error tells once a second the objects done\n"
    "of the total, the bytes written, the rate and the time left.\n"
    "Ctrl-C, SIGTERM and SIGHUP stop between two objects: the files written so far\n"
    "stay and the object list names them; the exit code is then 130, 143 or 129,\n"
    "and --resume goes on from there. BASENAME.prp.run and BASENAME.prp.partial\n"
    "hold an unfinished run's settings and lines until it ends.\n"
    "Temporary files that a run killed outright left under the same base name are\n"
    "removed before the next run starts. While a run writes, BASENAME.prp.lock keeps\n"
    "a second run under the same base name away: it stops at once with exit code 1.\n"
    "An output that would replace a file the terrain was read from, the composer,\n"
    "one of its files or textures, another output of the run, or an object file\n"
    "that the .prp list of another base name in the folder names (base names that\n"
    "begin alike, such as hill and hill2, can name the same files) is refused with\n"
    "exit code 2 before anything is written, and so is an input or output that is\n"
    "not a regular file (a folder, a named pipe, a device: every output is written\n"
    "to a temporary file and renamed into place), and so are a --width or --relief\n"
    "that the terrain cannot hold (the Scale dialog's refusals), and so is a run\n"
    "whose files the file system has no room for: its free bytes and files are\n"
    "set against the object count times the average size of a few objects\n"
    "formatted in memory, and the message says what is needed and what is free.\n"
    "\n";

// The cutting options' lines come from the options themselves.
std::string Usage() {
  return kUsageStart + TznCuttingOptions::Help({"--object-size", "--vertices"}) + kUsageComposer +
         TznCuttingOptions::Help({"--mesh", "--max-error", "--fit", "--true-size"}) + kUsageEnd +
         ExitStatusHelp(",\n      another run writing under the same base name or one that begins alike",
                        "  129, 130, 143  stopped by SIGHUP, Ctrl-C or SIGTERM between two objects\n");
}

const char kProgram[] = "kalvor-convert";

// The tests kill a run outright before object KALVOR_KILL_AT_OBJECT (an
// index of the run's objects), as kill -9 or a crash would; -1 for none.
int ObjectToKillAt() {
  const char* text = std::getenv("KALVOR_KILL_AT_OBJECT");
  const std::optional<int64_t> index = text ? ParseInt(text) : std::nullopt;
  return index ? static_cast<int>(*index) : -1;
}

// The signal that stops the run before its next object, 0 while none came.
std::atomic<int> g_stop_signal{0};
// A stop the tests ask for, taken over when the next run starts.
std::atomic<int> g_test_stop_signal{0};

extern "C" void OnStopSignal(int signal_number) {
  int none = 0;
  g_stop_signal.compare_exchange_strong(none, signal_number);
}

// Ctrl-C, SIGTERM and SIGHUP end a run between two objects. The handler is
// one-shot: a second signal ends the program at once.
class TStopSignals {
 public:
  TStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (size_t k = 0; k < kSignals.size(); ++k) sigaction(kSignals[k], &action, &previous_[k]);
  }
  ~TStopSignals() {
    for (size_t k = 0; k < kSignals.size(); ++k) sigaction(kSignals[k], &previous_[k], nullptr);
    g_stop_signal = 0;
  }
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> previous_{};
};

struct ConvertOptions {
  std::string terrain, base_name, composer, settings, write_ter;
  TznRasterOptions raster;
  bool raster_options = false;      // one of the options for rasters was given
  std::optional<std::string> info;  // the terrain whose header to print
  TznCuttingOptions cutting;
  int32_t citizen = 0;
  int jobs = 0;  // one per core
  TznModelFormat format = TznModelFormat::Rwx;
  std::optional<TVec3> origin;
  std::optional<TznRWXRegion> region;   // write only the objects inside
  TznRWXPart part;                      // write only this part of them
  std::string join;                     // the base name whose part lists to join
  std::optional<double> width, relief;  // rescale the terrain
  bool quiet = false;
  bool resume = false;  // go on with the unfinished run under the base name
};

using UsageError = EznUsageError;

bool NamesFile(const std::string& message, const std::string& path) {
  return message.find('"' + path + '"') != std::string::npos || message.rfind(path + ": ", 0) == 0;
}

// Rethrows the error being handled, of the same kind, with the file's name
// in front when its message does not name it.
template <typename Kind>
[[noreturn]] void ThrowNamingFile(const Kind& error, const std::string& path) {
  if (NamesFile(error.what(), path)) throw;
  throw Kind(path + ": " + error.what());
}

// Loads the terrain under the fit rule; a message that does not name the
// file gets its name. A fitted terrain is said.
std::optional<TznRasterReport> LoadTerrain(TznTerra& terra, const std::string& path, const TznRasterOptions& raster,
                                           TznFitRule fit, std::ostream& err) {
  terra.SetFitRule(fit);
  try {
    std::optional<TznRasterReport> report = LoadTerrainFile(terra, path, raster);
    if (const std::string note = FitNote(terra); !note.empty()) err << kProgram << ": " << path << ": " << note << "\n";
    return report;
  } catch (const EznTerraHeaderError& e) {
    ThrowNamingFile(e, path);
  } catch (const EznBadFile& e) {
    ThrowNamingFile(e, path);
  } catch (const EznFileError&) {
    throw;  // names its file, and stays of its kind
  } catch (const EznError& e) {
    ThrowNamingFile(e, path);
  }
}

// The status bar texts; after a failed load only the header values read:
// a refused terrain holds no points, so no point counts and no extremes.
void PrintStatus(const TznTerra& terra, bool header_only, std::ostream& out) {
  const TznTerraStatus status = TerraStatusTexts(terra);
  std::vector<std::string> lines = status.upper;
  lines[0] = "Filename: " + lines[0];
  lines.insert(lines.end(), status.lower.begin(), status.lower.end());
  for (const std::string& line : lines) {
    const bool of_points = line.rfind("XPts:", 0) == 0 || line.rfind("YPts:", 0) == 0 || line.rfind("Ht:", 0) == 0 ||
                           line.rfind("Dp:", 0) == 0;
    if (!header_only || !of_points) out << line << "\n";
  }
}

int PrintInfo(const std::string& path, const TznRasterOptions& raster, TznFitRule fit, std::ostream& out,
              std::ostream& err) {
  TznTerra terra;
  std::optional<TznRasterReport> report;
  try {
    report = LoadTerrain(terra, path, raster, fit, err);
  } catch (const EznTerraHeaderError&) {
    PrintStatus(terra, true, out);
    throw;
  }
  PrintStatus(terra, false, out);
  if (report)
    for (const std::string& line : report->InfoLines()) out << line << "\n";
  for (const std::string& line : TerraInfoLines(terra)) out << line << "\n";
  return 0;
}

int64_t IntegerOption(const std::string& name, const std::string& text, int64_t low, int64_t high) {
  const std::optional<int64_t> value = ParseInt(text);
  if (!value || *value < low || *value > high)
    throw UsageError(name + " must be a whole number from " + FormatInt(low) + " to " + FormatInt(high) + ", not \"" +
                     text + "\"");
  return *value;
}

// The comma-separated parts of an option's value, each as it stands.
std::vector<std::string> CommaParts(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return parts;
}

TVec3 OriginOption(const std::string& text) {
  const std::string usage = "--origin needs EAST,NORTH,ALTITUDE in metres, not \"" + text + "\"";
  std::vector<float> values;
  for (const std::string& part : CommaParts(text)) {
    const std::optional<double> v = ParseReal(part);
    if (!v || std::abs(*v) > TznTerra::kMaxMetres) throw UsageError(usage);
    values.push_back(static_cast<float>(*v));
  }
  if (values.size() != 3) throw UsageError(usage);
  return TVec3{values[0], values[1], values[2]};
}

TznRWXRegion RegionOption(const std::string& text) {
  const std::string usage =
      "--region needs WEST,SOUTH,EAST,NORTH in metres, WEST below EAST and SOUTH below NORTH, not \"" + text + "\"";
  std::vector<double> values;
  for (const std::string& part : CommaParts(text)) {
    const std::optional<double> v = ParseReal(part);
    if (!v || !(std::abs(*v) <= TznTerra::kMaxMetres)) throw UsageError(usage);
    values.push_back(*v);
  }
  if (values.size() != 4) throw UsageError(usage);
  const TznRWXRegion region{values[0], values[1], values[2], values[3]};
  if (!region.IsRectangle()) throw UsageError(usage);
  return region;
}

TznRWXPart PartOption(const std::string& text) {
  const std::string usage = "--part needs K/N, whole numbers with 1 <= K <= N, not \"" + text + "\"";
  const size_t slash = text.find('/');
  if (slash == std::string::npos) throw UsageError(usage);
  const std::optional<int64_t> k = ParseInt(text.substr(0, slash)), n = ParseInt(text.substr(slash + 1));
  if (!k || !n || *n < 1 || *n > INT_MAX || *k < 1 || *k > *n) throw UsageError(usage);
  return {static_cast<int>(*k), static_cast<int>(*n)};
}

double RealOption(const std::string& name, const std::string& text) {
  const std::optional<double> value = ParseReal(text);
  if (!value) throw UsageError(name + " must be a number, not \"" + text + "\"");
  return *value;
}

TznRasterWindow CropOption(const std::string& text) {
  const std::string usage = "--crop needs XOFF,YOFF,XSIZE,YSIZE in pixels, not \"" + text + "\"";
  std::vector<int64_t> values;
  for (const std::string& part : CommaParts(text)) {
    const std::optional<int64_t> v = ParseInt(part);
    if (!v || *v < 0 || *v > INT32_MAX) throw UsageError(usage);
    values.push_back(*v);
  }
  if (values.size() != 4 || values[2] < 1 || values[3] < 1) throw UsageError(usage);
  return {values[0], values[1], values[2], values[3]};
}

double PixelSizeOption(const std::string& text) {
  const std::optional<double> v = ParseReal(text);
  if (!v || !(*v > 0) || *v > 1e5) throw UsageError("--pixel-size must be metres above 0, not \"" + text + "\"");
  return *v;
}

// The options that only a raster takes.
void AddRasterOptions(TznCommandLine& command_line, ConvertOptions& o) {
  TznRasterOptions& r = o.raster;
  const auto add = [&](const char* name, const std::function<void(const std::string&)>& read) {
    command_line.AddOption(name, [&o, read](const std::string& text) {
      read(text);
      o.raster_options = true;
    });
  };
  add("--band", [&r](const std::string& text) { r.Band = static_cast<int>(IntegerOption("--band", text, 1, 65535)); });
  add("--pixel-size", [&r](const std::string& text) { r.PixelSize = PixelSizeOption(text); });
  add("--points", [&r](const std::string& text) {
    r.MaxPoints = static_cast<int>(IntegerOption("--points", text, 2, TznRasterOptions::kMaxPoints));
  });
  add("--crop", [&r](const std::string& text) { r.Crop = CropOption(text); });
  command_line.AddFlag("--keep-elevation", r.KeepElevation);
}

bool HasControlCharacter(const std::string& text) { return OneLine(text) != text; }

void AddOptions(TznCommandLine& command_line, ConvertOptions& o) {
  o.cutting.AddTo(command_line);
  command_line.AddOption("--composer", [&o](const std::string& text) { o.composer = text; });
  command_line.AddOption("--settings", [&o](const std::string& text) { o.settings = text; });
  command_line.AddOption("--citizen", [&o](const std::string& text) {
    o.citizen = static_cast<int32_t>(IntegerOption("--citizen", text, 0, 2147483647));
  });
  command_line.AddOption("--origin", [&o](const std::string& text) { o.origin = OriginOption(text); });
  command_line.AddOption("--region", [&o](const std::string& text) { o.region = RegionOption(text); });
  command_line.AddOption("--part", [&o](const std::string& text) { o.part = PartOption(text); });
  command_line.AddOption("--join", [&o](const std::string& text) {
    if (text.empty()) throw UsageError("--join needs BASENAME");
    o.join = text;
  });
  command_line.AddOption("--width", [&o](const std::string& text) { o.width = RealOption("--width", text); });
  command_line.AddOption("--relief", [&o](const std::string& text) { o.relief = RealOption("--relief", text); });
  command_line.AddOption("--format", [&o](const std::string& text) {
    const std::optional<TznModelFormat> format = ModelFormatNamed(text);
    if (!format) throw UsageError("--format must be rwx or obj, not \"" + text + "\"");
    o.format = *format;
  });
  command_line.AddOption("--info", [&o](const std::string& text) { o.info = text; });
  command_line.AddOption("--write-ter", [&o](const std::string& text) {
    if (text.empty()) throw UsageError("--write-ter needs a file name");
    o.write_ter = text;
  });
  AddRasterOptions(command_line, o);
  command_line.AddOption(
      "--jobs", [&o](const std::string& text) { o.jobs = static_cast<int>(IntegerOption("--jobs", text, 1, 1024)); });
  command_line.AddFlag("--quiet", o.quiet);
  command_line.AddFlag("--resume", o.resume);
}

void CheckPositional(const std::vector<std::string>& positional, ConvertOptions& o) {
  if (o.info) {
    if (!positional.empty()) throw UsageError("--info takes one terrain file and no other arguments");
    return;
  }
  if (!o.join.empty()) {
    if (!positional.empty()) throw UsageError("--join takes one base name and no other arguments");
    return;
  }
  if (!o.write_ter.empty()) {
    if (positional.empty() || positional.size() > 2) throw UsageError("expected TERRAIN and an optional BASENAME");
  } else if (positional.size() != 2) {
    throw UsageError("expected TERRAIN.ter and BASENAME");
  }
  o.terrain = positional[0];
  if (positional.size() == 2) {
    o.base_name = positional[1];
    if (o.base_name.empty()) throw UsageError("BASENAME must not be empty");
  }
  // The object list names every file on a line of its own.
  if (HasControlCharacter(o.base_name)) throw UsageError("BASENAME must not hold control characters");
  if (!o.settings.empty() && o.composer.empty()) throw UsageError("--settings needs --composer");
  if (o.region && o.base_name.empty()) throw UsageError("--region needs BASENAME");
  if (!o.part.IsWhole() && o.base_name.empty()) throw UsageError("--part needs BASENAME");
}

std::unique_ptr<TznRWXComposer> ComposerFor(const ConvertOptions& o, std::ostream& err) {
  if (o.composer.empty()) return nullptr;
  TznComposerBuild build = LoadComposer(o.composer, o.settings, "", o.citizen);
  for (const std::string& warning : build.Warnings) err << kProgram << ": warning: " << warning << "\n";
  return std::move(build.Composer);
}

// "[#####     ] 12 of 6241 objects, 1.2 MB, 480 objects/s, 12 s left" on
// one terminal line, once a second.
class TProgressLine {
 public:
  explicit TProgressLine(std::ostream& err) : FErr(err) {}

  void Show(int index, int count, int64_t bytes) {
    const auto now = std::chrono::steady_clock::now();
    if (FShown && now - FLast < std::chrono::seconds(1)) return;
    if (!FShown) FFirst = index;
    constexpr int kWidth = 20;
    const int filled = count > 0 ? static_cast<int>(int64_t{index} * kWidth / count) : 0;
    const std::string text =
        "[" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] " +
        RunFiguresText({index, count, bytes, index - FFirst, std::chrono::duration<double>(now - FStart).count()});
    // Blanks wipe what a longer line before left.
    FErr << "\r" << text << std::string(FWidth > text.size() ? FWidth - text.size() : 0, ' ') << std::flush;
    FWidth = text.size();
    FShown = true;
    FLast = now;
  }
  bool Shown() const { return FShown; }

 private:
  std::ostream& FErr;
  const std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point FLast;
  bool FShown = false;
  int FFirst = 0;
  size_t FWidth = 0;
};

// The threads of the run: --jobs (0: one per core) lowered to the number of
// objects and to four per core; a lowered --jobs is said.
int ThreadsFor(int requested, int objects, std::ostream& err) {
  const int threads = TznOrderedPool::WorkersFor(requested, objects);
  if (requested > threads)
    err << kProgram << ": --jobs " << FormatInt(requested) << " lowered to " << FormatInt(threads)
        << ": no more threads than objects (" << FormatInt(objects) << ") nor than "
        << FormatInt(TznOrderedPool::kWorkersPerCore) << " per core (" << FormatInt(TznOrderedPool::MachineWorkers())
        << " cores)\n";
  return threads;
}

// The triangles written, and those the regular grid has, counted without
// writing it.
void PrintTriangles(const TznTerra& terra, const TznRWXRunObjects& objects, const TznRWXWriteStats& stats,
                    std::ostream& out) {
  out << FormatInt(stats.Triangles) << " triangles";
  if (terra.FMesh != TznTerra::kAdaptiveMesh) {
    out << "\n";
    return;
  }
  int64_t grid = 0;
  const TznRWXChunkCentral& grid_objects = terra.RWXChunks();
  for (int k = 0; k < objects.Count(); ++k) {
    const TznRWXChunkCentral::TPlace place = grid_objects.PlaceOf(objects.IndexAt(k));
    grid += terra.RegularRWXTriangleCount(place.X0, place.Z0, grid_objects.SizeX, grid_objects.SizeZ,
                                          grid_objects.CellsPer10mX, grid_objects.CellsPer10mZ, place.EdgeFlags);
  }
  out << " within " << FormatFixed(terra.FMaxError * 100, 2) << " cm; the regular grid has " << FormatInt(grid)
      << " triangles";
  if (grid > 0) out << ": " << FormatFixed(100.0 * stats.Triangles / grid, 1) << " % of them";
  out << "\n";
}

// The objects a run writes: the whole grid, or those inside the region,
// which must hold one; of them, a part's range.
TznRWXRunObjects ObjectsOfRun(const TznRWXChunkCentral& grid, const std::optional<TznRWXRegion>& region,
                              const TznRWXPart& part) {
  if (region && grid.RunObjects(&*region).Count() == 0)
    throw UsageError("--region " + FormatReal(region->West) + "," + FormatReal(region->South) + "," +
                     FormatReal(region->East) + "," + FormatReal(region->North) +
                     " holds no object: no object's centre lies inside it");
  return grid.RunObjects(region ? &*region : nullptr, part);
}

// Loads the terrain of a run and tells what a raster's loading changed. On
// a terminal a long raster load shows how far it got, once a second (Ctrl-C
// ends the program then: nothing is written yet).
void LoadRunTerrain(TznTerra& terra, const ConvertOptions& o, std::ostream& err) {
  TznRasterOptions raster = o.raster;
  struct LineEnd {
    std::ostream& err;
    bool shown = false;
    ~LineEnd() {
      if (shown) err << "\n";
    }
  } line{err};
  if (!o.quiet && ::isatty(STDERR_FILENO) && &err == &std::cerr)
    raster.Progress = [&, last = std::chrono::steady_clock::now()](double done) mutable {
      if (std::chrono::steady_clock::now() - last < std::chrono::seconds(1)) return true;
      last = std::chrono::steady_clock::now();
      err << "\rReading " << o.terrain << ": " << FormatFixed(done * 100, 0) << " %" << std::flush;
      return line.shown = true;
    };
  const std::optional<TznRasterReport> report = LoadTerrain(terra, o.terrain, raster, o.cutting.FitRule(), err);
  if (!report && o.raster_options)
    err << kProgram << ": warning: " << o.terrain << " is a Terragen file; the options for rasters do not apply\n";
  if (report)
    for (const std::string& note : report->Notes()) err << kProgram << ": " << o.terrain << ": " << note << "\n";
}

int Convert(const ConvertOptions& o, std::ostream& out, std::ostream& err) {
  const auto started = std::chrono::steady_clock::now();
  TznTerra terra;
  LoadRunTerrain(terra, o, err);
  if (o.width || o.relief) RescaleTerrain(terra, o.width, o.relief.value_or(1));
  // The composer is read before anything is written: a kept terrain must
  // not replace it, one of its parts or textures, a file the terrain was
  // read from, or a file of the objects either.
  const std::unique_ptr<TznRWXComposer> composer = ComposerFor(o, err);
  if (!o.write_ter.empty()) {
    std::vector<std::string> inputs = terra.ReadFiles();
    inputs.push_back(o.composer);
    if (composer) {
      const std::vector<std::string> read = composer->ReadFiles();
      inputs.insert(inputs.end(), read.begin(), read.end());
    }
    CheckOutputSparesInputs(o.write_ter, inputs, o.base_name);
    const double step = SaveTerragenFile(terra, o.write_ter);
    if (!o.quiet) out << TerragenWrittenNote(o.write_ter, terra, step) << "\n";
    if (o.base_name.empty()) return 0;
  }
  o.cutting.ApplyTo(terra);
  if (o.origin) terra.SetOrigin(*o.origin);
  terra.LayOutObjects();
  const TznRWXRunObjects objects = ObjectsOfRun(terra.RWXChunks(), o.region, o.part);
  const int jobs = ThreadsFor(o.jobs, objects.Count(), err);

  const bool show_bar = !o.quiet && ::isatty(STDERR_FILENO) && &err == &std::cerr;
  TznRWXWriteStats stats;
  int stop_signal = 0;
  {
    TStopSignals signals;
    if (g_test_stop_signal) g_stop_signal = g_test_stop_signal.exchange(0);
    TProgressLine line(err);
    const TznScopeGuard line_end([&line, &err] {
      if (line.Shown()) err << "\n";
    });
    const int kill_at = ObjectToKillAt();
    stats = terra.WriteObjects(
        o.base_name, composer.get(),
        [&](int index, int count, int64_t bytes, bool& go_on) {
          if (index == kill_at) ::raise(SIGKILL);
          if (show_bar) line.Show(index, count, bytes);
          go_on = g_stop_signal == 0;
        },
        jobs, o.format, o.region ? &*o.region : nullptr, o.part, o.resume);
    stop_signal = g_stop_signal;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (stats.LeftoversRemoved > 0 && !o.quiet)
    out << "Removed " << FormatInt(stats.LeftoversRemoved) << " leftover temporary file"
        << (stats.LeftoversRemoved == 1 ? "" : "s") << " of an interrupted run\n";
  if (stats.ObjectsResumed > 0 && !o.quiet)
    out << "Resumed after the " << FormatInt(stats.ObjectsResumed) << " objects the unfinished run listed\n";
  if (!o.quiet)
    out << (stats.Stopped ? "Stopped: " : "") << FormatInt(stats.ObjectsWritten) << " objects written, "
        << FormatInt(stats.ObjectsWritten + 1 + stats.RunFilesWritten) << " files, " << FormatInt(stats.Bytes)
        << " bytes, " << FormatFixed(seconds, 2) << " s\n";
  if (!o.quiet && !stats.Stopped && stats.ObjectsResumed == 0) PrintTriangles(terra, objects, stats, out);
  // The shell's code for a program ended by that signal.
  return stats.Stopped ? 128 + (stop_signal ? stop_signal : SIGINT) : 0;
}

int Join(const ConvertOptions& o, std::ostream& out) {
  const int lines = JoinPartLists(o.join);
  if (!o.quiet) out << o.join << ".prp: " << FormatInt(lines) << " object" << (lines == 1 ? "" : "s") << " listed\n";
  return 0;
}

int Run(const ConvertOptions& o, std::ostream& out, std::ostream& err) {
  if (o.info) return PrintInfo(*o.info, o.raster, o.cutting.FitRule(), out, err);
  if (!o.join.empty()) return Join(o, out);
  return Convert(o, out, err);
}

}  // namespace

int RunConvertCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) {
    err << kProgram << ": expected TERRAIN.ter and BASENAME\n" << Usage();
    return 2;
  }
  TznCommandLine command_line(kProgram);
  ConvertOptions o;
  try {
    AddOptions(command_line, o);
    const std::vector<std::string> positional = command_line.Parse(argc, argv);
    if (command_line.AnswerHelpOrVersion(Usage(), out)) return 0;
    o.raster_options = o.raster_options || o.raster.KeepElevation;
    CheckPositional(positional, o);
    for (const std::string& warning : o.cutting.Warnings()) err << kProgram << ": warning: " << warning << "\n";
    return Run(o, out, err);
  } catch (const std::exception& e) {
    return ReportError(kProgram, e, err);
  }
}

void InterruptConvertForTesting(int signal_number) { g_test_stop_signal = signal_number; }
