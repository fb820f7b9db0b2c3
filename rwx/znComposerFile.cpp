#include "rwx/znComposerFile.h"

#include <algorithm>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znIniFile.h"
#include "base/znSafeFile.h"

namespace {

constexpr std::string_view kComposer = "Composer";

std::string ItemSection(int row) { return "Item" + FormatInt(row); }

}  // namespace

TznComposerFile ReadComposerFile(const std::string& path) {
  CheckRegularFile(path, "a composer file");
  const TznIniFile ini(path);
  TznComposerFile data;
  data.BasicMaterial = Trim(ini.ReadString(kComposer, "Material", ""));
  data.GeneralSettings = std::clamp(ini.ReadInteger(kComposer, "GeneralSettings", 0), 0, 1);
  const int items = ini.ReadInteger(kComposer, "Items", 0);
  if (items > TznComposerFile::kMaxRows) throw EznBadFile("Too many items (" + FormatInt(items) + ") in " + path);
  for (int row = 1; row <= items; ++row)
    data.Rows.push_back(
        {ini.ReadString(ItemSection(row), "Filter", ""), ini.ReadString(ItemSection(row), "Material", "")});
  return data;
}

void WriteComposerFile(const std::string& path, const TznComposerFile& data) {
  TznIniFile ini(path);
  ini.WriteInteger(kComposer, "Items", static_cast<int64_t>(data.Rows.size()));
  ini.WriteString(kComposer, "Material", Trim(data.BasicMaterial));
  ini.WriteInteger(kComposer, "GeneralSettings", data.GeneralSettings);
  for (size_t i = 0; i < data.Rows.size(); ++i) {
    const std::string section = ItemSection(static_cast<int>(i) + 1);
    ini.WriteString(section, "Filter", data.Rows[i].Filter);
    ini.WriteString(section, "Material", data.Rows[i].Material);
  }
  ini.UpdateFile();
}
