// What a batch run keeps while it writes, so that a run killed outright
// (kill -9, a crash) or stopped between two objects can go on where it
// stopped (--resume): beside its object list LIST (such as "hill.prp"),
// LIST + ".run" holds what its files depend on (the terrain, the grid,
// the mesh, the composer, the format, the region and the part), one
// "name=value" line each, and LIST + ".partial" its object list's lines as
// the objects are written, in grid order. A run that ends makes its list
// from them and removes both. Power loss is out of scope: the objects are
// not synced to the disk one by one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/znSafeFile.h"
#include "rwx/znRWXRunGuard.h"

// One thing a run's files depend on, in words: its name and its value.
struct TznRunSetting {
  std::string Name, Value;
  bool operator==(const TznRunSetting&) const = default;
};
using TznRunSettings = std::vector<TznRunSetting>;

// A resume that cannot go on: no unfinished run under the base name, or
// one made with other settings; nothing has been written.
class EznResumeRefused : public EznOutputRefused {
 public:
  using EznOutputRefused::EznOutputRefused;
};

std::string RunSettingsFileName(const std::string& list_path);
std::string PartialListFileName(const std::string& list_path);

// Whether an unfinished run's files lie beside the object list.
bool UnfinishedRunAt(const std::string& list_path);

class TznRWXRunJournal {
 public:
  explicit TznRWXRunJournal(std::string list_path);
  ~TznRWXRunJournal();
  TznRWXRunJournal(const TznRWXRunJournal&) = delete;
  TznRWXRunJournal& operator=(const TznRWXRunJournal&) = delete;

  // Starts anew: the settings are written, the partial list is empty.
  void Start(const TznRunSettings& settings);
  // Goes on with the unfinished run: throws EznResumeRefused when there is
  // none, or when its settings differ from these (the message names each
  // difference). A line that a killed run left half written is cut off.
  // Returns the object file name of the last line listed ("" for none).
  std::string Resume(const TznRunSettings& settings);

  // Lines listed so far, this run's and those of the run it resumes.
  int64_t Lines() const { return FLines; }
  // Adds an object's line (without its line end).
  void Append(const std::string& line);
  // Hands what is buffered to the system.
  void Flush();
  // Every line listed so far, in order, with its "\r\n", to the sink.
  void CopyLines(const TznContentSink& write);
  // The lines listed so far, without line ends.
  std::vector<std::string> ReadLines();
  // The run is done: the settings and the partial list go.
  void Finish();

 private:
  void Open(bool truncate);

  std::string FListPath;
  int FFd = -1;
  std::string FBuffer;
  int64_t FLines = 0;
};
