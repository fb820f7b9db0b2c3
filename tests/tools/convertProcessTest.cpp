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
#include <vector>

#include "base/znSafeFile.h"
#include "support/rasterFiles.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

const std::string kValley = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";

// How the child is set up before the program starts.
struct ChildLimits {
  rlim_t file_size = RLIM_INFINITY;  // RLIMIT_FSIZE
  bool without_root = false;         // folder permissions apply
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
    ::signal(SIGXFSZ, SIG_DFL);  // as a shell leaves it: the program itself must not die of it
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
  test::WriteFile("in/Settings/Lost.CMP",
                  "[Composer]\nItems=1\nMaterial=Gone.MTR\n[Item1]\nFilter=Gone.FTR\nMaterial=Gone.MTR\n");
  test::WriteFile("in/Settings/Junk.FTR", std::string("\x01\xFF[Filter\n=\n\0\0UseHigh=\xFE", 24));
  test::WriteFile("in/Settings/Junk.MTR", "\x89PNG\r\n\x1a\n[Material]\nRed=banana\nOpacity=\nComment=\x01\n");
  test::WriteFile("in/Settings/Junk.CMP",
                  "[Composer]\nItems=1\nMaterial=Junk.MTR\n[Item1]\nFilter=Junk.FTR\nMaterial=Junk.MTR\n");
  test::WriteFile("in/Settings/Many.CMP", "[Composer]\nItems=2000000000\n");
  ::mkfifo("in/Settings/Pipe.FTR", 0644);
  test::WriteFile("in/Settings/Piped.CMP", "[Composer]\nItems=1\n[Item1]\nFilter=Pipe.FTR\n");
  test::WriteFile("in/outside.MTR", "[Material]\nUseColor=1\nRed=255\n");
  test::MakeRaster(21, 21, [](int c, int r) { return 2.0 * c + r; }).Save("in/r.tif");
  test::WriteFile("in/Settings/Climbing.CMP", "[Composer]\nItems=1\n[Item1]\nMaterial=../outside.MTR\n");
}

// Copies the sample of the inputs into the case's folder under another name.
void CopyInput(const std::string& input, const std::string& path) {
  fs::copy_file("in/" + input, path, fs::copy_options::overwrite_existing);
}

// The converter's message when --jobs 1024 meets the 9 objects of
// small.ter (3 x 3 objects of 10 m over its 21 m) on this machine.
std::string LoweredJobsMessage() {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return "kalvor-convert: --jobs 1024 lowered to " + std::to_string(std::min(9, 4 * cores)) +
         ": no more threads than objects (9) nor than 4 per core (" + std::to_string(cores) + " cores)";
}

