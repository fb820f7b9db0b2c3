// A real place at its true size: kalvor-tergen's valley made a 30 km GeoTIFF
// (401 x 401 points near 36.6 degrees north, about 29.8 km x 36.9 km, its
// -30 to 70 m made 0 to 1500 m), converted by kalvor-convert as a user runs
// it, with adaptive meshes at 25 cm and two workers:
//
//   30 m  the whole place in 30 m objects (about 1.23 million files, 700 MB);
//         set against the floor of the same files written the same safe
//         way (each to a temporary file in the same folder, renamed into
//         place) and against plain fopen/fwrite/fclose writes;
//   10 m  the place in 10 m objects (about 9.5 million, more than a small
//         disk holds): parts 1/16 and 9/16 (one near the edge, one through
//         the middle), each with its floor, and the whole extrapolated as 16
//         times the mean of the two parts.
//
// Each conversion runs as a child process: its wall time, processor time
// and peak resident memory (ru_maxrss) are the program's own (the peak is
// at least what the bench holds as it starts the child, shown at the top). Before each
// timed step the page cache is synced, so that no step pays for the
// writeback of the one before. The machine's load average is shown beside
// each step.
//
//   build/bench/real_place_bench          both sizes (a few minutes)
//   build/bench/real_place_bench 30       the 30 m objects only
//   build/bench/real_place_bench 10       the 10 m parts only
//
// Files go into a folder under KALVOR_BENCH_DIR (else TMPDIR, else /tmp)
// that is removed at the end.
#include <fcntl.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/znSafeFile.h"
#include "support/processMemory.h"
#include "tools/znTerGenerator.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const Clock::time_point& since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The folder every file of the benchmark goes to, removed with everything
// in it at the end.
class TBenchFolder {
 public:
  TBenchFolder() {
    const char* chosen = std::getenv("KALVOR_BENCH_DIR");
    const fs::path parent = chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path();
    fs::create_directories(parent);
    std::string pattern = (parent / "kalvor-real-place-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder under " + parent.string());
    Path = pattern;
  }
  ~TBenchFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  TBenchFolder(const TBenchFolder&) = delete;
  TBenchFolder& operator=(const TBenchFolder&) = delete;

  std::string Path;
};

// The three load averages of the machine, as "1.23 0.98 0.75".
std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// Runs a GDAL utility step the way gdal_translate runs it from the command
// line.
void Translate(const std::string& from, const std::string& to, std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  GDALTranslateOptions* options = GDALTranslateOptionsNew(argv.data(), nullptr);
  GDALDatasetH source = GDALOpen(from.c_str(), GA_ReadOnly);
  if (!options || !source) throw std::runtime_error("cannot read " + from);
  int usage_error = 0;
  GDALDatasetH made = GDALTranslate(to.c_str(), source, options, &usage_error);
  GDALTranslateOptionsFree(options);
  GDALClose(source);
  if (!made) throw std::runtime_error("cannot write " + to);
  GDALClose(made);
}

// The 30 km GeoTIFF, made as these steps make it:
//   kalvor-tergen v.ter --points 401
//   gdal_translate -q -unscale -ot Float32 v.ter m.tif
//   gdal_translate -q -scale -30 70 0 1500 -a_srs EPSG:4326
//                  -a_ullr -119.0 36.75 -118.6667 36.4167 m.tif v30.tif
std::string MakeRealPlace(const std::string& folder) {
  GDALAllRegister();
  TznTerGeneratorOptions options;
  options.points = 401;
  WriteTerragen(folder + "/v.ter", options);
  Translate(folder + "/v.ter", folder + "/m.tif", {"-q", "-unscale", "-ot", "Float32"});
  Translate(folder + "/m.tif", folder + "/v30.tif",
            {"-q", "-scale", "-30", "70", "0", "1500", "-a_srs", "EPSG:4326", "-a_ullr", "-119.0", "36.75",
             "-118.6667", "36.4167"});
  fs::remove(folder + "/v.ter");
  fs::remove(folder + "/m.tif");
  return folder + "/v30.tif";
}

