// What a batch run makes sure of before it writes its first file, and
// undoes after its last: every output is a regular file or a new one; no
// file it writes replaces one of its inputs, another of its outputs or an
// object of another base name (znRWXBaseFamily.h); no other run writes
// under the same base name at the same time; what an earlier run under
// this base name left when it was killed is cleared away.
#pragma once

#include <string>
#include <vector>

#include "base/znError.h"
#include "base/znRunLock.h"
#include "rwx/znOutputNames.h"
#include "rwx/znRWXPart.h"

// An output the run must not write: nothing has been written.
class EznOutputRefused : public EznError {
 public:
  using EznError::EznError;
};

// An output path that is one of the run's inputs (the terrain and the
// files it was read from, the composer, its parts and their textures).
class EznOutputIsInput : public EznOutputRefused {
 public:
  using EznOutputRefused::EznOutputRefused;
};

// The lock file of the runs under a base name: base + ".prp.lock". No
// object file (base + "3n12w.rwx" or ".obj"), material library, object list
// or temporary file of any base name ends like it.
std::string LockFileName(const std::string& base_file_name);

// Throws EznNotAFile when an output under the base name (each of the names
// given, such as "3n12w.rwx" or ".mtl", the object list and the lock file)
// is no regular file (CheckOutputKind), and EznOutputIsInput when one is an
// input, compared by device and inode, so that links and other spellings
// of a path count.
// A part's list and lock are base + part.Suffix() + ".prp" (".prp.lock").
void CheckOutputsSpareInputs(const std::string& base_file_name, const TznOutputNames& object_names,
                             const std::vector<std::string>& inputs, const TznRWXPart& part = {});
// The same for one output file of another kind (a terrain kept as .ter);
// when the run also writes under a base name, that output must not be one
// of the base name's files either (EznOutputRefused): its object list,
// material library, lock file or any object file.
void CheckOutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs,
                             const std::string& base_file_name = "");

class TznRWXRunGuard {
 public:
  // Checks the outputs against the inputs, creates the base name's folder,
  // takes the lock, checks the base name's family (CheckBaseFamily) and
  // removes the temporary files that the earlier holder of the lock left if
  // it is gone. Throws EznNotAFile and EznOutputRefused, and EznFileError
  // when the folder or the lock cannot be made or another run holds the
  // lock or one of the family's. A part takes the lock of its own list, so
  // the parts of a base name run side by side; a part and a run of the
  // whole base name (or a join) keep each other away.
  TznRWXRunGuard(const std::string& base_file_name, const TznOutputNames& object_names,
                 const std::vector<std::string>& inputs, const TznRWXPart& part = {});
  // Lets go of the lock and removes its file.
  ~TznRWXRunGuard() = default;

  int LeftoversRemoved() const { return FLeftoversRemoved; }

 private:
  TznRunLock FLock;
  int FLeftoversRemoved = 0;
};
