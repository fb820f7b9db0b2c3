// A batch run killed outright (kill -9, a power cut) leaves the temporary
// file of the object it was writing beside the finished ones; the next run
// under the same base name clears them away before it starts.
#pragma once

#include <string>
#include <string_view>

// Whether a name is that of an object file, such as "3n12w.rwx" or
// "3n12w.obj".
bool IsObjectFileName(std::string_view name);

// Removes the temporary files that the run of process owner made under this
// base file name: those of its object files (base + "3n12w.rwx" or
// ".obj"), of its material library (base + ".mtl") and of its object list
// (base + list_suffix: ".prp", or a part's ".part2-of-4.prp") and of the
// settings of its unfinished run (list + ".run"). Nothing
// goes while that process lives: the file may be one it is writing. Another base name's files stay, even one
// that shares the prefix (base "x2" writes "x20n0w.rwx", which reads as
// base "x" and object "20n0w.rwx"), since its run has another owner.
// Returns how many it removed; a missing folder has none, and files that
// cannot be removed stay.
int RemoveLeftoverTemporaries(const std::string& base_file_name, long owner, const std::string& list_suffix = ".prp");

// Removes the temporary files of one target file (target + ".tmp<pid>-<n>",
// such as those of a terrain kept as .ter) whose owner process is gone: no
// lock names their owner, so each one's own process id tells. Returns how
// many it removed.
int RemoveOwnerlessTemporaries(const std::string& target);
