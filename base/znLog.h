// One sink for warnings the user should see (a missing filter named in a
// composer, a texture that failed to decode). The command-line tools print
// them; the windows show them in the debug log.
#pragma once

#include <functional>
#include <string>

using TznWarningSink = std::function<void(const std::string&)>;

// Installs the sink and returns the previous one. Without a sink warnings
// go to standard error.
TznWarningSink SetWarningSink(TznWarningSink sink);

void Warn(const std::string& message);
