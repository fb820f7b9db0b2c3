#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "glScene.h"
#include "scene/znGLActivation.h"
#include "scene/znGLErrors.h"

namespace {

using Pixel = std::array<int, 4>;
const Pixel kSky{128, 128, 128, 255};
const Pixel kWhite{255, 255, 255, 255};

// Unlit white drawing on the grey background.
void Unlit(test::GLScene& scene) { scene.reality.Lights().SetEnabled(false); }

// The pixel at the centre of a freshly painted frame.
Pixel PaintedCentre(test::GLScene& scene) {
  scene.reality.Paint();
  return scene.Pixel(32, 32);
}

// Triangles that reach the rasteriser, counted in feedback mode.
template <typename Draw>
int CountTriangles(Draw draw) {
  std::vector<float> buffer(4096);
  glDisable(GL_CULL_FACE);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const int size = glRenderMode(GL_RENDER);
  glEnable(GL_CULL_FACE);
  int triangles = 0;
  for (int i = 0; i < size;) {
    if (buffer[i] == GL_POLYGON_TOKEN) {
      ++triangles;
      i += 2 + 3 * static_cast<int>(buffer[i + 1]);
    } else {
      ++i;
    }
  }
  return triangles;
}

// A surface that has no OpenGL at all.
struct NoGLSurface : TznGLSurface {
  TznGLContextHandle CreateContext(unsigned, int) override { throw EznGLError("No matching pixel format"); }
  bool MakeCurrent(TznGLContextHandle) override { return false; }
  bool DoneCurrent() override { return true; }
  bool DeleteContext(TznGLContextHandle) override { return true; }
  void SwapBuffers() override {}
  void* GetProcAddress(const char*) override { return nullptr; }
  int PixelFormatId() const override { return 0; }
};

}  // namespace

TEST(Reality, InitGLSetsTheFixedStateAndResetsTheCamera) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised) << (scene.errors.empty() ? "" : scene.errors[0]);
  EXPECT_TRUE(scene.reality.Active());
  EXPECT_EQ(ActivationCount(), 1);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_GE(scene.surface.DepthBits(), 24);
  EXPECT_EQ(scene.reality.Camera().GetW(), 0);
  EXPECT_FALSE(scene.reality.Extensions().empty());
  EXPECT_TRUE(scene.reality.HasExtension("gl_ext_BGRA"));
  EXPECT_FALSE(scene.reality.HasExtension("GL_EXT_no_such_thing"));
  EXPECT_FALSE(BoundGLVersion().empty());
}

TEST(Reality, ExtensionStringIsSplitAtBlanks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(TznGLReality::SplitExtensions("GL_A GL_B "), (V{"GL_A", "GL_B"}));
  EXPECT_EQ(TznGLReality::SplitExtensions("GL_A  GL_B"), (V{"GL_A", "", "GL_B"}));
  EXPECT_EQ(TznGLReality::SplitExtensions("GL_LAST"), (V{"GL_LAST"}));
  EXPECT_EQ(TznGLReality::SplitExtensions(""), V{});
  const std::vector<std::string> pieces = TznGLReality::SplitExtensions(std::string(300, 'x'));
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].size(), 254u);
  EXPECT_EQ(pieces[1].size(), 46u);
}

TEST(Reality, InitGLFailureGoesToOnErrorAndLeavesTheSceneInactive) {
  NoGLSurface surface;
  TznGLReality reality(surface);
  std::vector<std::string> errors;
  reality.SetOnError([&](TznGLReality&, const std::exception& e) { errors.push_back(e.what()); });
  int painted = 0;
  reality.SetOnPaint([&](TznGLReality&) { ++painted; });
  EXPECT_FALSE(reality.InitGL(glDoubleBuffer, 32, 0, 0, 10, 10));
  EXPECT_FALSE(reality.Active());
  EXPECT_EQ(errors, std::vector<std::string>{"No matching pixel format"});
  reality.Paint();
  reality.Select(TznMouseButton::mbLeft, 0, 1, 1, 2, 2);
  EXPECT_EQ(painted, 0);
  EXPECT_EQ(ActivationCount(), 0);
}

TEST(Reality, ASecondSceneWhileOneIsBoundIsIncoherent) {
  test::GLScene first;
  ASSERT_TRUE(first.initialised);
  test::GLScene second;
  EXPECT_FALSE(second.initialised);
  EXPECT_EQ(second.errors, std::vector<std::string>{"incoherent DC/RC"});
  EXPECT_EQ(ActivationCount(), 1);
}