// What one file of a run is: its name in the folder and its size.
struct TFile {
  std::string name;
  size_t size = 0;
};

// The regular files of a folder (the run's files), with the total bytes.
std::vector<TFile> FilesIn(const std::string& folder, int64_t& bytes) {
  std::vector<TFile> files;
  bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files.push_back({entry.path().filename().string(), static_cast<size_t>(entry.file_size())});
    bytes += static_cast<int64_t>(files.back().size);
  }
  return files;
}

// A conversion as the child process saw it.
struct TRun {
  double seconds = 0;
  double cpu_seconds = 0;  // user and system, every thread
  double peak_mb = 0;      // ru_maxrss
  std::vector<TFile> files;
  int64_t file_count = 0;
  int64_t bytes = 0;
  std::string load;
};

// Runs kalvor-convert with the arguments into a fresh folder and takes its
// measures; its own output stays quiet.
TRun Convert(const std::string& out_folder, const std::vector<std::string>& arguments) {
  fs::remove_all(out_folder);
  fs::create_directories(out_folder);
  std::vector<std::string> words{KALVOR_CONVERT};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  ::sync();
  // A child's peak counts the memory it had when it started: the bench
  // gives back what it can first, and forks rather than spawns (a spawned
  // child shares the bench's memory up to its exec, and its peak with it).
  ::malloc_trim(0);
  TRun run;
  run.load = LoadAverage();
  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error(std::string("cannot start ") + KALVOR_CONVERT);
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (::wait4(child, &status, 0, &usage) != child) throw std::runtime_error("lost the converter");
  run.seconds = Seconds(start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("kalvor-convert failed, status " + std::to_string(status));
  run.cpu_seconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                    usage.ru_stime.tv_usec * 1e-6;
  run.peak_mb = usage.ru_maxrss / 1024.0;
  run.files = FilesIn(out_folder, run.bytes);
  run.file_count = static_cast<int64_t>(run.files.size());
  return run;
}

// The time and processor time (user and system) of writing files.
struct TWrites {
  double seconds = 0;
  double cpu_seconds = 0;
  std::string load;
};

double ProcessorSeconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec * 1e-6;
}

// Writes the files, with their names and sizes, into a fresh folder one
// after the other, each through write(path, content).
template <typename F>
TWrites WriteFiles(const std::string& folder, const std::vector<TFile>& files, F write) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  size_t largest = 0;
  for (const TFile& f : files) largest = std::max(largest, f.size);
  const std::string block(largest, 'x');
  ::sync();
  TWrites writes;
  writes.load = LoadAverage();
  const double cpu = ProcessorSeconds();
  const auto start = Clock::now();
  for (const TFile& f : files) write(folder + "/" + f.name, std::string_view(block).substr(0, f.size));
  writes.seconds = Seconds(start);
  writes.cpu_seconds = ProcessorSeconds() - cpu;
  return writes;
}

// The floor: the converter's safe way, a temporary file in the same folder
// renamed into place; the object files left to the disk's own flushing, the
// object list flushed to disk first.
void SaveSafely(const std::string& path, std::string_view content) {
  SaveFileAtomically(path, content, path.ends_with(".prp") ? TznFlush::ToDisk : TznFlush::Lazy);
}

// Plain buffered writes: fopen, fwrite, fclose.
void SavePlainly(const std::string& path, std::string_view content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path);
  std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
}

// Removes a folder of many files; says how long that took.
void RemoveFolder(const std::string& folder, const char* what) {
  const auto start = Clock::now();
  fs::remove_all(folder);
  std::printf("    (removing %s: %.1f s)\n", what, Seconds(start));
}

std::vector<std::string> ConvertArguments(const std::string& raster, const std::string& base, int object_size) {
  return {raster,        base,   "--true-size",  "--object-size", std::to_string(object_size), "--mesh",
          "adaptive",    "--max-error", "0.25", "--jobs",        "2",                          "--quiet"};
}