struct BadInput {
  std::string name;
  std::vector<std::string> args;  // the run's folder is the case's own; inputs are in ../in
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
      {"missing terrain", {"../in/missing.ter", "v"}, 2, "Cannot open file \"../in/missing.ter\"", {}, none},
      {"terrain is a folder", {"../in/folder.ter", "v"}, 2, "It is a folder, not a file", {}, none},
      {"terrain is a named pipe",
       {"pipe.ter", "v"},
       2,
       "Cannot open file \"pipe.ter\". It is a named pipe, not a file",
       {},
       none,
       [](const std::string& folder) { ::mkfifo((folder + "/pipe.ter").c_str(), 0644); }},
      // Neither the look for the Terragen magic nor GDAL may wait for a writer.
      {"raster is a named pipe",
       {"pipe.tif", "v"},
       2,
       "Cannot open file \"pipe.tif\". It is a named pipe, not a file",
       {},
       none,
       [](const std::string& folder) { ::mkfifo((folder + "/pipe.tif").c_str(), 0644); }},
      {"info on a named pipe",
       {"--info", "pipe"},
       2,
       "It is a named pipe, not a file",
       {},
       none,
       [](const std::string& folder) { ::mkfifo((folder + "/pipe").c_str(), 0644); }},
      {"empty terrain", {"../in/empty.ter", "v"}, 2, "../in/empty.ter: not a ter file", {}, none},
      {"text", {"../in/text.ter", "v"}, 2, "../in/text.ter: not a ter file", {}, none},
      {"truncated magic", {"../in/magic.ter", "v"}, 2, "not a ter file", {}, none},
      {"header ends in a chunk", {"../in/chunks.ter", "v"}, 2, "not a ter file", {}, none},
      {"heights cut off halfway: the rest is 0",
       {"../in/half.ter", "v"},
       0,
       "objects written",
       {"v.prp", "v1n1w.rwx"},
       {}},
      {"1 x 1 points",
       {"../in/one.ter", "v"},
       2,
       "kalvor-convert: \"../in/one.ter\" holds a terrain of 1 x 1 points; this program takes 2 to 16777216 points "
       "along each side and 536870912 in all\n",
       {},
       none},
      {"no points along X", {"../in/zero.ter", "v"}, 2, "holds a terrain of 0 x 5 points", {}, none},
      {"too many points", {"../in/huge.ter", "v"}, 2, "holds a terrain of 65536 x 65536 points", {}, none},
      {"NaN scale",
       {"../in/nan.ter", "v"},
       2,
       "kalvor-convert: the west-east scale (SCAL x) in \"../in/nan.ter\" is not a number; a terrain needs finite "
       "scales\n",
       {},
       none},
      {"infinite scale",
       {"../in/inf.ter", "v"},
       2,
       "the height scale (SCAL z) in \"../in/inf.ter\" is infinite; a terrain needs finite scales",
       {},
       none},
      {"scale 1e30",
       {"../in/1e30.ter", "v"},
       2,
       "the south-north scale (SCAL y) in \"../in/1e30.ter\" is 1e+30 metres per point; this program takes at most "
       "100000",
       {},
       none},
      {"info on a NaN scale",
       {"--info", "../in/nan.ter"},
       2,
       "(SCAL x) in \"../in/nan.ter\" is not a number",
       {},
       none},
      // 21 x 21 pixels: each side 20 pixels long must hold one 10 m object.
      {"pixel size too small for one object",
       {"../in/r.tif", "v", "--pixel-size", "1e-7"},
       2,
       "kalvor-convert: --pixel-size must be from 0.5 to 100000 metres for the 21 x 21 points of \"../in/r.tif\"",
       {},
       none},
      {"pixel size below what a float holds", {"../in/r.tif", "v", "--pixel-size=5e-324"}, 2, "from 0.5 to", {}, none},
      {"max error with the regular grid",
       {"../in/small.ter", "v", "--max-error", "0.1"},
       0,
       "kalvor-convert: warning: --max-error applies to --mesh adaptive only; the regular grid ignores it\n",
       {"v.prp"},
       {}},
      {"help lists the exit codes",
       {"--help"},
       0,
       "Exit status:\n  0   the work is done\n  1   a failure while working: a file that cannot be written, a full "
       "disk,\n",
       {},
       none},
      {"info with a base name", {"--info", "../in/small.ter", "v"}, 2, "--info takes one terrain file", {}, none},
      {"object size 15",
       {"../in/small.ter", "v", "--object-size", "15"},
       2,
       "--object-size must be 10, 20 or 30",
       {},
       none},
      {"object size text", {"../in/small.ter", "v", "--object-size=ten"}, 2, "not \"ten\"", {}, none},
      {"1 vertex",
       {"../in/small.ter", "v", "--vertices", "1"},
       2,
       "--vertices must be a whole number from 2 to 35",
       {},
       none},
      {"36 vertices", {"../in/small.ter", "v", "--vertices=36"}, 2, "not \"36\"", {}, none},
      {"vertices without a value", {"../in/small.ter", "v", "--vertices"}, 2, "--vertices needs a value", {}, none},
      {"negative citizen", {"../in/small.ter", "v", "--citizen=-3"}, 2, "--citizen must be", {}, none},
      {"origin of two numbers",
       {"../in/small.ter", "v", "--origin", "1,2"},
       2,
       "--origin needs EAST,NORTH,ALTITUDE",
       {},
       none},
      {"origin with nan", {"../in/small.ter", "v", "--origin=1,2,nan"}, 2, "--origin needs", {}, none},
      {"unknown option", {"../in/small.ter", "v", "--frobnicate"}, 2, "unknown option --frobnicate", {}, none},
      {"value for a switch", {"../in/small.ter", "v", "--quiet=yes"}, 2, "--quiet takes no value", {}, none},
      {"no base name", {"../in/small.ter"}, 2, "expected TERRAIN.ter and BASENAME", {}, none},
      {"terrain named like an option", {"-x.ter", "v"}, 2, "unknown option -x.ter", {}, none},
      {"terrain named like an option, after --",
       {"--quiet", "--", "-x.ter", "v"},
       0,
       "",
       {"v.prp", "v1n1w.rwx"},
       {},
       [](const std::string& folder) { CopyInput("small.ter", folder + "/-x.ter"); }},
      {"three names", {"../in/small.ter", "v", "w"}, 2, "expected TERRAIN.ter and BASENAME", {}, none},
      {"empty base name", {"../in/small.ter", ""}, 2, "BASENAME must not be empty", {}, {".prp"}},
      {"line break in the base name", {"../in/small.ter", "v\nx"}, 2, "control characters", {}, {"v\nx.prp"}},
      {"settings without a composer",
       {"../in/small.ter", "v", "--settings", "../in"},
       2,
       "--settings needs --composer",
       {},
       none},
      {"missing composer",
       {"../in/small.ter", "v", "--composer", "../in/none.CMP"},
       2,
       "Cannot open file \"../in/none.CMP\"",
       {},
       none},
      {"composer is a folder", {"../in/small.ter", "v", "--composer=../in/Settings"}, 2, "It is a folder", {}, none},
      {"composer is a character device",
       {"../in/small.ter", "v", "--composer", "/dev/null"},
       2,
       "Cannot open file \"/dev/null\". It is a character device, not a composer file",
       {},
       none},
      {"composer naming a named pipe",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Piped.CMP"},
       0,
       "kalvor-convert: warning: Filter file \"Pipe.FTR\" is a named pipe, not a file; the defaults are used",
       {"v.prp", "v1n1w.rwx"},
       {}},
      {"composer naming a file outside its Settings folder",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Climbing.CMP"},
       0,
       "kalvor-convert: warning: Material file name \"../outside.MTR\" leads out "
       "of the Settings folder; the defaults are used",
       {"v.prp", "v1n1w.rwx"},
       {}},
      {"composer naming missing parts",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Lost.CMP"},
       0,
       "kalvor-convert: warning: ",
       {"v.prp", "v1n1w.rwx"},
       {}},
      {"composer of garbage parts",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Junk.CMP"},
       0,
       "objects written",
       {"v.prp", "v1n1w.rwx"},
       {}},
      {"composer claiming 2e9 rows",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Many.CMP"},
       2,
       "Too many items",
       {},
       none},
      {"missing settings folder",
       {"../in/small.ter", "v", "--composer", "../in/Settings/Lost.CMP", "--settings", "nowhere"},
       2,
       "the Settings folder \"nowhere\" does not exist",
       {},
       none},
      {"output under a file",
       {"../in/small.ter", "blocker/v"},
       1,
       "Cannot create folder \"blocker/\"",
       {"blocker"},
       {"blocker/v.prp"},
       [](const std::string& folder) { test::WriteFile(folder + "/blocker", ""); }},
      {"unwritable output folder",
       {"../in/small.ter", "locked/v"},
       1,
       "Permission denied",
       {},
       {"locked/v.prp", "locked/v1n1w.rwx"},
       [](const std::string& folder) {
         fs::create_directories(folder + "/locked");
         fs::permissions(folder + "/locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                 fs::perms::group_exec | fs::perms::others_read |
                                                 fs::perms::others_exec);
         fs::permissions(folder, fs::perms::all);  // the unprivileged child may enter and list it
         // ... and reach the terrain from there, whatever the umask made of our folders.
         const fs::perms others_enter = fs::perms::group_exec | fs::perms::others_exec;
         fs::permissions(".", others_enter, fs::perm_options::add);
         fs::permissions("in", others_enter, fs::perm_options::add);
         fs::permissions("in/small.ter", fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
       },
       {RLIM_INFINITY, true}},
      // The first object written, 0n1w, has 17162 bytes, the second, 0n0w,
      // 17184: past a limit between them the run stops at the second, and
      // the list names the first.
      {"full output folder",
       {"../in/small.ter", "v"},
       1,
       "kalvor-convert: Cannot write file \"v0n0w.rwx\". File too large; the run stopped, and \"v.prp\" lists the 1 "
       "object written before\n",
       {"v.prp", "v0n1w.rwx"},
       {"v0n0w.rwx", "v1n1w.rwx"},
       {},
       {17170, false}},
      {"more jobs than objects", {"../in/small.ter", "v", "--jobs", "1024"}, 0, LoweredJobsMessage(), {"v.prp"}, {}},
      {"an object's name taken by a folder",
       {"../in/small.ter", "v"},
       2,
       "Cannot write file \"v1n1w.rwx\". It is a folder",
       {"v1n1w.rwx/keep"},
       none,
       [](const std::string& folder) {
         test::WriteFile((fs::create_directories(folder + "/v1n1w.rwx"), folder + "/v1n1w.rwx/keep"), "");
       }},
  };
}

