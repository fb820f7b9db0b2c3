// The ordered list of filter/material pairs that decides which material each
// triangle of an RWX object gets: a face takes the material of the first
// pair whose filter applies to it; the last pair, the basic material with a
// filter that is never consulted, takes every face left. With it go the
// run-wide choices: whose general settings apply, the citizen number of the
// object list, and the textures of the preview.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/znVectors.h"
#include "rwx/znRWXFaceFilter.h"
#include "rwx/znRWXMaterial.h"

// The textures loaded for the 3D preview, one per lower-case texture name.
// The drawing code implements it; the composer only owns it.
class TznRWXComposerTextures {
 public:
  virtual ~TznRWXComposerTextures() = default;
  virtual size_t Count() const = 0;
};

class TznRWXComposer {
 public:
  TznRWXComposer() = default;
  TznRWXComposer(const TznRWXComposer&) = delete;
  TznRWXComposer& operator=(const TznRWXComposer&) = delete;

  // Appends a pair and takes ownership of both; either may be null, and such
  // a pair is skipped by the selection rule.
  void Add(std::unique_ptr<TznRWXFaceFilter> filter, std::unique_ptr<TznRWXMaterial> material);

  int Count() const { return static_cast<int>(FFilters.size()); }
  // A number no other composer of this run has, and that changes with every
  // pair added: what the preview keeps of the selection rule is kept under it.
  uint64_t Serial() const { return FSerial; }
  // Parts of pair 0 .. Count() - 1; null for a part that was added as null.
  const TznRWXFaceFilter* Filter(int pair) const { return FFilters[pair].get(); }
  const TznRWXMaterial* Material(int pair) const { return FMaterials[pair].get(); }
  // The material of the last pair; null while there is no pair.
  const TznRWXMaterial* BasicMaterial() const;

  bool IndividualSettings() const { return FIndividualSettings; }
  void SetIndividualSettings(bool value) { FIndividualSettings = value; }
  int32_t CitizenNumber() const { return FCitizenNumber; }
  void SetCitizenNumber(int32_t value) { FCitizenNumber = value; }
  // Ends with the path separator.
  const std::string& TextureFolder() const { return FTextureFolder; }
  void SetTextureFolder(std::string value) { FTextureFolder = std::move(value); }

  // The files the composer was read from (its .CMP, .MTR and .FTR files):
  // a save run refuses to write over any of them.
  const std::vector<std::string>& SourceFiles() const { return FSourceFiles; }
  void AddSourceFile(std::string path) { FSourceFiles.push_back(std::move(path)); }
  // The files a run reads through the composer: its sources and, for each
  // texture a material uses, the pictures the preview looks for in the
  // Textures folder (lower-case name + ".jpg" and ".bmp"). None of them
  // may be an output of the run.
  std::vector<std::string> ReadFiles() const;

  // Null until the preview's texture loading has filled them.
  const TznRWXComposerTextures* Textures() const { return FTextures.get(); }
  TznRWXComposerTextures* Textures() { return FTextures.get(); }
  void SetTextures(std::unique_ptr<TznRWXComposerTextures> textures) { FTextures = std::move(textures); }

  // One step of the selection rule for one object: the faces not yet marked
  // that the pair claims are marked and appended to claimed (mesh order).
  // A pair before the last claims the faces its filter applies to; the last
  // pair claims every face left; a pair with a missing filter or material,
  // or out of range, claims none. The object's centre is in centimetres.
  // Returns whether the pair claimed any face.
  bool ClaimFaces(int pair, const TznVertex3fArray& vertices, const TznVertex3wArray& faces,
                  const TznVertex3fArray& normals, double centre_x, double centre_z, std::vector<uint8_t>& face_marks,
                  std::vector<uint32_t>& claimed) const;

  // The whole rule: for each face the pair that claims it, or -1 when no
  // pair does (only possible when the last pair is missing a part).
  std::vector<int> AssignFaces(const TznVertex3fArray& vertices, const TznVertex3wArray& faces,
                               const TznVertex3fArray& normals, double centre_x, double centre_z) const;

 private:
  static uint64_t NextSerial();

  uint64_t FSerial = NextSerial();
  std::vector<std::unique_ptr<TznRWXFaceFilter>> FFilters;
  std::vector<std::unique_ptr<TznRWXMaterial>> FMaterials;
  std::unique_ptr<TznRWXComposerTextures> FTextures;
  bool FIndividualSettings = false;
  int32_t FCitizenNumber = 0;
  std::string FTextureFolder;
  std::vector<std::string> FSourceFiles;
};