void PrintRun(const char* title, const TRun& run) {
  std::printf("  %-34s %8.1f s  cpu %7.1f s  peak %7.1f MB  %9zu files  %8.1f MB  (load %s)\n", title, run.seconds,
              run.cpu_seconds, run.peak_mb, static_cast<size_t>(run.file_count), run.bytes / 1e6, run.load.c_str());
}

void PrintWrites(const char* title, const char* ratio, const TWrites& writes, const TRun& run) {
  std::printf("  %-34s %8.1f s  cpu %7.1f s  run/%s %.2f  %.0f files/s  (load %s)\n", title, writes.seconds,
              writes.cpu_seconds, ratio, run.seconds / writes.seconds, run.file_count / writes.seconds,
              writes.load.c_str());
}

// The run against its floor and plain writes, each in a folder of its own
// that is emptied afterwards.
void FloorAndPlain(const std::string& work, const TRun& run) {
  const TWrites floor = WriteFiles(work + "/floor", run.files, SaveSafely);
  PrintWrites("floor (temporary file, rename)", "floor", floor, run);
  RemoveFolder(work + "/floor", "the floor's files");
  const TWrites plain = WriteFiles(work + "/plain", run.files, SavePlainly);
  PrintWrites("plain fopen/fwrite/fclose", "plain", plain, run);
  RemoveFolder(work + "/plain", "the plain files");
}

void WholePlace30(const std::string& work, const std::string& raster) {
  std::printf("30 m objects, the whole place (adaptive, 25 cm, 2 workers):\n");
  const TRun run = Convert(work + "/out", ConvertArguments(raster, work + "/out/base", 30));
  PrintRun("kalvor-convert", run);
  RemoveFolder(work + "/out", "the run's files");
  FloorAndPlain(work, run);
}

void Parts10(const std::string& work, const std::string& raster) {
  std::printf("10 m objects, parts of 16 (adaptive, 25 cm, 2 workers):\n");
  std::vector<TRun> runs;
  for (const char* part : {"1/16", "9/16"}) {
    std::vector<std::string> arguments = ConvertArguments(raster, work + "/out/base", 10);
    arguments.insert(arguments.end(), {"--part", part});
    runs.push_back(Convert(work + "/out", arguments));
    PrintRun(("kalvor-convert --part " + std::string(part)).c_str(), runs.back());
    RemoveFolder(work + "/out", "the run's files");
    FloorAndPlain(work, runs.back());
    std::vector<TFile>().swap(runs.back().files);  // not held while the next part runs
  }
  const double seconds = 8 * (runs[0].seconds + runs[1].seconds);
  const double cpu = 8 * (runs[0].cpu_seconds + runs[1].cpu_seconds);
  const double files = 8.0 * static_cast<double>(runs[0].file_count + runs[1].file_count);
  const double bytes = 8.0 * static_cast<double>(runs[0].bytes + runs[1].bytes);
  std::printf("  %-34s %8.0f s  cpu %7.0f s  (%.1f min)  %9.0f files  %8.1f GB\n", "whole, 16 x the mean of the parts",
              seconds, cpu, seconds / 60, files, bytes / 1e9);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
  bool thirty = argc == 1, ten = argc == 1;
  for (int k = 1; k < argc; ++k) {
    const std::string size = argv[k];
    if (size == "30") {
      thirty = true;
    } else if (size == "10") {
      ten = true;
    } else {
      std::fprintf(stderr, "usage: real_place_bench [30] [10]  (the object sizes to run; both when none is given)\n");
      return 2;
    }
  }
  try {
    const TBenchFolder work;
    const std::string raster = MakeRealPlace(work.Path);
    ::malloc_trim(0);
    std::printf("the place: %s; load %s, %ld cores; the bench holds %.1f MB\n", raster.c_str(),
                LoadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN), test::ResidentMegabytes());
    if (thirty) WholePlace30(work.Path, raster);
    if (ten) Parts10(work.Path, raster);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "real_place_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