// The converter as the child can start it. One that gives up the root's
// rights may not reach the build folder (a checkout under a folder only its
// owner may enter, such as root's home): it starts a copy in its own
// folder, which it enters while it still has the rights.
std::string ProgramFor(const std::string& folder, const ChildLimits& limits) {
  if (!limits.without_root || ::geteuid() != 0) return KALVOR_CONVERT;
  fs::copy_file(KALVOR_CONVERT, folder + "/kalvor-convert", fs::copy_options::overwrite_existing);
  fs::permissions(folder + "/kalvor-convert", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                                  fs::perms::others_read | fs::perms::others_exec);
  return "./kalvor-convert";
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
    const Result r = RunProgram(ProgramFor(folder, c.limits), c.args, folder, c.limits);
    EXPECT_EQ(r.code, c.code) << r.err;
    const std::string& where = c.code == 0 ? r.out + r.err : r.err;
    EXPECT_NE(where.find(c.message), std::string::npos) << "out: " << r.out << "\nerr: " << r.err;
    if (c.code != 0) {
      EXPECT_EQ(r.err.rfind("kalvor-convert: ", 0), 0u) << r.err;
    }
    for (const std::string& path : c.must_exist) EXPECT_TRUE(fs::exists(folder + "/" + path)) << path;
    for (const std::string& path : c.must_not_exist) EXPECT_FALSE(fs::exists(folder + "/" + path)) << path;
    ExpectNoTruncatedModel(folder);
    if (fs::exists(folder + "/v.prp")) ExpectListMatchesModels(folder, "v");
  }
}

