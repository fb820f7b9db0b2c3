// kalvor-convert and kalvor-tergen run as the programs they are, in child
// processes: exit codes, standard error, signals, resource limits and the
// files left behind are those a user sees.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <set>
#include <sstream>
#include <thread>

#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";

// How the child is set up before the program starts.
struct ChildLimits {
  rlim_t file_size = RLIM_INFINITY;  // RLIMIT_FSIZE
  bool ignore_file_size_signal = false;  // write then fails with EFBIG
  bool without_root = false;              // folder permissions apply
};

struct Child {
  pid_t pid = -1;
  std::string out_path, err_path;
};

// Starts the program in folder; its output goes to folder + ".out"/".err".
Child Start(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
            const ChildLimits& limits = {}) {
  fs::create_directories(folder);
  Child child{-1, folder + ".out", folder + ".err"};
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int out = ::open(child.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int err = ::open(child.err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  child.pid = ::fork();
  if (child.pid == 0) {
    // Only async-signal-safe calls until exec.
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    const rlimit no_core{0, 0}, file_size{limits.file_size, limits.file_size};
    ::setrlimit(RLIMIT_CORE, &no_core);
    ::setrlimit(RLIMIT_FSIZE, &file_size);
    ::signal(SIGXFSZ, limits.ignore_file_size_signal ? SIG_IGN : SIG_DFL);
    if (limits.without_root && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(126);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out);
  ::close(err);
  return child;
}

struct Result {
  int code;  // the exit code, or 128 + the signal that ended the program, as a shell reports it
  std::string out, err;
};

Result Wait(const Child& child) {
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return {code, test::ReadFile(child.out_path), test::ReadFile(child.err_path)};
}

Result RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
           const ChildLimits& limits = {}) {
  return Wait(Start(program, args, folder, limits));
}

// The files under a folder, relative to it. A running child renames its
// temporary files meanwhile: a file gone by the time it is looked at is left out.
std::vector<std::string> FilesUnder(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file(error)) files.push_back(it->path().lexically_relative(folder).string());
  return files;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Every model under the folder is complete and no temporary file is left.
void ExpectNoTruncatedModel(const std::string& folder) {
  for (const std::string& name : FilesUnder(folder)) {
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    if (EndsWith(name, ".rwx")) {
      EXPECT_TRUE(EndsWith(test::ReadFile(folder + "/" + name), "ModelEnd\r\n")) << name;
    }
  }
}

// The object list names exactly the models present, each once.
void ExpectListMatchesModels(const std::string& folder, const std::string& base) {
  std::istringstream list(test::ReadFile(folder + "/" + base + ".prp"));
  std::set<std::string> listed, present;
  std::string line;
  while (std::getline(list, line)) {
    const std::string name = line.substr(line.rfind(' ') + 1, line.size() - line.rfind(' ') - 2);  // before CR
    EXPECT_TRUE(listed.insert(name).second) << name;
  }
  for (const std::string& name : FilesUnder(folder))
    if (EndsWith(name, ".rwx")) present.insert(fs::path(name).filename().string());
  EXPECT_EQ(listed, present);
}

// The input files of the table, made once in "in/".
void MakeInputs() {
  if (fs::exists("in")) return;
  fs::create_directories("in/folder.ter");
  fs::create_directories("in/Settings");
  auto slope = [](int i, int j) { return int16_t(40 * i + 25 * j); };
  test::TerFile(21, 21, 1, slope).Save("in/small.ter");
  test::WriteFile("in/empty.ter", "");
  test::WriteFile("in/text.ter", "Just some notes about a terrain, no terrain at all.\n");
  test::WriteFile("in/magic.ter", "TERRAGEN");
  test::TerHeader(20).Text("XPTS").Save("in/chunks.ter");
  std::string half = test::ReadFile("in/small.ter");
  test::WriteFile("in/half.ter", half.substr(0, half.size() / 2));
  test::TerHeader(0).Text("ALTW").I16(0).I16(0).Save("in/one.ter");
  test::TerHeader(4).Text("XPTS").I32(0).Text("ALTW").I16(0).I16(0).Save("in/zero.ter");
  test::TerHeader(65535).Text("ALTW").I16(0).I16(0).Save("in/huge.ter");
  auto scaled = [](float x, float y, float z, const std::string& path) {
    test::Bytes b = test::TerHeader(4).Text("SCAL").F32(x).F32(y).F32(z).Text("ALTW").I16(0).I16(0);
    for (int k = 0; k < 25; ++k) b.I16(100);
    b.Save(path);
  };
  scaled(std::numeric_limits<float>::quiet_NaN(), 1, 1, "in/nan.ter");
  scaled(1, 1, std::numeric_limits<float>::infinity(), "in/inf.ter");
  scaled(1, 1e30f, 1, "in/1e30.ter");
  test::WriteFile("in/Settings/Lost.CMP", "[Composer]\nItems=1\nMaterial=Gone.MTR\n[Item1]\nFilter=Gone.FTR\nMaterial=Gone.MTR\n");
  test::WriteFile("in/Settings/Junk.FTR", std::string("\x01\xFF[Filter\n=\n\0\0UseHigh=\xFE", 24));
  test::WriteFile("in/Settings/Junk.MTR", "\x89PNG\r\n\x1a\n[Material]\nRed=banana\nOpacity=\nComment=\x01\n");
  test::WriteFile("in/Settings/Junk.CMP", "[Composer]\nItems=1\nMaterial=Junk.MTR\n[Item1]\nFilter=Junk.FTR\nMaterial=Junk.MTR\n");
  test::WriteFile("in/Settings/Many.CMP", "[Composer]\nItems=2000000000\n");
}

struct BadInput {
  std::string name;
  std::vector<std::string> args;        // the run's folder is the case's own; inputs are in ../in
  int code;
  std::string message;                  // standard error (or output, for a good run) must hold it
  std::vector<std::string> must_exist;  // paths in the case's folder
  std::vector<std::string> must_not_exist;
  std::function<void(const std::string& folder)> prepare = {};
  ChildLimits limits = {};
};

std::vector<BadInput> BadInputs() {
  const std::vector<std::string> none = {"v.prp"};
  return {
      {"missing terrain", {"../in/missing.ter", "v"}, 1, "Cannot open file \"../in/missing.ter\"", {}, none},
      {"terrain is a folder", {"../in/folder.ter", "v"}, 1, "Is a directory", {}, none},
      {"empty terrain", {"../in/empty.ter", "v"}, 1, "../in/empty.ter: not a ter file", {}, none},
      {"text", {"../in/text.ter", "v"}, 1, "../in/text.ter: not a ter file", {}, none},
      {"truncated magic", {"../in/magic.ter", "v"}, 1, "not a ter file", {}, none},
      {"header ends in a chunk", {"../in/chunks.ter", "v"}, 1, "not a ter file", {}, none},
      {"heights cut off halfway: the rest is 0", {"../in/half.ter", "v"}, 0, "objects written", {"v.prp", "v1n1w.rwx"}, {}},
      {"1 x 1 points", {"../in/one.ter", "v"}, 1, "unsupported terrain size 1 x 1", {}, none},
      {"no points along X", {"../in/zero.ter", "v"}, 1, "unsupported terrain size 0 x 5", {}, none},
      {"too many points", {"../in/huge.ter", "v"}, 1, "unsupported terrain size 65536 x 65536", {}, none},
      {"NaN scale", {"../in/nan.ter", "v"}, 1, "kalvor-convert: bad scale nan in \"../in/nan.ter\"", {}, none},
      {"infinite scale", {"../in/inf.ter", "v"}, 1, "bad scale inf in \"../in/inf.ter\"", {}, none},
      {"scale 1e30", {"../in/1e30.ter", "v"}, 1, "bad scale 1e+30 in \"../in/1e30.ter\"", {}, none},
      {"info on a NaN scale", {"--info", "../in/nan.ter"}, 1, "bad scale nan", {}, none},
      {"info with a base name", {"--info", "../in/small.ter", "v"}, 2, "--info takes one terrain file", {}, none},
      {"object size 15", {"../in/small.ter", "v", "--object-size", "15"}, 2, "--object-size must be 10, 20 or 30", {}, none},
      {"object size text", {"../in/small.ter", "v", "--object-size=ten"}, 2, "not \"ten\"", {}, none},
      {"1 vertex", {"../in/small.ter", "v", "--vertices", "1"}, 2, "--vertices must be a whole number from 2 to 35", {}, none},
      {"36 vertices", {"../in/small.ter", "v", "--vertices=36"}, 2, "not \"36\"", {}, none},
      {"vertices without a value", {"../in/small.ter", "v", "--vertices"}, 2, "--vertices needs a value", {}, none},
      {"negative citizen", {"../in/small.ter", "v", "--citizen=-3"}, 2, "--citizen must be", {}, none},
      {"origin of two numbers", {"../in/small.ter", "v", "--origin", "1,2"}, 2, "--origin needs EAST,NORTH,ALTITUDE", {}, none},
      {"origin with nan", {"../in/small.ter", "v", "--origin=1,2,nan"}, 2, "--origin needs", {}, none},
      {"unknown option", {"../in/small.ter", "v", "--frobnicate"}, 2, "unknown option --frobnicate", {}, none},
      {"value for a switch", {"../in/small.ter", "v", "--quiet=yes"}, 2, "--quiet takes no value", {}, none},
      {"no base name", {"../in/small.ter"}, 2, "expected TERRAIN.ter and BASENAME", {}, none},
      {"three names", {"../in/small.ter", "v", "w"}, 2, "expected TERRAIN.ter and BASENAME", {}, none},
      {"empty base name", {"../in/small.ter", ""}, 2, "BASENAME must not be empty", {}, {".prp"}},
      {"line break in the base name", {"../in/small.ter", "v\nx"}, 2, "control characters", {}, {"v\nx.prp"}},
      {"settings without a composer", {"../in/small.ter", "v", "--settings", "../in"}, 2, "--settings needs --composer", {}, none},
      {"missing composer", {"../in/small.ter", "v", "--composer", "../in/none.CMP"}, 1, "Cannot open file \"../in/none.CMP\"", {}, none},
      {"composer is a folder", {"../in/small.ter", "v", "--composer=../in/Settings"}, 1, "It is a folder", {}, none},
      {"composer naming missing parts", {"../in/small.ter", "v", "--composer", "../in/Settings/Lost.CMP"}, 0,
       "kalvor-convert: warning: ", {"v.prp", "v1n1w.rwx"}, {}},
      {"composer of garbage parts", {"../in/small.ter", "v", "--composer", "../in/Settings/Junk.CMP"}, 0,
       "objects written", {"v.prp", "v1n1w.rwx"}, {}},
      {"composer claiming 2e9 rows", {"../in/small.ter", "v", "--composer", "../in/Settings/Many.CMP"}, 1, "Too many items", {}, none},
      {"missing settings folder", {"../in/small.ter", "v", "--composer", "../in/Settings/Lost.CMP", "--settings", "nowhere"}, 1,
       "the Settings folder \"nowhere\" does not exist", {}, none},
      {"output under a file", {"../in/small.ter", "blocker/v"}, 1, "Cannot create folder \"blocker/\"", {"blocker"}, {"blocker/v.prp"},
       [](const std::string& folder) { test::WriteFile(folder + "/blocker", ""); }},
      {"unwritable output folder", {"../in/small.ter", "locked/v"}, 1, "Permission denied", {}, {"locked/v.prp", "locked/v1n1w.rwx"},
       [](const std::string& folder) {
         fs::create_directories(folder + "/locked");
         fs::permissions(folder + "/locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
         fs::permissions(folder, fs::perms::all);  // the unprivileged child may enter and list it
       },
       {RLIM_INFINITY, false, true}},
      {"full output folder", {"../in/small.ter", "v"}, 1, "File too large", {}, none, {}, {2000, true, false}},
      {"an object's name taken by a folder", {"../in/small.ter", "v"}, 1, "Cannot write file \"v1n1w.rwx\"",
       {"v1n1w.rwx/keep"}, none,
       [](const std::string& folder) { test::WriteFile((fs::create_directories(folder + "/v1n1w.rwx"), folder + "/v1n1w.rwx/keep"), ""); }},
      {"leftover of a killed run", {"../in/small.ter", "v"}, 0, "Removed 1 leftover temporary file of an interrupted run",
       {"v.prp", "v1n1w.rwx"}, {"v1n1w.rwx.tmp123"},
       [](const std::string& folder) { test::WriteFile(folder + "/v1n1w.rwx.tmp123", "ModelBegin\r\n"); }},
  };
}

// Waits until the folder holds a model file or the child has ended.
bool AwaitFirstModel(pid_t pid, const std::string& folder) {
  for (;;) {
    for (const std::string& name : FilesUnder(folder))
      if (EndsWith(name, ".rwx")) return true;
    int status;
    if (::waitpid(pid, &status, WNOHANG) == pid) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

TEST(ConvertProcess, BadInputGivesItsCodeAndMessageAndNeverATruncatedModel) {
  MakeInputs();
  const std::vector<BadInput> cases = BadInputs();
  ASSERT_GE(cases.size(), 30u);
  for (size_t k = 0; k < cases.size(); ++k) {
    const BadInput& c = cases[k];
    SCOPED_TRACE(c.name);
    const std::string folder = "case" + std::to_string(k);
    fs::create_directories(folder);
    if (c.prepare) c.prepare(folder);
    const Result r = RunProgram(KALVOR_CONVERT, c.args, folder, c.limits);
    EXPECT_EQ(r.code, c.code) << r.err;
    const std::string& where = c.code == 0 ? r.out + r.err : r.err;
    EXPECT_NE(where.find(c.message), std::string::npos) << "out: " << r.out << "\nerr: " << r.err;
    if (c.code != 0) {
      EXPECT_EQ(r.err.rfind("kalvor-convert: ", 0), 0u) << r.err;
    }
    for (const std::string& path : c.must_exist) EXPECT_TRUE(fs::exists(folder + "/" + path)) << path;
    for (const std::string& path : c.must_not_exist) EXPECT_FALSE(fs::exists(folder + "/" + path)) << path;
    ExpectNoTruncatedModel(folder);
  }
}

TEST(ConvertProcess, SignalsStopBetweenObjectsAndListWhatWasWritten) {
  const std::pair<int, int> signals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& [signal_number, code] : signals) {
    SCOPED_TRACE(strsignal(signal_number));
    const std::string folder = "signal" + std::to_string(signal_number);
    const Child child = Start(KALVOR_CONVERT, {kSample, "v"}, folder);
    ASSERT_TRUE(AwaitFirstModel(child.pid, folder)) << "the run ended before it could be stopped";
    ::kill(child.pid, signal_number);
    const Result r = Wait(child);
    EXPECT_EQ(r.code, code) << r.err;
    EXPECT_EQ(r.out.rfind("Stopped: ", 0), 0u) << r.out;
    ExpectNoTruncatedModel(folder);
    ExpectListMatchesModels(folder, "v");
  }
}

TEST(ConvertProcess, AHardKilledRunsTemporaryIsClearedByTheNextRun) {
  // The file size limit kills the program in the middle of writing its first
  // model, as kill -9 would: its temporary file stays behind.
  MakeInputs();
  const Result killed = RunProgram(KALVOR_CONVERT, {"../in/small.ter", "v"}, "killed", {2000, false, false});
  EXPECT_EQ(killed.code, 128 + SIGXFSZ);
  std::vector<std::string> leftovers;
  for (const std::string& name : FilesUnder("killed"))
    if (name.find(".rwx.tmp") != std::string::npos) leftovers.push_back(name);
  ASSERT_EQ(leftovers.size(), 1u);
  EXPECT_FALSE(fs::exists("killed/v.prp"));

  const Result next = RunProgram(KALVOR_CONVERT, {"../in/small.ter", "v"}, "killed");
  EXPECT_EQ(next.code, 0) << next.err;
  EXPECT_EQ(next.out.rfind("Removed 1 leftover temporary file of an interrupted run\n", 0), 0u) << next.out;
  ExpectNoTruncatedModel("killed");
  ExpectListMatchesModels("killed", "v");
}

TEST(TergenProcess, FollowsTheCommandLineConventions) {
  Result r = RunProgram(KALVOR_TERGEN, {"--version"}, "tergen");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("kalvor-tergen ") + KALVOR_PROJECT_VERSION + "\n");
  r = RunProgram(KALVOR_TERGEN, {"-h"}, "tergen");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("Usage: kalvor-tergen", 0), 0u);
  EXPECT_EQ(r.out, RunProgram(KALVOR_TERGEN, {"--help"}, "tergen").out);

  // Attached and separate values write the same terrain.
  ASSERT_EQ(RunProgram(KALVOR_TERGEN, {"a.ter", "--points=9", "--scale=2.5"}, "tergen").code, 0);
  ASSERT_EQ(RunProgram(KALVOR_TERGEN, {"b.ter", "--points", "9", "--scale", "2.5"}, "tergen").code, 0);
  const std::string a = test::ReadFile("tergen/a.ter");
  EXPECT_EQ(a, test::ReadFile("tergen/b.ter"));
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile("tergen/a.ter"));
  EXPECT_EQ(terra.FXPoints, 9);
  EXPECT_EQ(terra.FScaleX, 2.5f);

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"a.ter", "--points=1"}, {"a.ter", "--scale"}, {"a.ter", "--help=x"}, {"a.ter", "--bogus"}, {"a.ter", "b.ter"}}) {
    r = RunProgram(KALVOR_TERGEN, args, "tergen");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("kalvor-tergen: ", 0), 0u) << r.err;
  }
  r = RunProgram(KALVOR_TERGEN, {"no/such/folder/x.ter"}, "tergen");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.rfind("kalvor-tergen: ", 0), 0u) << r.err;
}
