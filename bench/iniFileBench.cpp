// The INI dialect on a settings file of a million lines (about 50 MB): the
// reading alone, the program's start (three windows each read the file and
// look up their keys) and its exit (three windows each read the file, write
// their keys and save it). The goal is well under 2 s for each.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/znIniFile.h"

namespace {

constexpr int kBulkSections = 1000;
constexpr int kKeysPerSection = 1000;

// "[Settings]" first and without "TerFile", so that the exit inserts a key
// near the top; then the bulk; then "[MainForm]"; no "Map" or "Renderer",
// which the exit appends.
std::string SettingsText() {
  std::string text =
      "[Settings]\nDebug=0\nObjectSizeItem=0\nNumberOfVerticesItem=9\nFilterFile=Standard.FTR\n"
      "MaterialFile=Standard.MTR\nComposerFile=Standard.CMP\nRenderMode=1\nCitnum=0\n";
  text.reserve(52u << 20);
  for (int s = 0; s < kBulkSections; ++s) {
    text += "[Bulk" + std::to_string(s) + "]\n";
    for (int k = 0; k < kKeysPerSection - 1; ++k)
      text += "Key" + std::to_string(k) + "=a value long enough for fifty bytes a line\n";
  }
  text += "[MainForm]\nLeft=10\nTop=20\n";
  return text;
}

const std::string& SettingsPath() {
  static const std::string path = [] {
    std::string p = (std::filesystem::temp_directory_path() / "kalvor-bench-million.ini").string();
    std::ofstream(p, std::ios::binary) << SettingsText();
    return p;
  }();
  return path;
}

// What the main window, the map and the 3D preview read at their start.
int64_t ReadWindowKeys(const TznIniFile& ini, const char* section) {
  int64_t sum = 0;
  for (const char* key : {"Left", "Top", "Width", "Height"}) sum += ini.ReadInteger(section, key, 0);
  return sum;
}

int64_t ReadMainKeys(const TznIniFile& ini) {
  int64_t sum = ini.ReadInteger("MainForm", "Left", 0) + ini.ReadInteger("MainForm", "Top", 0);
  for (const char* key : {"Debug", "ObjectSizeItem", "NumberOfVerticesItem", "RenderMode", "Citnum"})
    sum += ini.ReadInteger("Settings", key, 0);
  for (const char* key : {"FilterFile", "MaterialFile", "ComposerFile", "TerFile"})
    sum += static_cast<int64_t>(ini.ReadString("Settings", key, "").size());
  return sum;
}

void WriteWindowKeys(TznIniFile& ini, const char* section) {
  for (const char* key : {"Left", "Top", "Width", "Height"}) ini.WriteInteger(section, key, 100);
}

void WriteMainKeys(TznIniFile& ini) {
  ini.WriteInteger("MainForm", "Left", 11);
  ini.WriteInteger("MainForm", "Top", 21);
  for (const char* key : {"Debug", "ObjectSizeItem", "NumberOfVerticesItem", "RenderMode", "Citnum"})
    ini.WriteInteger("Settings", key, 1);
  for (const char* key : {"FilterFile", "MaterialFile", "ComposerFile", "TerFile"})
    ini.WriteString("Settings", key, "Other.MTR");
}

void BM_IniRead(benchmark::State& state) {
  const std::string& path = SettingsPath();
  for (auto _ : state) {
    TznIniFile ini(path);
    benchmark::DoNotOptimize(ini.ReadInteger("MainForm", "Left", 0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void BM_IniStart(benchmark::State& state) {
  const std::string& path = SettingsPath();
  for (auto _ : state) {
    int64_t sum = ReadMainKeys(TznIniFile(path));
    sum += ReadWindowKeys(TznIniFile(path), "Map");
    sum += ReadWindowKeys(TznIniFile(path), "Renderer");
    benchmark::DoNotOptimize(sum);
  }
}

void BM_IniExit(benchmark::State& state) {
  const std::string original = SettingsText();
  const std::string path = (std::filesystem::temp_directory_path() / "kalvor-bench-exit.ini").string();
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << original;
    state.ResumeTiming();
    for (const char* section : {"Map", "Renderer"}) {
      TznIniFile ini(path);
      WriteWindowKeys(ini, section);
      ini.UpdateFile();
    }
    TznIniFile ini(path);
    WriteMainKeys(ini);
    ini.UpdateFile();
  }
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_IniRead)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_IniStart)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_IniExit)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