TEST(Activation, UnbalancedReleaseAndDeletionAreAssertions) {
  ASSERT_EQ(ActivationCount(), 0);
  EXPECT_THROW(
      {
        try {
          DeactivateRenderingContext();
        } catch (const EznGLAssertion& e) {
          EXPECT_STREQ(e.what(), "DeactivateRenderingContext : unbalanced activations");
          throw;
        }
      },
      EznGLAssertion);
  TznGLOffscreenSurface surface(4, 4);
  const TznGLContextHandle context = surface.CreateContext(glDoubleBuffer, 32);
  ActivateRenderingContext(surface, context);
  ActivateRenderingContext(surface, context);
  EXPECT_EQ(ActivationCount(), 2);
  try {
    DestroyRenderingContext(surface, context);
    ADD_FAILURE() << "deleting a bound context must fail";
  } catch (const EznGLAssertion& e) {
    EXPECT_STREQ(e.what(), "DestroyRenderingContext : unbalanced activations");
  }
  DeactivateRenderingContext();
  DeactivateRenderingContext();
  EXPECT_EQ(ActivationCount(), 0);
  DestroyRenderingContext(surface, context);
}

TEST(Reality, PaintsALitBoxWithDepth) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLReality& r = scene.reality;
  r.Camera().SetXYZ(0, 0, 5);
  r.Lights().GetLight(0)->SetEnabled(true);  // white, from +z
  r.Materials().Front().Diffuse().SetRGB(1, 0, 0);
  r.SetOnPaint([](TznGLReality& sender) {
    sender.Materials().Apply(glFaceFront);
    sender.DrawBox(false, 2, 2, 2);
  });
  r.Prepare();
  r.Paint();
  r.SwapBuffers();
  EXPECT_EQ(scene.Pixel(32, 32), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(scene.Pixel(2, 2), kSky);
  // The front face lies 4 m away: window depth ((101+1)/100 - 2*101/(100*4) + 1) / 2.
  EXPECT_NEAR(scene.Depth(32, 32), 0.7575, 1e-4);
  EXPECT_EQ(scene.Depth(2, 2), 1.0f);
  EXPECT_TRUE(scene.glErrors.empty());
  EXPECT_TRUE(scene.errors.empty());
}

TEST(Reality, BoxOnTheGroundSpansZeroToItsHeight) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  Unlit(scene);
  // Looking north from 10 m south at height 1: a 2 m box on the ground
  // covers the centre row, one resting on its centre does not reach y = 1.5.
  scene.reality.Camera().SetXYZ(0, 1.5f, 10);
  bool onGround = true;
  scene.reality.SetOnPaint([&](TznGLReality& r) { r.DrawBox(onGround, 2, 2, 2); });
  EXPECT_EQ(PaintedCentre(scene), kWhite);
  onGround = false;
  EXPECT_EQ(PaintedCentre(scene), kSky);
}

TEST(Reality, SquareIsVisibleFromItsFrontSideOnly) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  Unlit(scene);
  scene.reality.Camera().SetXYZ(0, 5, 0);
  scene.reality.Camera().SetPitch(-90);  // looking straight down
  bool faceUp = true;
  scene.reality.SetOnPaint([&](TznGLReality& r) { r.DrawSquare(faceUp, 4); });
  EXPECT_EQ(PaintedCentre(scene), kWhite);
  EXPECT_NEAR(scene.Depth(32, 32), (102.0 / 100 - 202.0 / 500 + 1) / 2, 1e-4);
  faceUp = false;
  EXPECT_EQ(PaintedCentre(scene), kSky);
}

TEST(Reality, DrawTrianglesTakesTheRangeAndIgnoresExtraNormals) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  const TznVertex3fArray vertices = {{0, 0, -5}, {1, 0, -5}, {0, 1, -5}};
  const TznVertex3wArray faces(4, TznFace3w{0, 1, 2});
  const TznVertex3fArray normals(6, TVec3{0, 0, 1});
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  TznGLReality& r = scene.reality;
  EXPECT_EQ(CountTriangles([&] { r.DrawTriangles(vertices, faces, normals, 0, 0); }), 4);
  EXPECT_EQ(CountTriangles([&] { r.DrawTriangles(vertices, faces, normals, 1, 0); }), 3);
  EXPECT_EQ(CountTriangles([&] { r.DrawTriangles(vertices, faces, normals, 1, 2); }), 2);
  EXPECT_EQ(CountTriangles([&] { r.DrawTriangles(vertices, faces, TznVertex3fArray(2), 0, 0); }), 2);
  const TznVertex3wArray broken = {{0, 1, 2}, {0, 1, 9}, {2, 1, 0}};
  EXPECT_EQ(CountTriangles([&] { r.DrawTriangles(vertices, broken, normals, 0, 0); }), 2);
  glTranslatef(0, 0, -5);
  EXPECT_EQ(CountTriangles([&] { r.DrawBox(false, 1, 1, 1); }), 12);
}