namespace {

// What a path is: a regular file's bytes, else its kind ("none" when it is
// missing); reading a pipe would wait for a writer.
std::string Snapshot(const std::string& path) {
  const fs::file_status status = fs::status(path);
  if (status.type() == fs::file_type::regular) return test::ReadFile(path);
  return "kind " + std::to_string(static_cast<int>(status.type()));
}

// A VRT over src.tif, the source the terrain is read from, made in folder.
void MakeVrt(const std::string& folder) {
  test::MakeRaster(5, 5, [](int c, int r) { return 10.0 * c + r; }).Save(folder + "/src.tif");
  GDALDatasetH source = GDALOpen((folder + "/src.tif").c_str(), GA_ReadOnly);
  GDALClose(GDALCreateCopy(GDALGetDriverByName("VRT"), (folder + "/t.vrt").c_str(), source, FALSE, nullptr, nullptr,
                           nullptr));
  GDALClose(source);
}

}  // namespace

TEST(ConvertProcess, AnOutputItMustNotReplaceIsRefusedBeforeAnythingIsWritten) {
  // Each case puts an input, another output or something that is no file
  // where an output goes; it keeps its bytes or its kind.
  struct Case {
    std::string name;
    std::vector<std::string> args;
    std::string message;
    std::string input;  // in the case's folder, or absolute: what it is before the run
    std::function<void(const std::string& folder)> prepare;
  };
  MakeInputs();
  const std::string terrain = test::ReadFile("in/small.ter");
  const auto pipe = [](const std::string& name) {
    return [name](const std::string& folder) { ::mkfifo((folder + "/" + name).c_str(), 0644); };
  };
  std::vector<Case> cases = {
      {"kept terrain is a named pipe",
       {"../in/small.ter", "--write-ter", "p.ter"},
       "Cannot write file \"p.ter\". It is a named pipe; every output is written to a temporary file and renamed "
       "into place: name a file",
       "p.ter",
       pipe("p.ter")},
      {"object list is a named pipe",
       {"../in/small.ter", "v"},
       "\"v.prp\". It is a named pipe",
       "v.prp",
       pipe("v.prp")},
      {"kept terrain is a source of the VRT read",
       {"t.vrt", "--write-ter", "src.tif"},
       "The output \"src.tif\" is the input",
       "src.tif",
       MakeVrt},
      {"kept terrain is a texture of the composer",
       {"../in/small.ter", "--write-ter", "Textures/grass.jpg", "--composer", "Settings/T.CMP"},
       "The output \"Textures/grass.jpg\" is the input \"Settings/../Textures/grass.jpg\"",
       "Textures/grass.jpg",
       [](const std::string& folder) {
         fs::create_directories(folder + "/Settings");
         fs::create_directories(folder + "/Textures");
         test::WriteFile(folder + "/Settings/T.CMP", "[Composer]\nItems=0\nMaterial=G.MTR\n");
         test::WriteFile(folder + "/Settings/G.MTR", "[Material]\nUseTexture=1\nTexture=Grass\n");
         test::WriteFile(folder + "/Textures/grass.jpg", "a picture");
       }},
      {"kept terrain is the run's object list",
       {"../in/small.ter", "--write-ter", "v.prp", "v"},
       "The output \"v.prp\" is also \"v.prp\", which this run writes under the base name \"v\"",
       "v.prp",
       [](const std::string&) {}},
      {"object list is the terrain",
       {"t.prp", "t"},
       "kalvor-convert: The output \"t.prp\" is the input \"t.prp\"; choose another base name\n",
       "t.prp",
       [](const std::string& folder) { CopyInput("small.ter", folder + "/t.prp"); }},
      {"an object is the terrain",
       {"v1n1w.rwx", "v"},
       "The output \"v1n1w.rwx\" is the input \"v1n1w.rwx\"",
       "v1n1w.rwx",
       [](const std::string& folder) { CopyInput("small.ter", folder + "/v1n1w.rwx"); }},
      {"lock file is a link to the terrain",
       {"../in/small.ter", "v"},
       "The output \"v.prp.lock\" is the input \"../in/small.ter\"",
       "v.prp.lock",
       [](const std::string& folder) { fs::create_hard_link("in/small.ter", folder + "/v.prp.lock"); }},
      {"object list is the composer",
       {"../in/small.ter", "c", "--composer", "c.prp"},
       "The output \"c.prp\" is the input \"c.prp\"",
       "c.prp",
       [](const std::string& folder) { test::WriteFile(folder + "/c.prp", "[Composer]\nItems=0\n"); }},
      {"object list is a material of the composer",
       {"../in/small.ter", "w", "--composer", "C.CMP"},
       "The output \"w.prp\" is the input \"./w.prp\"",
       "w.prp",
       [](const std::string& folder) {
         test::WriteFile(folder + "/w.prp", "[Material]\nUseColor=1\n");
         test::WriteFile(folder + "/C.CMP", "[Composer]\nItems=0\nMaterial=w.prp\n");
       }},
  };
  // The device would take the output as root, through the rename.
  if (::geteuid() != 0)
    cases.push_back({"kept terrain is a device",
                     {"../in/small.ter", "--write-ter", "/dev/full"},
                     "\"/dev/full\". It is a character device",
                     "/dev/full",
                     [](const std::string&) {}});
  for (size_t k = 0; k < cases.size(); ++k) {
    const Case& c = cases[k];
    SCOPED_TRACE(c.name);
    const std::string folder = "refused" + std::to_string(k);
    const std::string input = c.input[0] == '/' ? c.input : folder + "/" + c.input;
    fs::create_directories(folder);
    c.prepare(folder);
    const std::string before = Snapshot(input);
    const std::vector<std::string> names = FilesUnder(folder);
    const std::set<std::string> files_before(names.begin(), names.end());
    const Result r = RunProgram(KALVOR_CONVERT, c.args, folder);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("kalvor-convert: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(input), before);
    const std::vector<std::string> names_after = FilesUnder(folder);
    EXPECT_EQ(std::set<std::string>(names_after.begin(), names_after.end()), files_before);
  }
  EXPECT_EQ(test::ReadFile("in/small.ter"), terrain);
}

TEST(ConvertProcess, SignalsStopBetweenObjectsAndListWhatWasWritten) {
  const std::pair<int, int> signals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& [signal_number, code] : signals) {
    SCOPED_TRACE(strsignal(signal_number));
    const std::string folder = "signal" + std::to_string(signal_number);
    const Child child = Start(KALVOR_CONVERT, {kValley, "v"}, folder);
    ASSERT_TRUE(AwaitFirstModel(child.pid, folder)) << "the run ended before it could be stopped";
    ::kill(child.pid, signal_number);
    const Result r = Wait(child);
    EXPECT_EQ(r.code, code) << r.err;
    EXPECT_EQ(r.out.rfind("Stopped: ", 0), 0u) << r.out;
    ExpectNoTruncatedModel(folder);
    ExpectListMatchesModels(folder, "v");
  }
}

