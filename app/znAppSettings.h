// The main window's keys of the settings file: section "MainForm" with the
// window's position and section "Settings" with the debug switch, the
// choices of the Basic Shape tab (the mesh and its error among them), the
// files last shown in the editors and the Composer tab, the last terrain,
// the render mode and the citizen number. The map and preview windows keep sections of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "terrain/znCuttingOptions.h"
#include "terrain/znRenderMode.h"

class TznIniFile;

struct TznMainSettings {
  int32_t Left = 0;
  int32_t Top = 0;
  bool Debug = false;
  int32_t ObjectSizeItem = 0;
  int32_t NumberOfVerticesItem = TznCuttingOptions::kDefaultVertices - TznCuttingOptions::kMinVertices;
  int32_t Mesh = TznCuttingOptions::kGridMesh;                    // 0 the regular grid, 1 adaptive meshes
  double MaxErrorCm = TznCuttingOptions::kDefaultMaxError * 100;  // their error
  std::string FilterFile;
  std::string MaterialFile;
  std::string ComposerFile;
  std::string TerFile;
  // Nothing when the stored number names no mode: the terrain keeps its own.
  std::optional<TznRenderMode> RenderMode = TznRenderMode::RWXPreview;
  int32_t Citnum = 0;
  // "Fit into 1000 m x 1000 m" in the File menu: .ter files are fitted on
  // load (rasters always keep their size); off, every terrain keeps it.
  bool FitInto1000 = true;
};

// Every key that is missing or does not parse reads as its default.
TznMainSettings ReadMainSettings(const TznIniFile& ini);

// Writes the keys in the order of the structure. "TerFile" is written only
// when write_ter_file is set (after a load attempt), so that a run without
// one keeps the previous value.
void WriteMainSettings(TznIniFile& ini, const TznMainSettings& settings, bool write_ter_file);
