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
  const TznMainSettings d;
  TznMainSettings s;
  s.Left = ini.ReadInteger(kMainForm, "Left", d.Left);
  s.Top = ini.ReadInteger(kMainForm, "Top", d.Top);
  s.Debug = ini.ReadBool(kSettings, "Debug", d.Debug);
  s.ObjectSizeItem = ini.ReadInteger(kSettings, "ObjectSizeItem", d.ObjectSizeItem);
  s.NumberOfVerticesItem = ini.ReadInteger(kSettings, "NumberOfVerticesItem", d.NumberOfVerticesItem);
  s.Mesh = ini.ReadInteger(kSettings, "Mesh", d.Mesh);
  s.MaxErrorCm = ini.ReadReal(kSettings, "MaxErrorCm", d.MaxErrorCm);
  s.FilterFile = SettingsFileName(ini, "FilterFile", d.FilterFile);
  s.MaterialFile = SettingsFileName(ini, "MaterialFile", d.MaterialFile);
  s.ComposerFile = SettingsFileName(ini, "ComposerFile", d.ComposerFile);
  s.TerFile = ini.ReadString(kSettings, "TerFile", d.TerFile);
  s.RenderMode = ini.ReadInteger(kSettings, "RenderMode", d.RenderMode);
  s.Citnum = ini.ReadInteger(kSettings, "Citnum", d.Citnum);
  return s;
}

void WriteMainSettings(TznIniFile& ini, const TznMainSettings& s, bool write_ter_file) {
  ini.WriteInteger(kMainForm, "Left", s.Left);
  ini.WriteInteger(kMainForm, "Top", s.Top);
  ini.WriteBool(kSettings, "Debug", s.Debug);
  ini.WriteInteger(kSettings, "ObjectSizeItem", s.ObjectSizeItem);
  ini.WriteInteger(kSettings, "NumberOfVerticesItem", s.NumberOfVerticesItem);
  ini.WriteInteger(kSettings, "Mesh", s.Mesh);
  ini.WriteReal(kSettings, "MaxErrorCm", s.MaxErrorCm);
  ini.WriteString(kSettings, "FilterFile", s.FilterFile);
  ini.WriteString(kSettings, "MaterialFile", s.MaterialFile);
  ini.WriteString(kSettings, "ComposerFile", s.ComposerFile);
  if (write_ter_file) ini.WriteString(kSettings, "TerFile", s.TerFile);
  ini.WriteInteger(kSettings, "RenderMode", s.RenderMode);
  ini.WriteInteger(kSettings, "Citnum", s.Citnum);
}
