#include "tools/znConvertCli.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraStatus.h"

namespace {

const char kUsage[] =
    "Usage: kalvor-convert TERRAIN.ter BASENAME [options]\n"
    "       kalvor-convert --info TERRAIN.ter\n"
    "\n"
    "Cuts a Terragen terrain into square RWX objects and writes one BASENAME<name>.rwx\n"
    "file per object (for example BASENAME3n12w.rwx) and the object list BASENAME.prp.\n"
    "BASENAME is a plain prefix: out/hill writes out/hill3n12w.rwx; folders are created.\n"
    "\n"
    "Options:\n"
    "  --object-size 10|20|30   side of one object in metres (default 10)\n"
    "  --vertices N             vertices per 10 m along a side, 2 to 35 (default 11)\n"
    "  --composer FILE.CMP      give every triangle a material through this composer;\n"
    "                           without one the plain model is written\n"
    "  --settings DIR           folder of the composer's .FTR and .MTR files\n"
    "                           (default: the composer file's folder)\n"
    "  --citizen N              citizen number for the object list (default: 0)\n"
    "  --origin EAST,NORTH,ALTITUDE\n"
    "                           origin in metres from the terrain's south-west corner\n"
    "                           (default: the terrain's centre at altitude 0)\n"
    "  --jobs N                 threads that build the objects (default: one per core);\n"
    "                           the files are the same for any number\n"
    "  --quiet                  no progress bar and no summary\n"
    "  --info TERRAIN.ter       print the terrain's header values, point counts, scales\n"
    "                           and extremes, and write nothing\n"
    "  --help                   show this help\n"
    "\n"
    "Ctrl-C stops between two objects: the files written so far stay and the object\n"
    "list names them; the exit code is then 130.\n";

// Set by Ctrl-C; the run stops before the next object.
std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) { g_interrupted = true; }

struct ConvertOptions {
  std::string terrain, base_name, composer, settings;
  int object_size = 10;
  int vertices = 11;
  int32_t citizen = 0;
  int jobs = 0;  // one per core
  std::optional<TVec3> origin;
  bool quiet = false;
};

class UsageError : public EznError {
 public:
  using EznError::EznError;
};

int PrintInfo(const std::string& path, std::ostream& out, std::ostream& err) {
  TznTerra terra;
  try {
    terra.LoadFromFile(path);
  } catch (const std::exception& e) {
    err << "kalvor-convert: " << path << ": " << e.what() << "\n";
    return 1;
  }
  const TznTerraStatus status = TerraStatusTexts(terra);
  out << "Filename: " << status.upper[0] << "\n";
  for (size_t k = 1; k < status.upper.size(); ++k) out << status.upper[k] << "\n";
  for (const std::string& text : status.lower) out << text << "\n";
  return 0;
}

int64_t IntegerOption(const std::string& name, const std::string& text, int64_t low, int64_t high) {
  const std::optional<int64_t> value = ParseInt(text);
  if (!value || *value < low || *value > high)
    throw UsageError(name + " must be a whole number from " + FormatInt(low) + " to " + FormatInt(high) +
                     ", not \"" + text + "\"");
  return *value;
}

TVec3 OriginOption(const std::string& text) {
  std::vector<float> values;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    const std::optional<double> v = ParseReal(text.substr(start, comma - start));
    if (!v || std::abs(*v) > 1e7) throw UsageError("--origin needs EAST,NORTH,ALTITUDE in metres, not \"" + text + "\"");
    values.push_back(static_cast<float>(*v));
    start = comma + 1;
  }
  if (values.size() != 3) throw UsageError("--origin needs EAST,NORTH,ALTITUDE in metres, not \"" + text + "\"");
  return TVec3{values[0], values[1], values[2]};
}

