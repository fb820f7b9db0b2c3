// A part of a run that several machines share: part K of N writes the K-th
// of N contiguous ranges of the objects the whole run writes, in grid
// order, with its own object list BASE.partK-of-N.prp and its own lock, so
// that the N parts of one base name run at the same time. Joining the
// parts' lists afterwards gives the list a single run writes.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct TznRWXPart {
  int Index = 1;  // K, from 1
  int Count = 1;  // N

  bool IsWhole() const { return Count == 1; }
  // ".partK-of-N", or "" for the whole run: the list is base + this + ".prp".
  std::string Suffix() const;
  // The range [begin, end) of the indices 0 .. objects - 1 this part
  // writes: [floor((K - 1) · M / N), floor(K · M / N)). The ranges of the
  // N parts follow each other without a gap, and their sizes differ by one
  // at most.
  std::pair<int, int> Range(int objects) const;
  bool operator==(const TznRWXPart&) const = default;
};

// A part list or lock found beside a base name.
struct TznRWXPartFile {
  TznRWXPart Part;
  std::string Path;
};

// The files base + ".partK-of-N" + extension in the base name's folder
// (extension ".prp" for the lists, ".prp.lock" for the locks), sorted by N,
// then K.
std::vector<TznRWXPartFile> PartFilesOf(const std::string& base_file_name, const std::string& extension);

// Throws EznFileError when a part run holds its lock under the base name
// (a whole run must not write the files the parts write).
void CheckNoPartRunning(const std::string& base_file_name);
// Throws EznFileError when a run under the whole base name holds its lock
// (a whole run or a join).
void CheckNoWholeRunRunning(const std::string& base_file_name);

// Makes base + ".prp" from the lists of the parts 1 .. N under the base
// name, atomically: their lines in grid order, as a single run lists them,
// joined to the lines of an existing base + ".prp" whose objects no part
// lists (MergeObjectLists). The part lists stay. Takes the base name's
// lock. Throws EznFileError when another run holds it or a part still
// runs, and EznInputFileError when no part list is there, one is missing,
// or lists of different counts N lie beside each other. Returns the number
// of lines of the joined list.
int JoinPartLists(const std::string& base_file_name);
