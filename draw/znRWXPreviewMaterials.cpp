#include "draw/znRWXPreviewMaterials.h"

namespace {

// Ambient from the bytes; diffuse from the same numbers taken as 0..1
// values, so each is limited to 1.
void MakeMainMaterial(TznGLMaterial& m, int r, int g, int b) {
  m.Ambient().SetRGBBytes(r, g, b);
  m.Diffuse().SetRGB(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
  m.Specular().SetColor(0);
  m.Emission().SetColor(0);
  m.SetShininess(128);
}

void MakeSkirtMaterial(TznGLMaterial& m, TColor grey) {
  m.Ambient().SetColor(grey);
  m.Diffuse().SetColor(grey);
  m.Specular().SetColor(grey);
  m.Emission().SetColor(0);
  m.SetShininess(57);
}

}  // namespace

TznRWXPreviewMaterials::TznRWXPreviewMaterials() {
  MakeMainMaterial(MainMaterial.Front(), 92, 64, 32);
  MakeSkirtMaterial(SkirtMaterial.Front(), 0x808080);
  MakeMainMaterial(SelectedMainMaterial.Front(), 64, 92, 32);
  MakeSkirtMaterial(SelectedSkirtMaterial.Front(), 0xC0C0C0);
}
