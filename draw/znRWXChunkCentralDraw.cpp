#include "draw/znRWXChunkCentralDraw.h"

#include <GL/gl.h>

#include "base/znFormat.h"
#include "draw/znComposerTextures.h"
#include "draw/znRWXChunkDraw.h"

namespace {

int ChooseObjects(TznRWXChunkCentral& grid, int32_t east, const TznGLSphere& sphere, int32_t north) {
  return grid.ChooseObjects(east, north, TVec3{sphere.X, sphere.Y, sphere.Z}, sphere.RadiusSquared);
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

void DrawPairObjects(TznRWXChunkCentral& grid, TznGLReality& reality, int pair_number, const TznRWXFaceFilter* filter,
                     const TznRWXMaterial* material, const PairLook& look, const TznRWXMaterial* basic) {
  const std::string pair = FormatInt(pair_number);
  const std::string of = FormatInt(grid.DrawnCount);
  int drawn = 0;
  for (int i : grid.Shown()) {
    TznRWXChunk& object = grid.Object(i);
    if (!object.Visible) continue;
    const std::string name = FormatInt(int64_t{i} + 1);
    const std::string count = FormatInt(++drawn);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", before glLoadName(" + name + ") and Object " +
                         count + " of " + of);
    glLoadName(static_cast<GLuint>(i + 1));
    reality.CheckGLError("In object loop (2), Filter " + pair + ", after glLoadName(" + name + "), before Object " +
                         count + " of " + of);
    reality.CheckGLError("In object loop (2), Filter " + pair + ", after glBegin, before Object " + count + " of " +
                         of);
    DrawFiltered(object, filter, material, look.texture, basic, pair_number - 1);
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
  for (int i : grid.Shown()) {
    TznRWXChunk& object = grid.Object(i);
    ++grid.DrawnCount;
    glLoadName(static_cast<GLuint>(i + 1));
    const bool selected = i == grid.SelectedIndex;
    (selected ? materials.SelectedMainMaterial : materials.MainMaterial).Apply(glFaceFront);
    DrawFaces(object);
    (selected ? materials.SelectedSkirtMaterial : materials.SkirtMaterial).Apply(glFaceFront);
    DrawSkirt(object);
    object.Visible = false;
  }
}

void DrawComposed(TznRWXChunkCentral& grid, TznGLReality& reality, int32_t east, const TznRWXComposer* composer,
                  const TznGLSphere& sphere, int32_t north, TznRWXPreviewMaterials& materials) {
  if (!composer || composer->Count() == 0) {
    Draw(grid, reality, east, sphere, north, materials);
    return;
  }
  if (grid.Count() == 0 || grid.Busy) return;
  grid.DrawnCount = ChooseObjects(grid, east, sphere, north);
  for (int i : grid.Shown()) grid.Object(i).ClearFaceMarks();

  const TznRWXMaterial* basic = composer->BasicMaterial();
  reality.CheckGLError("Before first material (2)");
  SetTexturing(false);
  materials.MainMaterial.Apply(glFaceFront);
  reality.CheckGLError("Before filter loop (2)");
  const int count = composer->Count();
  for (int pair_number = 1; pair_number <= count; ++pair_number) {
    const bool last = pair_number == count;
    const TznRWXFaceFilter* filter = last ? nullptr : composer->Filter(pair_number - 1);
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
    DrawPairObjects(grid, reality, pair_number, filter, material, look, basic);
    reality.CheckGLError("After object loop (2), Filter " + FormatInt(pair_number));
  }
  reality.CheckGLError("After filter loop (2)");
}
