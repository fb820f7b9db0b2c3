#include "rwx/znRWXRunJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXObjectList.h"

std::string RunSettingsFileName(const std::string& list_path) { return list_path + ".run"; }
std::string PartialListFileName(const std::string& list_path) { return list_path + ".partial"; }

bool UnfinishedRunAt(const std::string& list_path) {
  return FileExists(RunSettingsFileName(list_path)) && FileExists(PartialListFileName(list_path));
}

namespace {

// The pieces in which the partial list is copied.
constexpr size_t kCopyBytes = 64 * 1024;

std::string SettingsText(const TznRunSettings& settings) {
  std::string text;
  for (const TznRunSetting& setting : settings) text += setting.Name + "=" + setting.Value + "\n";
  return text;
}

std::map<std::string, std::string> ReadSettings(const std::string& path) {
  std::map<std::string, std::string> settings;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) settings[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return settings;
}

// What differs between the unfinished run's settings and these, in words;
// empty when nothing does.
std::string Differences(const std::map<std::string, std::string>& earlier, const TznRunSettings& settings) {
  std::string text;
  for (const TznRunSetting& setting : settings) {
    const auto found = earlier.find(setting.Name);
    const std::string before = found == earlier.end() ? "(none)" : found->second;
    if (before == setting.Value) continue;
    text += (text.empty() ? "" : "; ") + setting.Name + " \"" + before + "\" there, \"" + setting.Value + "\" here";
  }
  return text;
}

[[noreturn]] void FailOn(const std::string& action, const std::string& path) {
  throw EznFileError(FileErrorText(action, path, errno));
}

}  // namespace

TznRWXRunJournal::TznRWXRunJournal(std::string list_path) : FListPath(std::move(list_path)) {}

TznRWXRunJournal::~TznRWXRunJournal() {
  if (FFd < 0) return;
  try {
    Flush();
  } catch (const EznFileError&) {
    // The lines that did not reach the file are written again by a resume.
  }
  ::close(FFd);
}

void TznRWXRunJournal::Open(bool truncate) {
  const std::string path = PartialListFileName(FListPath);
  FFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : 0), 0666);
  if (FFd < 0) FailOn("Cannot create file", path);
}

void TznRWXRunJournal::Start(const TznRunSettings& settings) {
  SaveFileAtomically(RunSettingsFileName(FListPath), SettingsText(settings), TznFlush::Lazy);
  Open(true);
  FLines = 0;
}

std::string TznRWXRunJournal::Resume(const TznRunSettings& settings) {
  if (!UnfinishedRunAt(FListPath))
    throw EznResumeRefused("There is no unfinished run of \"" + FListPath + "\" to resume");
  const std::string differences = Differences(ReadSettings(RunSettingsFileName(FListPath)), settings);
  if (!differences.empty())
    throw EznResumeRefused("The unfinished run of \"" + FListPath + "\" was made with other settings: " + differences +
                           "; resume it with its own settings, or start it anew");
  // The complete lines stay; a half written last one goes.
  const std::string path = PartialListFileName(FListPath);
  std::ifstream in(path, std::ios::binary);
  if (!in) FailOn("Cannot open file", path);
  std::string line, last_name;
  int64_t complete = 0;
  FLines = 0;
  while (std::getline(in, line)) {
    if (in.eof() || line.empty() || line.back() != '\r') break;
    complete += static_cast<int64_t>(line.size()) + 1;
    ++FLines;
    last_name = ListedName(line);
  }
  in.close();
  Open(false);
  if (::ftruncate(FFd, complete) != 0 || ::lseek(FFd, 0, SEEK_END) < 0) FailOn("Cannot write file", path);
  return last_name;
}

void TznRWXRunJournal::Append(const std::string& line) {
  FBuffer += line;
  FBuffer += "\r\n";
  ++FLines;
  // Each line goes to the system at once: a killed run has listed every
  // object it wrote, but the one it was renaming into place, which a
  // resume writes again. One small write beside each object's own.
  Flush();
}

void TznRWXRunJournal::Flush() {
  const size_t done = WriteWhole(FFd, FBuffer);
  if (done < FBuffer.size()) {
    FBuffer.erase(0, done);
    FailOn("Cannot write file", PartialListFileName(FListPath));
  }
  FBuffer.clear();
}

void TznRWXRunJournal::CopyLines(const TznContentSink& write) {
  Flush();
  const std::string path = PartialListFileName(FListPath);
  std::ifstream in(path, std::ios::binary);
  if (!in) FailOn("Cannot open file", path);
  std::string chunk(kCopyBytes, '\0');
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (in.gcount() > 0) write(std::string_view(chunk.data(), static_cast<size_t>(in.gcount())));
  }
  if (in.bad()) FailOn("Cannot read file", path);
}

std::vector<std::string> TznRWXRunJournal::ReadLines() {
  Flush();
  return ReadObjectList(PartialListFileName(FListPath));
}

void TznRWXRunJournal::Finish() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
  FBuffer.clear();
  std::remove(PartialListFileName(FListPath).c_str());
  std::remove(RunSettingsFileName(FListPath).c_str());
}
