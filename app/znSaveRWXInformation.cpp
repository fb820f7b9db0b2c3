#include "app/znSaveRWXInformation.h"

#include "base/znFormat.h"
#include "base/znSafeFile.h"

std::string SaveRWXInformation(const TznTerra::TObjectPlan& plan, const std::string& typed, TznModelFormat format) {
  if (plan.Count == 0) return "The terrain holds no objects to write";
  const std::string typed_name = ExtractFileName(typed);
  const std::string base = typed_name.empty() ? "BASE" : typed_name;
  const std::string extension = format == TznModelFormat::Obj ? ".obj" : ".rwx";
  return "Up to " + FormatInt(plan.Count) + (plan.Count == 1 ? " object" : " objects") + ", the first " + base +
         plan.FirstPlace + extension + ", listed in " + base + ".prp";
}
