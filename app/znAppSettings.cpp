#include "app/znAppSettings.h"

#include "base/znFormat.h"
#include "base/znIniFile.h"
#include "base/znLog.h"
#include "base/znSafeFile.h"

namespace {

constexpr const char* kMainForm = "MainForm";
constexpr const char* kSettings = "Settings";

// A file name in the Settings folder; one that leads out of it (an absolute
// path, "../") is not used, as if the key were missing.
std::string SettingsFileName(const TznIniFile& ini, const char* key, const std::string& fallback) {
  std::string name = ini.ReadString(kSettings, key, fallback);
  if (StaysInsideFolder(name)) return name;
  Warn(std::string("\"") + key + "\" names \"" + name + "\", which lies outside the Settings folder; it is not used");
  return fallback;
}

}  // namespace

TznMainSettings ReadMainSettings(const TznIniFile& ini) {
  const TznMainSettings defaults;
  TznMainSettings settings;
  settings.Left = ini.ReadInteger(kMainForm, "Left", defaults.Left);
  settings.Top = ini.ReadInteger(kMainForm, "Top", defaults.Top);
  settings.Debug = ini.ReadBool(kSettings, "Debug", defaults.Debug);
  settings.ObjectSizeItem = ini.ReadInteger(kSettings, "ObjectSizeItem", defaults.ObjectSizeItem);
  settings.NumberOfVerticesItem = ini.ReadInteger(kSettings, "NumberOfVerticesItem", defaults.NumberOfVerticesItem);
  settings.Mesh = ini.ReadInteger(kSettings, "Mesh", defaults.Mesh);
  settings.MaxErrorCm = ini.ReadReal(kSettings, "MaxErrorCm", defaults.MaxErrorCm);
  settings.FilterFile = SettingsFileName(ini, "FilterFile", defaults.FilterFile);
  settings.MaterialFile = SettingsFileName(ini, "MaterialFile", defaults.MaterialFile);
  settings.ComposerFile = SettingsFileName(ini, "ComposerFile", defaults.ComposerFile);
  settings.TerFile = ini.ReadString(kSettings, "TerFile", defaults.TerFile);
  settings.RenderMode =
      RenderModeOfNumber(ini.ReadInteger(kSettings, "RenderMode", RenderModeNumber(*defaults.RenderMode)));
  settings.Citnum = ini.ReadInteger(kSettings, "Citnum", defaults.Citnum);
  settings.FitInto1000 = ini.ReadBool(kSettings, "FitInto1000", defaults.FitInto1000);
  return settings;
}

void WriteMainSettings(TznIniFile& ini, const TznMainSettings& settings, bool write_ter_file) {
  ini.WriteInteger(kMainForm, "Left", settings.Left);
  ini.WriteInteger(kMainForm, "Top", settings.Top);
  ini.WriteBool(kSettings, "Debug", settings.Debug);
  ini.WriteInteger(kSettings, "ObjectSizeItem", settings.ObjectSizeItem);
  ini.WriteInteger(kSettings, "NumberOfVerticesItem", settings.NumberOfVerticesItem);
  ini.WriteInteger(kSettings, "Mesh", settings.Mesh);
  ini.WriteReal(kSettings, "MaxErrorCm", settings.MaxErrorCm);
  ini.WriteString(kSettings, "FilterFile", settings.FilterFile);
  ini.WriteString(kSettings, "MaterialFile", settings.MaterialFile);
  ini.WriteString(kSettings, "ComposerFile", settings.ComposerFile);
  if (write_ter_file) ini.WriteString(kSettings, "TerFile", settings.TerFile);
  if (settings.RenderMode) ini.WriteInteger(kSettings, "RenderMode", RenderModeNumber(*settings.RenderMode));
  ini.WriteInteger(kSettings, "Citnum", settings.Citnum);
  ini.WriteBool(kSettings, "FitInto1000", settings.FitInto1000);
}
