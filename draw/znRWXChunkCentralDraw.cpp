#include "draw/znRWXChunkCentralDraw.h"

#include <GL/gl.h>

#include <vector>

#include "base/znFormat.h"
#include "draw/znComposerTextures.h"
#include "draw/znRWXChunkDraw.h"
#include "draw/znViewFrustum.h"

namespace {

// The grid lays the shown objects out for the composer (or plainly
// without one) within its bound on a frame's building.
int ChooseObjects(TznRWXChunkCentral& grid, int32_t east, const TznGLSphere& sphere, int32_t north,
                  const TznRWXComposer* composer = nullptr) {
  TznPreviewLayout layout;
  layout.Ready = [composer](const TznRWXChunk& object) {
    return composer ? IsComposed(object, *composer) : IsPlain(object);
  };
  layout.Prepare = [composer](TznRWXChunk& object) {
    if (composer)
      PrepareComposed(object, *composer);
    else
      PreparePlain(object);
  };
  return grid.ChooseObjects(east, north, TVec3{sphere.X, sphere.Y, sphere.Z}, sphere.RadiusSquared, layout);
}

void SetTexturing(bool on) {
  const bool enabled = glIsEnabled(GL_TEXTURE_2D);
  if (on && !enabled) glEnable(GL_TEXTURE_2D);
  if (!on && enabled) glDisable(GL_TEXTURE_2D);
}

// What one pair draws with: its texture (or none) and its polygon mode.
struct PairLook {
  TznGLTexture* texture = nullptr;
  bool wireframe = false;
};

PairLook LookOfPair(const TznRWXComposer& composer, const TznRWXMaterial* material, const TznRWXMaterial* basic) {
  PairLook look;
  if (material && material->UseTexture() && !material->Texture().empty())
    look.texture = ComposerTexture(composer, material->Texture());
  const bool own_geometry = composer.IndividualSettings() && material && material->UseGeometrysampling();
  const TznRWXMaterial* geometry = own_geometry ? material : basic;
  look.wireframe = geometry && geometry->Geometrysampling() == gsWireframe;
  if (look.wireframe) look.texture = nullptr;
  return look;
}

void ApplyFilterMaterial(TznGLMaterials& filter_material, const TznRWXMaterial* colours) {
  TznGLMaterial& front = filter_material.Front();
  if (colours) {
    front.Ambient().SetColor(colours->AmbientColor());
    front.Diffuse().SetColor(colours->DiffuseColor());
  }
  front.Specular().SetColor(0);
  filter_material.Apply(glFaceFront);
}

// The objects still in the rule draw the faces the pair claimed; an
// object whose faces are all claimed now leaves the rule for this frame.
// Objects wholly outside the view volume take part in the rule but send no
// faces (in_view runs along Shown()).
void DrawPairObjects(TznRWXChunkCentral& grid, TznGLReality& reality, int pair_number, const PairLook& look,
                     const std::vector<bool>& in_view) {
  const std::string pair = FormatInt(pair_number);
  const std::string of = FormatInt(grid.DrawnCount);
  int drawn = 0;
  const std::vector<int>& shown = grid.Shown();
  for (size_t k = 0; k < shown.size(); ++k) {
    const int i = shown[k];
    TznRWXChunk& object = grid.Object(i);
    if (!object.Visible) continue;
    if (!in_view[k]) {  // no OpenGL call for it, so no step to check
      ++drawn;
      DrawFiltered(object, pair_number - 1, look.texture, false);
      continue;
    }
    const std::string name = FormatInt(int64_t{i} + 1);
    const std::string count = FormatInt(++drawn);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", before glLoadName(" + name + ") and Object " +
                         count + " of " + of);
    glLoadName(static_cast<GLuint>(i + 1));
    reality.CheckGLError("In object loop (2), Filter " + pair + ", after glLoadName(" + name + "), before Object " +
                         count + " of " + of);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", after glBegin, before Object " + count + " of " +
                         of);
    DrawFiltered(object, pair_number - 1, look.texture);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", before glEnd, after Object " + count + " of " + of);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", after glEnd and Object " + count + " of " + of);
  }
}

}  // namespace

void Draw(TznRWXChunkCentral& grid, TznGLReality& /*reality*/, int32_t east, const TznGLSphere& sphere, int32_t north,
          TznRWXPreviewMaterials& materials) {
  if (grid.Count() == 0 || grid.Busy) return;
  ChooseObjects(grid, east, sphere, north);
  grid.DrawnCount = 0;
  const TznViewFrustum frustum = TznViewFrustum::Current();
  for (int i : grid.Shown()) {
    TznRWXChunk& object = grid.Object(i);
    ++grid.DrawnCount;
    const TznPreviewArrays& arrays = PreparePlain(object);
    object.Visible = false;
    if (!frustum.MayShow(arrays.Lo, arrays.Hi)) continue;
    glLoadName(static_cast<GLuint>(i + 1));
    const bool selected = i == grid.SelectedIndex;
    (selected ? materials.SelectedMainMaterial : materials.MainMaterial).Apply(glFaceFront);
    DrawFaces(object);
    (selected ? materials.SelectedSkirtMaterial : materials.SkirtMaterial).Apply(glFaceFront);
    DrawSkirt(object);
  }
}

void DrawComposed(TznRWXChunkCentral& grid, TznGLReality& reality, int32_t east, const TznRWXComposer* composer,
                  const TznGLSphere& sphere, int32_t north, TznRWXPreviewMaterials& materials) {
  if (!composer || composer->Count() == 0) {
    Draw(grid, reality, east, sphere, north, materials);
    return;
  }
  if (grid.Count() == 0 || grid.Busy) return;
  grid.DrawnCount = ChooseObjects(grid, east, sphere, north, composer);
  const TznViewFrustum frustum = TznViewFrustum::Current();
  std::vector<bool> in_view;
  for (int i : grid.Shown()) {
    TznRWXChunk& object = grid.Object(i);
    object.Done = false;
    PrepareComposed(object, *composer);
    in_view.push_back(frustum.MayShow(object.Preview.Lo, object.Preview.Hi));
  }

  const TznRWXMaterial* basic = composer->BasicMaterial();
  reality.CheckGLError("Before first material (2)");
  SetTexturing(false);
  materials.MainMaterial.Apply(glFaceFront);
  reality.CheckGLError("Before filter loop (2)");
  const int count = composer->Count();
  for (int pair_number = 1; pair_number <= count; ++pair_number) {
    const bool last = pair_number == count;
    const TznRWXMaterial* material = composer->Material(pair_number - 1);
    const PairLook look = LookOfPair(*composer, material, basic);
    glPolygonMode(GL_FRONT_AND_BACK, look.wireframe ? GL_LINE : GL_FILL);
    if (look.texture) {
      SetTexturing(true);
      look.texture->Apply();
    } else {
      SetTexturing(false);
      ApplyFilterMaterial(materials.FilterMaterial, (material && (material->UseColor() || last)) ? material : basic);
    }
    reality.CheckGLError("Before object loop (2), Filter " + FormatInt(pair_number));
    DrawPairObjects(grid, reality, pair_number, look, in_view);
    reality.CheckGLError("After object loop (2), Filter " + FormatInt(pair_number));
  }
  reality.CheckGLError("After filter loop (2)");
}
