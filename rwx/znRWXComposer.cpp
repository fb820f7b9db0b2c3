#include "rwx/znRWXComposer.h"

#include <atomic>

#include "base/znFormat.h"
#include "rwx/znRWXFaceTest.h"

void TznRWXComposer::Add(std::unique_ptr<TznRWXFaceFilter> filter, std::unique_ptr<TznRWXMaterial> material) {
  FFilters.push_back(std::move(filter));
  FMaterials.push_back(std::move(material));
  FSerial = NextSerial();
}

uint64_t TznRWXComposer::NextSerial() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

const TznRWXMaterial* TznRWXComposer::BasicMaterial() const {
  return FMaterials.empty() ? nullptr : FMaterials.back().get();
}

namespace {

// A face that names a vertex the mesh lacks is left to the catch-all.
bool FaceApplies(const TznRWXFaceTest& test, const TznVertex3fArray& vertices, const TznFace3w& face,
                 const TVec3& normal, double centre_x, double centre_z) {
  for (uint16_t index : face)
    if (index >= vertices.size()) return false;
  return test.Applies(vertices[face[0]], vertices[face[1]], vertices[face[2]], normal, centre_x, centre_z);
}

}  // namespace

bool TznRWXComposer::ClaimFaces(int pair, const TznVertex3fArray& vertices, const TznVertex3wArray& faces,
                                const TznVertex3fArray& normals, double centre_x, double centre_z,
                                std::vector<uint8_t>& face_marks, std::vector<uint32_t>& claimed) const {
  if (pair < 0 || pair >= Count() || !FFilters[pair] || !FMaterials[pair]) return false;
  if (face_marks.size() < faces.size()) face_marks.resize(faces.size(), 0);
  const bool catch_all = pair == Count() - 1;
  const TznRWXFaceTest test(*FFilters[pair]);
  const TVec3 no_normal;
  bool any = false;
  for (size_t f = 0; f < faces.size(); ++f) {
    if (face_marks[f]) continue;
    const TVec3& normal = f < normals.size() ? normals[f] : no_normal;
    if (!catch_all && !FaceApplies(test, vertices, faces[f], normal, centre_x, centre_z)) continue;
    face_marks[f] = 1;
    claimed.push_back(static_cast<uint32_t>(f));
    any = true;
  }
  return any;
}

std::vector<int> TznRWXComposer::AssignFaces(const TznVertex3fArray& vertices, const TznVertex3wArray& faces,
                                             const TznVertex3fArray& normals, double centre_x, double centre_z) const {
  std::vector<int> owner(faces.size(), -1);
  std::vector<uint8_t> marks(faces.size(), 0);
  std::vector<uint32_t> claimed;
  for (int pair = 0; pair < Count(); ++pair) {
    claimed.clear();
    ClaimFaces(pair, vertices, faces, normals, centre_x, centre_z, marks, claimed);
    for (uint32_t f : claimed) owner[f] = pair;
  }
  return owner;
}

std::vector<std::string> TznRWXComposer::ReadFiles() const {
  std::vector<std::string> files = FSourceFiles;
  if (FTextureFolder.empty()) return files;
  for (const auto& material : FMaterials) {
    if (!material || !material->UseTexture() || material->Texture().empty()) continue;
    const std::string name = LowerCase(material->Texture());
    for (const char* extension : {".jpg", ".bmp"}) files.push_back(FTextureFolder + name + extension);
  }
  return files;
}
