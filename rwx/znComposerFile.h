// The ".CMP" composer file: section "Composer" with "Items", "Material" (the
// basic material's file name) and "GeneralSettings", and one section
// "Item1", "Item2", ... per row with "Filter" and "Material" file names,
// relative to the Settings folder. Sections of rows beyond "Items" may
// remain from a longer earlier state; they are never read.
#pragma once

#include <string>
#include <vector>

struct TznComposerRow {
  std::string Filter;    // filter file name without folder; may be empty
  std::string Material;  // material file name without folder; may be empty
};

struct TznComposerFile {
  // A file claiming more rows than this is refused as damaged.
  static constexpr int kMaxRows = 10000;

  std::vector<TznComposerRow> Rows;
  std::string BasicMaterial;
  // 0: the general settings of the basic material apply; 1: those of the
  // individual materials.
  int GeneralSettings = 0;
};

// Reads a .CMP file. Missing keys give empty names, no rows and general
// settings 0; "GeneralSettings" is clamped to 0..1, a bad "Items" reads as 0.
// Throws EznFileError when the file is missing, a folder or unreadable, and
// EznError when "Items" exceeds TznComposerFile::kMaxRows.
TznComposerFile ReadComposerFile(const std::string& path);

// Writes the keys in place ("Items", "Material", "GeneralSettings", then each
// row's "Filter" and "Material"), keeping everything else of an existing
// file. Throws EznFileError.
void WriteComposerFile(const std::string& path, const TznComposerFile& data);