namespace {

// A terrain of 101 x 101 points 3 m apart: 31 x 31 objects of 10 m around
// the origin in its centre, named from 15s to 15n and from 15w to 15e, so
// that base x never writes a name of base x2 ("x20n0w.rwx" would be x's
// object 20n0w, 200 m north).
void MakeWideTerrain() {
  if (!fs::exists("in/wide.ter"))
    test::TerFile(101, 101, 3, [](int i, int j) { return int16_t(30 * i - 20 * j); }).Save("in/wide.ter");
}

// The temporary files under the folder that the process owns.
std::vector<std::string> TemporariesOf(pid_t pid, const std::string& folder) {
  std::vector<std::string> found;
  for (const std::string& name : FilesUnder(folder))
    if (const auto temporary = ParseTemporaryName(name); temporary && temporary->Owner == pid) found.push_back(name);
  return found;
}

// Stops the child (SIGSTOP) at a moment when it holds a temporary file, that
// is, in the middle of writing one; false when it ended first.
bool StopWhileWriting(pid_t pid, const std::string& folder) {
  for (;;) {
    ::kill(pid, SIGSTOP);
    int status = 0;
    if (::waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status)) return false;
    if (!TemporariesOf(pid, folder).empty()) return true;
    ::kill(pid, SIGCONT);
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

// The names the object list of a base names.
std::set<std::string> ListedModels(const std::string& folder, const std::string& base) {
  std::istringstream list(test::ReadFile(folder + "/" + base + ".prp"));
  std::set<std::string> listed;
  std::string line;
  while (std::getline(list, line)) listed.insert(line.substr(line.rfind(' ') + 1, line.size() - line.rfind(' ') - 2));
  return listed;
}

}  // namespace

TEST(ConvertProcess, AHardKilledRunsTemporaryIsClearedByTheNextRun) {
  MakeInputs();
  MakeWideTerrain();
  const Child killed = Start(KALVOR_CONVERT, {"../in/wide.ter", "v"}, "killed");
  ASSERT_TRUE(StopWhileWriting(killed.pid, "killed")) << "the run ended before it could be killed";
  ::kill(killed.pid, SIGKILL);
  EXPECT_EQ(Wait(killed).code, 128 + SIGKILL);
  ASSERT_EQ(TemporariesOf(killed.pid, "killed").size(), 1u);
  EXPECT_FALSE(fs::exists("killed/v.prp"));
  EXPECT_TRUE(fs::exists("killed/v.prp.lock"));  // the lock went with the process, its file names it

  const Result next = RunProgram(KALVOR_CONVERT, {"../in/wide.ter", "v"}, "killed");
  EXPECT_EQ(next.code, 0) << next.err;
  EXPECT_EQ(next.out.rfind("Removed 1 leftover temporary file of an interrupted run\n", 0), 0u) << next.out;
  ExpectNoTruncatedModel("killed");
  ExpectListMatchesModels("killed", "v");
  EXPECT_FALSE(fs::exists("killed/v.prp.lock"));
}

TEST(ConvertProcess, RunsOnBaseNamesSharingAPrefixOrOnTheSameBaseNeverDestroyEachOther) {
  // x2 is caught writing; meanwhile x runs from start to end, and a second
  // run on x2 finds x2 taken. Then x2 goes on.
  MakeInputs();
  MakeWideTerrain();
  const Child x2 = Start(KALVOR_CONVERT, {"../in/wide.ter", "x2"}, "shared");
  ASSERT_TRUE(StopWhileWriting(x2.pid, "shared")) << "the run ended before it could be caught writing";
  const std::vector<std::string> live = TemporariesOf(x2.pid, "shared");

  const Result x = RunProgram(KALVOR_CONVERT, {"../in/wide.ter", "x"}, "shared");
  EXPECT_EQ(x.code, 0) << x.err;
  EXPECT_EQ(x.out.find("Removed"), std::string::npos) << x.out;
  for (const std::string& name : live) EXPECT_TRUE(fs::exists("shared/" + name)) << name;

  const Result second = RunProgram(KALVOR_CONVERT, {"../in/wide.ter", "x2", "--quiet"}, "shared");
  EXPECT_EQ(second.code, 1);
  EXPECT_EQ(second.err, "kalvor-convert: Another run (process " + std::to_string(x2.pid) +
                            ") is writing under the base name \"x2\"; try again when it has finished\n");
  EXPECT_FALSE(fs::exists("shared/x2.prp"));  // the second wrote nothing, the first is not done

  ::kill(x2.pid, SIGCONT);
  const Result first = Wait(x2);
  EXPECT_EQ(first.code, 0) << first.err;

  // Both lists are whole: the same terrain and options give the same number
  // of objects under either name, and together they name every model.
  const std::set<std::string> of_x = ListedModels("shared", "x"), of_x2 = ListedModels("shared", "x2");
  EXPECT_GE(of_x.size(), 900u);  // 30 x 30 objects over the 300 m at least
  EXPECT_EQ(of_x.size(), of_x2.size());
  std::set<std::string> present, listed = of_x;
  listed.insert(of_x2.begin(), of_x2.end());
  for (const std::string& name : FilesUnder("shared"))
    if (EndsWith(name, ".rwx")) present.insert(name);
  EXPECT_EQ(listed, present);
  ExpectNoTruncatedModel("shared");
  EXPECT_FALSE(fs::exists("shared/x.prp.lock"));
  EXPECT_FALSE(fs::exists("shared/x2.prp.lock"));
}

TEST(ConvertProcess, BaseNamesOfOneFamilyNeverReplaceEachOthersObjects) {
  // 50 x 220 m cut from its south-west corner: objects up to 21 north, so
  // base h writes h20n..., the names base h2 gives its objects 0n...
  MakeInputs();
  if (!fs::exists("in/tall.ter"))
    test::TerFile(11, 45, 5, [](int i, int j) { return int16_t(20 * i + 15 * j); }).Save("in/tall.ter");
  const std::vector<std::string> args = {"../../in/tall.ter", "--origin", "0,0,0", "--quiet"};
  const auto run_args = [&args](const std::string& base) {
    std::vector<std::string> all = {args[0], base};
    all.insert(all.end(), args.begin() + 1, args.end());
    return all;
  };

  // One after the other: the second run names the list and a file it holds.
  fs::create_directories("family");
  ASSERT_EQ(RunProgram(KALVOR_CONVERT, run_args("h"), "family/run").code, 0);
  const std::vector<std::string> before = FilesUnder("family/run");
  const Result h2 = RunProgram(KALVOR_CONVERT, run_args("h2"), "family/run");
  EXPECT_EQ(h2.code, 2);
  const std::string named = "lists \"h2";
  ASSERT_NE(h2.err.find("The object list \"h.prp\" of another base name " + named), std::string::npos) << h2.err;
  const size_t start = h2.err.find(named) + named.size() - 2;
  EXPECT_EQ(ListedModels("family/run", "h").count(h2.err.substr(start, h2.err.find('"', start) - start)), 1u);
  EXPECT_NE(h2.err.find("remove or rename that list to go on"), std::string::npos);
  EXPECT_EQ(FilesUnder("family/run"), before);

  // At once, a few times: one of them proceeds, or neither does.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const std::string folder = "family/at-once" + std::to_string(round);
    const Child first = Start(KALVOR_CONVERT, run_args("h"), folder);
    const Child second = Start(KALVOR_CONVERT, run_args("h2"), folder);
    const Result a = Wait(first), b = Wait(second);
    EXPECT_FALSE(a.code == 0 && b.code == 0) << a.err << b.err;
    for (const auto& [result, base] : {std::pair{a, "h"}, std::pair{b, "h2"}}) {
      EXPECT_TRUE(result.code == 0 || result.code == 1 || result.code == 2) << result.err;
      EXPECT_EQ(fs::exists(folder + "/" + base + ".prp"), result.code == 0) << result.err;
      if (result.code == 0) ExpectListMatchesModels(folder, base);
    }
    ExpectNoTruncatedModel(folder);
  }
}

