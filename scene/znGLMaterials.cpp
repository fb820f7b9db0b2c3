#include "scene/znGLMaterials.h"

#include <GL/gl.h>

namespace {

void SendMaterial(GLenum side, const TznGLMaterial& material) {
  glMaterialfv(side, GL_AMBIENT, material.Ambient().Vector());
  glMaterialfv(side, GL_DIFFUSE, material.Diffuse().Vector());
  glMaterialfv(side, GL_SPECULAR, material.Specular().Vector());
  glMaterialfv(side, GL_EMISSION, material.Emission().Vector());
  glMateriali(side, GL_SHININESS, material.GetShininess());
}

}  // namespace

void TznGLMaterials::Apply(int face) {
  if (face == glFaceFront || face == glFaceBoth) SendMaterial(GL_FRONT, FFront);
  if (face == glFaceBack || face == glFaceBoth) SendMaterial(GL_BACK, FBack);
  if (face == glFaceFrontAndBack) SendMaterial(GL_FRONT_AND_BACK, FFront);
}
