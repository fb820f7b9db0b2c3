// The Wavefront OBJ writer: one .obj model per object, in metres from the
// object's centre at height 0, X east, Y up and Z south (right-handed, as
// Blender and MeshLab read it), and one material library base + ".mtl" per
// run with a material per filter/material pair of the composer: its colour
// (Kd), opacity (d) and texture (map_Kd Textures/NAME.jpg, so that a
// Textures folder beside the files is found).
#pragma once

#include "rwx/znModelWriter.h"

class TznOBJModelWriter : public TznModelWriter {
 public:
  // The base name of the run: every model names its material library.
  explicit TznOBJModelWriter(const std::string& base_file_name);

  std::string Extension() const override { return ".obj"; }
  bool WriteModel(const TznObjectMesh& mesh, double centre_x, double centre_z, const TznRWXComposer* composer,
                  TznLineList& lines) const override;
  std::vector<std::string> RunFileSuffixes() const override { return {".mtl"}; }
  int64_t WriteRunFiles(const std::string& base_file_name, const TznRWXComposer* composer) const override;

  // The material of a pair (0-based) in the library, and that of the
  // model without a composer.
  static std::string MaterialName(int pair) { return "pair" + std::to_string(pair + 1); }
  static constexpr const char* kPlainMaterial = "plain";

 private:
  std::string FLibraryName;  // the library's file name, without folder
};
