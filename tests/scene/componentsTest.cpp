#include <GL/gl.h>
#include <gtest/gtest.h>

#include "glScene.h"
#include "scene/znGLBackground.h"
#include "scene/znGLLights.h"
#include "scene/znGLMaterials.h"
#include "scene/znGLViewPort.h"

TEST(ViewPort, ZeroFieldsGiveTheDefaults) {
  TznGLViewPort v;
  EXPECT_EQ(v.EffectiveFieldOfView(), 45);
  EXPECT_EQ(v.EffectiveZNear(), 1);
  EXPECT_EQ(v.EffectiveZFar(), 101);
  v.SetZNear(60);
  v.SetZFar(50);
  EXPECT_EQ(v.EffectiveZFar(), 160);
  v.SetFieldOfView(0.5);
  EXPECT_EQ(v.EffectiveFieldOfView(), 45);
  v.SetFieldOfView(1);
  EXPECT_EQ(v.EffectiveFieldOfView(), 1);
  EXPECT_EQ(v.Aspect(), 0);  // width 0, height raised to 1
  EXPECT_EQ(v.GetHeight(), 1);
}

TEST(ViewPort, ApplySetsViewportAndPerspective) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLViewPort v;
  v.SetFieldOfView(90);
  v.Apply(2, 3, 40, 0);
  GLint area[4];
  glGetIntegerv(GL_VIEWPORT, area);
  EXPECT_EQ(area[0], 2);
  EXPECT_EQ(area[1], 3);
  EXPECT_EQ(area[2], 40);
  EXPECT_EQ(area[3], 1);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  float m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  // cot(45 degrees) = 1, aspect 40: m[0] = 1/40; near 1, far 101.
  EXPECT_FLOAT_EQ(m[0], 1.0f / 40);
  EXPECT_FLOAT_EQ(m[5], 1);
  EXPECT_FLOAT_EQ(m[10], -102.0f / 100);
  EXPECT_FLOAT_EQ(m[14], -202.0f / 100);
}

TEST(Background, FogEndNeverLiesBeforeTheStart) {
  TznGLBackground b;
  EXPECT_EQ(b.EffectiveFogEnd(), 50);
  b.SetFogStart(30);
  b.SetFogEnd(10);
  EXPECT_EQ(b.EffectiveFogEnd(), 30);
  EXPECT_EQ(b.ClearColor().GetRed(), 0.5f);
  EXPECT_EQ(b.FogColor().GetAlpha(), 1);
  EXPECT_EQ(b.GetClearMask(), unsigned(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

TEST(Background, ApplyClearsAndSetsLinearFog) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLBackground b;
  b.ClearColor().SetRGB(1, 0, 0);
  b.SetFog(true);
  b.SetFogStart(40);
  b.SetFogEnd(5);
  b.Apply();
  EXPECT_EQ(scene.Pixel(10, 10), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  GLint mode;
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_EQ(mode, GL_LINEAR);
  float end;
  glGetFloatv(GL_FOG_END, &end);
  EXPECT_EQ(end, 40);
  b.SetFog(false);
  b.Apply();
  EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST(Lights, CreateLightsMakesEightNamedSourcesFromGLValues) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLLights& lights = scene.reality.Lights();
  ASSERT_EQ(lights.Count(), 8);
  EXPECT_EQ(lights.Name(0), "GL_LIGHT0");
  EXPECT_EQ(lights.Name(7), "GL_LIGHT7");
  EXPECT_EQ(lights.GetLight(8), nullptr);
  EXPECT_EQ(lights.GetLight(-1), nullptr);
  EXPECT_TRUE(lights.GetEnabled());
  EXPECT_TRUE(lights.GetLocalViewer());
  EXPECT_FALSE(lights.GetTwoSide());
  EXPECT_FLOAT_EQ(lights.Ambient().GetRed(), 50.0f / 256);
  // OpenGL's own defaults: light 0 white, the others black; a spot pointing
  // along -z with a cutoff of 180 degrees; light 0 directional from +z.
  TznGLLightSource* light0 = lights.GetLight(0);
  EXPECT_EQ(light0->LightId(), unsigned(GL_LIGHT0));
  EXPECT_EQ(light0->Diffuse().GetGreen(), 1);
  EXPECT_EQ(lights.GetLight(1)->Diffuse().GetGreen(), 0);
  EXPECT_EQ(light0->SpotDirection().GetZ(), -1);
  EXPECT_EQ(light0->SpotDirection().GetW(), 1);
  EXPECT_EQ(light0->GetSpotCutoff(), 180);
  EXPECT_EQ(light0->GetConstantAttenuation(), 1);
  EXPECT_EQ(light0->Position().GetZ(), 1);
  EXPECT_EQ(light0->Position().GetW(), 0);
  lights.CreateLights();
  EXPECT_EQ(lights.Count(), 8);
}

TEST(Lights, ApplyEnablesAndPositionsUnderTheModelView) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLLights& lights = scene.reality.Lights();
  TznGLLightSource* light1 = lights.GetLight(1);
  light1->SetEnabled(true);
  light1->Position().SetXYZW(1, 2, 3, 1);
  light1->Diffuse().SetRGB(0, 1, 0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(10, 0, 0);
  lights.Apply();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  float v[4];
  glGetLightfv(GL_LIGHT1, GL_POSITION, v);  // eye coordinates
  EXPECT_EQ(v[0], 11);
  EXPECT_EQ(v[1], 2);
  glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
  EXPECT_EQ(v[1], 1);
  GLint localViewer;
  glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
  EXPECT_EQ(localViewer, 1);
  lights.SetEnabled(false);
  lights.Apply();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST(Lights, ApplyEnabledSendsParametersButEnablesNothing) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLLightSource* light3 = scene.reality.Lights().GetLight(3);
  light3->SetEnabled(true);
  light3->Specular().SetRGB(0.25f, 0, 0);
  scene.reality.Lights().ApplyEnabled();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
  float v[4];
  glGetLightfv(GL_LIGHT3, GL_SPECULAR, v);
  EXPECT_EQ(v[0], 0.25f);
}

TEST(Materials, ShininessIsClamped) {
  TznGLMaterial m;
  m.SetShininess(200);
  EXPECT_EQ(m.GetShininess(), 128);
  m.SetShininess(-1);
  EXPECT_EQ(m.GetShininess(), 0);
}

TEST(Materials, ApplySendsTheChosenSides) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLMaterials materials;
  materials.Front().Diffuse().SetRGB(1, 0, 0);
  materials.Front().SetShininess(20);
  materials.Back().Diffuse().SetRGB(0, 0, 1);
  materials.Apply(glFaceBoth);
  float v[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  EXPECT_EQ(v[0], 1);
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, v);
  EXPECT_EQ(v[2], 1);
  glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
  EXPECT_EQ(v[0], 20);
  materials.Apply(glFaceFrontAndBack);
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, v);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[2], 0);
  materials.Back().Diffuse().SetRGB(0, 1, 0);
  materials.Apply(glFaceBack);
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, v);
  EXPECT_EQ(v[1], 1);
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  EXPECT_EQ(v[0], 1);
}
