// A model writer turns the mesh of one object into the text of one model
// file in its format; the batch writer (znRWXChunkCentral.h) names, saves
// and lists the files. Which pair of the composer claims each face is in
// the mesh already (TznRWXChunk::AssignFaces).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/znLineList.h"
#include "base/znModelFormat.h"
#include "base/znObjectMesh.h"

class TznRWXComposer;
class TznRWXMaterial;

class TznModelWriter {
 public:
  virtual ~TznModelWriter() = default;

  // The extension of the object files, with its dot: ".rwx".
  virtual std::string Extension() const = 0;

  // Fills lines with the model of the mesh, whose object has its centre at
  // (centre_x, centre_z), centimetres east and north of the terrain's grid
  // point 0. Without a composer the plain model is written. Returns false
  // when the mesh has no face: no file is written for it then.
  virtual bool WriteModel(const TznObjectMesh& mesh, double centre_x, double centre_z, const TznRWXComposer* composer,
                          TznLineList& lines) const = 0;

  // The files a run writes once beside its objects and object list, as
  // suffixes of the base name (".mtl"); none by default.
  virtual std::vector<std::string> RunFileSuffixes() const { return {}; }
  // Writes them atomically; returns the bytes written.
  virtual int64_t WriteRunFiles(const std::string& /*base_file_name*/, const TznRWXComposer* /*composer*/) const {
    return 0;
  }
};

// The writer of a format for a run under the base name.
std::unique_ptr<TznModelWriter> MakeModelWriter(TznModelFormat format, const std::string& base_file_name);

// The faces each pair of the composer claims, in mesh order, by the mesh's
// FacePairs.
std::vector<std::vector<uint32_t>> FacesOfPairs(const TznObjectMesh& mesh, int pair_count);

// Which of a pair's material m and the basic material b gives a face its
// colour, opacity and texture: m when it sets its own, else b.
const TznRWXMaterial& ColorSource(const TznRWXMaterial& m, const TznRWXMaterial& b);
const TznRWXMaterial& OpacitySource(const TznRWXMaterial& m, const TznRWXMaterial& b);
const TznRWXMaterial& TextureSource(const TznRWXMaterial& m, const TznRWXMaterial& b);
