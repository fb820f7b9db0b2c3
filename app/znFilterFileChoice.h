// Which entry of the filter list holds a file name. Names are matched
// without regard to case, as on the systems where these files were first
// made, but where the folder holds names differing only in case the exact
// one wins.
#pragma once

#include <string>
#include <vector>

// Position of the entry, or -1 when none matches.
int FilterListIndex(const std::vector<std::string>& names, const std::string& name);