ConvertOptions ParseOptions(const std::vector<std::string>& args) {
  ConvertOptions o;
  std::vector<std::string> positional;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    auto value = [&]() -> std::string {
      if (k + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++k];
    };
    if (arg == "--object-size") {
      const std::string text = value();
      const int64_t size = IntegerOption(arg, text, 10, 30);
      if (size != 10 && size != 20 && size != 30) throw UsageError("--object-size must be 10, 20 or 30, not \"" + text + "\"");
      o.object_size = static_cast<int>(size);
    } else if (arg == "--vertices") {
      o.vertices = static_cast<int>(IntegerOption(arg, value(), 2, 35));
    } else if (arg == "--composer") {
      o.composer = value();
    } else if (arg == "--settings") {
      o.settings = value();
    } else if (arg == "--citizen") {
      o.citizen = static_cast<int32_t>(IntegerOption(arg, value(), 0, 2147483647));
    } else if (arg == "--origin") {
      o.origin = OriginOption(value());
    } else if (arg == "--jobs") {
      o.jobs = static_cast<int>(IntegerOption(arg, value(), 1, 1024));
    } else if (arg == "--quiet") {
      o.quiet = true;
    } else if (arg.rfind("--", 0) == 0) {
      throw UsageError("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) throw UsageError("expected TERRAIN.ter and BASENAME");
  o.terrain = positional[0];
  o.base_name = positional[1];
  if (o.base_name.empty()) throw UsageError("BASENAME must not be empty");
  if (!o.settings.empty() && o.composer.empty()) throw UsageError("--settings needs --composer");
  return o;
}

std::unique_ptr<TznRWXComposer> LoadComposer(const ConvertOptions& o, std::ostream& err) {
  if (o.composer.empty()) return nullptr;
  const TznComposerFile file = ReadComposerFile(o.composer);
  std::string settings = o.settings.empty() ? ExtractFilePath(o.composer) : o.settings;
  if (settings.empty()) settings = "./";
  if (!DirectoryExists(settings)) throw EznFileError("the Settings folder \"" + settings + "\" does not exist");
  if (settings.back() != '/') settings += '/';
  TznComposerBuild build = BuildComposer(file, settings, settings + "../Textures/", o.citizen);
  for (const std::string& warning : build.Warnings) err << "kalvor-convert: warning: " << warning << "\n";
  return std::move(build.Composer);
}

// "[#####     ] 12 of 6241 objects" on one terminal line.
void ShowProgress(std::ostream& err, int index, int count) {
  constexpr int kWidth = 30;
  const int filled = count > 0 ? static_cast<int>(int64_t{index} * kWidth / count) : 0;
  err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << FormatInt(index) << " of "
      << FormatInt(count) << " objects" << std::flush;
}

int Convert(const ConvertOptions& o, std::ostream& out, std::ostream& err) {
  const auto started = std::chrono::steady_clock::now();
  TznTerra terra;
  terra.LoadFromFile(o.terrain);
  terra.SetObjectSize(static_cast<float>(o.object_size));
  terra.SetVertices(o.vertices);
  if (o.origin) terra.SetOrigin(*o.origin);
  const std::unique_ptr<TznRWXComposer> composer = LoadComposer(o, err);

  const bool show_bar = !o.quiet && ::isatty(STDERR_FILENO) && &err == &std::cerr;
  auto previous = std::signal(SIGINT, OnInterrupt);
  TznRWXWriteStats stats;
  try {
    stats = terra.SaveRWX(o.base_name, composer.get(), [&](int index, int count, bool& go_on) {
      if (show_bar) ShowProgress(err, index, count);
      go_on = !g_interrupted;
    }, o.jobs);
  } catch (...) {
    std::signal(SIGINT, previous);
    g_interrupted = false;
    if (show_bar) err << "\n";
    throw;
  }
  std::signal(SIGINT, previous);
  g_interrupted = false;
  if (show_bar) err << "\n";
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!o.quiet)
    out << (stats.Stopped ? "Stopped: " : "") << FormatInt(stats.ObjectsWritten) << " objects written, "
        << FormatInt(stats.ObjectsWritten + 1) << " files, " << FormatInt(stats.Bytes) << " bytes, "
        << FormatFixed(seconds, 2) << " s\n";
  return stats.Stopped ? 130 : 0;
}

}  // namespace

int RunConvertCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    out << kUsage;
    return 0;
  }
  if (args[0] == "--info") {
    if (args.size() != 2) {
      err << "kalvor-convert: --info needs exactly one terrain file\n";
      return 2;
    }
    return PrintInfo(args[1], out, err);
  }
  try {
    return Convert(ParseOptions(args), out, err);
  } catch (const UsageError& e) {
    err << "kalvor-convert: " << e.what() << "\nTry kalvor-convert --help.\n";
    return 2;
  } catch (const std::exception& e) {
    err << "kalvor-convert: " << e.what() << "\n";
    return 1;
  }
}

// Lets tests stop a run the way Ctrl-C does.
void InterruptConvertForTesting() { g_interrupted = true; }
