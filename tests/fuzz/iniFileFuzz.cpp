// The INI dialect on arbitrary text. Properties: the text comes back byte
// for byte; every section and key listed can be found; a value written
// reads back, also after the written text is parsed again.
#include <string>
#include <string_view>
#include <vector>

#include "base/znFormat.h"
#include "base/znIniFile.h"
#include "fuzzSupport.h"

namespace {

void CheckListing(const TznIniFile& ini) {
  for (const std::string& section : ini.ReadSections()) {
    fuzz::Require(ini.SectionExists(section), "every listed section exists");
    for (const std::string& key : ini.ReadSectionKeys(section)) {
      fuzz::Require(ini.ValueExists(section, key), "every listed key exists");
      const std::string value = ini.ReadString(section, key, "");
      fuzz::Require(value == Trim(value), "values are read without surrounding blanks");
      ini.ReadInteger(section, key, 0);
      ini.ReadReal(section, key, 0);
    }
  }
}

// Writes a value made of the input's last bytes into the first key of the
// first section (or a new section and key).
void CheckWrite(TznIniFile& ini, std::string_view text) {
  const std::vector<std::string> sections = ini.ReadSections();
  const std::string section = sections.empty() ? "Fuzz" : sections.front();
  const std::vector<std::string> keys = ini.ReadSectionKeys(section);
  const std::string key = keys.empty() ? "Key" : keys.front();
  std::string value(text.substr(text.size() > 24 ? text.size() - 24 : 0));

  ini.WriteString(section, key, value);
  // Line breaks in a value become blanks; the value reads back trimmed.
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  const std::string expected(Trim(value));
  fuzz::Require(ini.ReadString(section, key, "<missing>") == expected, "a written value reads back");
  const std::string written = ini.Text();
  const TznIniFile again("fuzz.ini", written);
  fuzz::Require(again.Text() == written, "written text comes back byte for byte");
  fuzz::Require(again.ReadString(section, key, "<missing>") == expected, "a written value survives a new parse");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TznIniFile ini("fuzz.ini", text);
  fuzz::Require(ini.Text() == text, "the text comes back byte for byte");
  CheckListing(ini);
  CheckWrite(ini, text);
  return 0;
}
