#include "rwx/znModelWriter.h"

#include <algorithm>

#include "rwx/znOBJModelWriter.h"
#include "rwx/znRWXMaterial.h"
#include "rwx/znRWXModelWriter.h"

std::unique_ptr<TznModelWriter> MakeModelWriter(TznModelFormat format, const std::string& base_file_name) {
  if (format == TznModelFormat::Obj) return std::make_unique<TznOBJModelWriter>(base_file_name);
  return std::make_unique<TznRWXModelWriter>();
}

std::vector<std::vector<uint32_t>> FacesOfPairs(const TznObjectMesh& mesh, int pair_count) {
  std::vector<std::vector<uint32_t>> faces(static_cast<size_t>(std::max(pair_count, 0)));
  for (size_t f = 0; f < mesh.FacePairs.size() && f < mesh.Faces.size(); ++f) {
    const int pair = mesh.FacePairs[f];
    if (pair >= 0 && pair < pair_count) faces[pair].push_back(static_cast<uint32_t>(f));
  }
  return faces;
}

const TznRWXMaterial& ColorSource(const TznRWXMaterial& material, const TznRWXMaterial& basic) {
  return material.UseColor() ? material : basic;
}

const TznRWXMaterial& OpacitySource(const TznRWXMaterial& material, const TznRWXMaterial& basic) {
  return material.UseOpacity() ? material : basic;
}

const TznRWXMaterial& TextureSource(const TznRWXMaterial& material, const TznRWXMaterial& basic) {
  return material.UseTexture() && !material.Texture().empty() ? material : basic;
}
