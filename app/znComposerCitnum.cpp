#include "app/znComposerCitnum.h"

#include <limits>

#include "base/znFormat.h"

int32_t ParseCitizenNumber(std::string_view text) {
  const std::optional<int64_t> value = ParseInt(Trim(text));
  if (!value || *value < std::numeric_limits<int32_t>::min() || *value > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(*value);
}
