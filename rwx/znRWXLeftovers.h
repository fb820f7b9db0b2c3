// A batch run killed outright (kill -9, a power cut) leaves the temporary
// file of the object it was writing beside the finished ones; the next run
// under the same base name clears them away before it starts.
#pragma once

#include <string>
#include <string_view>

// Whether a name is that of an object file, such as "3n12w.rwx".
bool IsObjectFileName(std::string_view name);

// Removes the temporary files a batch run under this base file name makes:
// those of its object files (base + "3n12w.rwx") and of its object list
// (base + ".prp"). Returns how many it removed; a missing folder has none,
// and files that cannot be removed stay.
int RemoveLeftoverTemporaries(const std::string& base_file_name);
