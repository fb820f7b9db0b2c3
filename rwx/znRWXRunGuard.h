// What a batch run makes sure of before it writes its first file, and
// undoes after its last: no file it writes replaces one of its inputs; no
// other run writes under the same base name at the same time; what an
// earlier run under this base name left when it was killed is cleared away.
#pragma once

#include <string>
#include <vector>

#include "base/znError.h"
#include "base/znRunLock.h"

// An output path that is one of the run's inputs (the terrain, the composer
// or one of its parts): nothing has been written.
class EznOutputIsInput : public EznError {
 public:
  using EznError::EznError;
};

// The lock file of the runs under a base name: base + ".prp.lock". No
// object file (base + "3n12w.rwx" or ".obj"), material library, object list
// or temporary file of any base name ends like it.
std::string LockFileName(const std::string& base_file_name);

// Throws EznOutputIsInput when an output under the base name (each of the
// names given, such as "3n12w.rwx" or ".mtl", the object list and the lock
// file) is an input, compared by
// device and inode, so that links and other spellings of a path count.
void CheckOutputsSpareInputs(const std::string& base_file_name, const std::vector<std::string>& object_names,
                             const std::vector<std::string>& inputs);
// The same for one output file of another kind (a terrain kept as .ter).
void CheckOutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs);

class TznRWXRunGuard {
 public:
  // Checks the outputs against the inputs, creates the base name's folder,
  // takes the lock and removes the temporary files that the earlier holder
  // of the lock left if it is gone. Throws EznOutputIsInput, and
  // EznFileError when the folder or the lock cannot be made or another run
  // holds the lock.
  TznRWXRunGuard(const std::string& base_file_name, const std::vector<std::string>& object_names,
                 const std::vector<std::string>& inputs);
  // Lets go of the lock and removes its file.
  ~TznRWXRunGuard() = default;

  int LeftoversRemoved() const { return FLeftoversRemoved; }

 private:
  TznRunLock FLock;
  int FLeftoversRemoved = 0;
};