// The object list with the time field (the second) of every line blanked:
// a resumed run lists its earlier objects at the time they were written.
std::string ListWithoutTimes(const std::string& path) {
  std::istringstream list(test::ReadFile(path));
  std::string line, text;
  while (std::getline(list, line)) {
    const size_t first = line.find(' '), second = line.find(' ', first + 1);
    text += line.substr(0, first + 1) + "T" + line.substr(second) + "\n";
  }
  return text;
}

TEST(ConvertProcess, AKilledRunResumedWritesTheFilesOfAnUninterruptedOne) {
  MakeInputs();
  MakeWideTerrain();
  const std::vector<std::string> run = {"../in/wide.ter", "v", "--jobs", "2", "--quiet"};
  ASSERT_EQ(RunProgram(KALVOR_CONVERT, run, "uninterrupted").code, 0);

  // Killed outright before its 500th object: every object written before
  // it is listed in the partial list, and no list is there yet.
  ::setenv("KALVOR_KILL_AT_OBJECT", "500", 1);
  const Child killed = Start(KALVOR_CONVERT, run, "resumed");
  ::unsetenv("KALVOR_KILL_AT_OBJECT");
  EXPECT_EQ(Wait(killed).code, 128 + SIGKILL);
  EXPECT_FALSE(fs::exists("resumed/v.prp"));
  const std::string partial = test::ReadFile("resumed/v.prp.partial");
  const auto listed = std::count(partial.begin(), partial.end(), '\n');
  const auto models = [] {
    const std::vector<std::string> names = FilesUnder("resumed");
    return std::count_if(names.begin(), names.end(), [](const std::string& name) { return EndsWith(name, ".rwx"); });
  };
  ASSERT_GT(listed, 400);
  EXPECT_EQ(models(), listed);

  // Other settings are refused, with what differs; nothing is written.
  std::vector<std::string> other = run;
  other.insert(other.end(), {"--object-size", "20", "--resume"});
  const Result refused = RunProgram(KALVOR_CONVERT, other, "resumed");
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find("was made with other settings: object grid \""), std::string::npos) << refused.err;
  EXPECT_EQ(test::ReadFile("resumed/v.prp.partial"), partial);
  EXPECT_EQ(models(), listed);
  const Result nothing = RunProgram(KALVOR_CONVERT, {"../in/wide.ter", "w", "--resume"}, "resumed");
  EXPECT_EQ(nothing.code, 2);
  EXPECT_EQ(nothing.err, "kalvor-convert: There is no unfinished run of \"w.prp\" to resume\n");

  // The resume goes on after them, with another number of threads.
  const Result resumed = RunProgram(KALVOR_CONVERT, {"../in/wide.ter", "v", "--jobs", "1", "--resume"}, "resumed");
  EXPECT_EQ(resumed.code, 0) << resumed.err;
  EXPECT_EQ(resumed.out.rfind("Resumed after the " + std::to_string(listed) +
                                  " objects the unfinished run listed\n" + std::to_string(961 - listed) +
                                  " objects written",
                              0),
            0u)
      << resumed.out;
  std::vector<std::string> files = FilesUnder("uninterrupted");
  std::sort(files.begin(), files.end());
  std::vector<std::string> resumed_files = FilesUnder("resumed");
  std::sort(resumed_files.begin(), resumed_files.end());
  EXPECT_EQ(resumed_files, files);
  for (const std::string& name : files)
    if (EndsWith(name, ".rwx")) EXPECT_EQ(test::ReadFile("resumed/" + name), test::ReadFile("uninterrupted/" + name));
  EXPECT_EQ(ListWithoutTimes("resumed/v.prp"), ListWithoutTimes("uninterrupted/v.prp"));
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

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{},
                                                                                    {"a.ter", "--points=1"},
                                                                                    {"a.ter", "--scale"},
                                                                                    {"a.ter", "--help=x"},
                                                                                    {"a.ter", "--bogus"},
                                                                                    {"a.ter", "b.ter"}}) {
    r = RunProgram(KALVOR_TERGEN, args, "tergen");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("kalvor-tergen: ", 0), 0u) << r.err;
  }
  r = RunProgram(KALVOR_TERGEN, {"no/such/folder/x.ter"}, "tergen");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.rfind("kalvor-tergen: ", 0), 0u) << r.err;
}