TEST(Reality, PaintWhileInactiveDoesNothing) {
  TznGLOffscreenSurface surface(8, 8);
  TznGLReality reality(surface);
  double days = 10;
  reality.Keys().SetClock([&] { return days; });
  int painted = 0;
  reality.SetOnPaint([&](TznGLReality&) { ++painted; });
  reality.Keys().KeyDown(vkUp, 0);
  days += 1.0 / 86400;
  reality.Paint();
  EXPECT_EQ(painted, 0);
  EXPECT_EQ(reality.Camera().GetZ(), 0);
}

TEST(Reality, PaintWithoutOnPaintOnlyMovesTheCamera) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  double days = 10;
  scene.reality.Keys().SetClock([&] { return days; });
  scene.reality.Keys().KeyDown(vkUp, 0);
  days += 1.0 / 86400;
  glEnable(0xFFFF);  // leaves GL_INVALID_ENUM pending
  scene.reality.Paint();
  EXPECT_NEAR(scene.reality.Camera().GetZ(), -1, 1e-4);
  EXPECT_TRUE(scene.glErrors.empty());
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));  // nobody looked at it
}

TEST(Reality, PendingErrorIsReportedOnceBeforeOnPrepaint) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  std::vector<std::string> order;
  scene.reality.SetOnPrepaint([&](TznGLReality&) { order.push_back("prepaint"); });
  scene.reality.SetOnPaint([&](TznGLReality&) { order.push_back("paint"); });
  glEnable(0xFFFF);
  scene.reality.Paint();
  EXPECT_EQ(scene.glErrors, std::vector<std::string>{"Error before OnPrepaint: invalid enumerant"});
  EXPECT_EQ(scene.reality.LastGLError(), "Error before OnPrepaint: invalid enumerant");
  EXPECT_EQ(order, (std::vector<std::string>{"prepaint", "paint"}));
}

TEST(Reality, ErrorsAreLabelledWithTheirStep) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.reality.SetOnPrepare([](TznGLReality&) { glEnable(0xFFFF); });
  scene.reality.Prepare();
  scene.reality.SetOnPaint([](TznGLReality&) { glLineWidth(-1); });
  scene.reality.Paint();
  glEnable(0xFFFF);
  scene.reality.SwapBuffers();
  EXPECT_EQ(scene.glErrors,
            (std::vector<std::string>{"Error after OnPrepare: invalid enumerant", "Error after OnPaint: invalid value",
                                      "Error before SwapBuffers: invalid enumerant"}));
}

TEST(Reality, AnExceptionInOnPaintAbandonsTheFrame) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.reality.SetOnPaint([](TznGLReality&) {
    glEnable(0xFFFF);
    throw EznError("drawing failed");
  });
  scene.reality.Paint();
  EXPECT_EQ(scene.errors, std::vector<std::string>{"drawing failed"});
  EXPECT_TRUE(scene.glErrors.empty());  // "Error after OnPaint" was never reached
  glGetError();
}

TEST(Reality, SetViewBoundsTellsWhenTheAreaShrank) {
  test::GLScene scene;
  TznGLReality& r = scene.reality;
  EXPECT_FALSE(r.SetViewBounds(0, 0, 64, 64));
  EXPECT_FALSE(r.SetViewBounds(0, 0, 80, 80));
  EXPECT_TRUE(r.SetViewBounds(0, 0, 80, 40));
  EXPECT_TRUE(r.SetViewBounds(0, 0, 70, 40));
  EXPECT_EQ(r.Width(), 70);
  EXPECT_EQ(r.Height(), 40);
}

TEST(Reality, ViewSphereEnclosesTheViewVolume) {
  test::GLScene scene;  // 64 x 64: aspect 1, fov 45, far 101
  TznGLSphere s;
  scene.reality.GetViewSphere(s);
  EXPECT_NEAR(s.X, 0, 1e-5);
  EXPECT_NEAR(s.Z, -50.5, 1e-4);
  const double h = 101 * 0.41421356;  // tan(22.5 degrees)
  EXPECT_NEAR(s.RadiusSquared, 50.5 * 50.5 + 2 * h * h, 0.01);
  scene.reality.Camera().SetXYZ(1, 2, 3);
  scene.reality.Camera().SetYaw(90);  // facing west
  scene.reality.GetViewSphere(s);
  EXPECT_NEAR(s.X, 1 - 50.5, 1e-4);
  EXPECT_NEAR(s.Y, 2, 1e-4);
  EXPECT_NEAR(s.Z, 3, 1e-4);
  scene.reality.Camera().SetPitch(90);  // straight up
  scene.reality.GetViewSphere(s);
  EXPECT_NEAR(s.Y, 2 + 50.5, 1e-4);
}
