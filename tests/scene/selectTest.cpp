#include <GL/gl.h>
#include <gtest/gtest.h>

#include "glScene.h"

namespace {

// A scene of named objects, looked at from 10 m south.
struct PickScene : test::GLScene {
  std::function<void(TznGLReality&)> objects;
  int selections = 0;
  TznMouseButton button = TznMouseButton::mbRight;
  int selectX = -1, selectY = -1;

  PickScene() {
    reality.Camera().SetXYZ(0, 0, 10);
    reality.SetOnPaint([this](TznGLReality& r) {
      glInitNames();
      glPushName(0);
      objects(r);
    });
    reality.SetOnSelect([this](TznGLReality&, TznMouseButton b, TznShiftState, int x, int y) {
      ++selections;
      button = b;
      selectX = x;
      selectY = y;
    });
  }

  TznGLHit Pick(int x, int y) {
    reality.Select(TznMouseButton::mbLeft, ssShift, x, y, 0, 1);
    TznGLHit hit;
    hit.NameCount = 99;  // shows whether the record was touched
    reality.GetNearestHit(hit);
    return hit;
  }
};

// A box named name at distance z north of the origin.
void NamedBox(TznGLReality& r, GLuint name, float z) {
  glLoadName(name);
  glPushMatrix();
  glTranslatef(0, 0, z);
  r.DrawBox(false, 2, 2, 2);
  glPopMatrix();
}

}  // namespace

TEST(Select, NearestOfTwoOverlappingObjectsWins) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.objects = [](TznGLReality& r) {
    NamedBox(r, 1, 0);
    NamedBox(r, 2, 3);  // nearer the camera
    NamedBox(r, 3, -3);
  };
  const TznGLHit hit = scene.Pick(32, 32);
  EXPECT_EQ(scene.reality.HitCount(), 3);
  EXPECT_EQ(hit.NameCount, 1u);
  EXPECT_EQ(hit.Names[0], 2u);
  EXPECT_LE(hit.ZMin, hit.ZMax);
  EXPECT_EQ(scene.selections, 1);
  EXPECT_EQ(scene.button, TznMouseButton::mbLeft);
  EXPECT_EQ(scene.selectX, 32);
  EXPECT_EQ(scene.selectY, 32);
  EXPECT_TRUE(scene.glErrors.empty());
}

TEST(Select, PickUsesWindowRowsFromTheTop) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  // Only a box high above the centre line: it shows in the top rows.
  scene.objects = [](TznGLReality& r) {
    glLoadName(7);
    glPushMatrix();
    glTranslatef(0, 3.5f, 0);
    r.DrawBox(false, 1, 1, 1);
    glPopMatrix();
  };
  EXPECT_EQ(scene.Pick(32, 4).Names[0], 7u);
  EXPECT_EQ(scene.Pick(32, 54).NameCount, 0u);
}

TEST(Select, EmptySkyGivesNoName) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.objects = [](TznGLReality& r) { NamedBox(r, 1, 0); };
  const TznGLHit hit = scene.Pick(1, 1);
  EXPECT_EQ(scene.reality.HitCount(), 0);
  EXPECT_EQ(hit.NameCount, 0u);
  EXPECT_EQ(hit.ZMin, 0u);
}

TEST(Select, EqualDepthsGoToTheFirstRecord) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.objects = [](TznGLReality& r) {
    NamedBox(r, 5, 0);
    NamedBox(r, 6, 0);
  };
  const TznGLHit hit = scene.Pick(32, 32);
  ASSERT_EQ(scene.reality.HitCount(), 2);
  EXPECT_EQ(scene.reality.SelectBuffer()[1], scene.reality.SelectBuffer()[5]);
  EXPECT_EQ(hit.Names[0], 5u);
}

TEST(Select, OverflowReportsNoHitAndLeavesTheRecord) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  // 300 records of 4 entries do not fit in 1024.
  scene.objects = [](TznGLReality& r) {
    for (GLuint name = 1; name <= 300; ++name) NamedBox(r, name, 0);
  };
  const TznGLHit hit = scene.Pick(32, 32);
  EXPECT_LT(scene.reality.HitCount(), 0);
  EXPECT_EQ(hit.NameCount, 99u);
  EXPECT_TRUE(scene.glErrors.empty());
}

TEST(Select, NeedsBothHandlers) {
  PickScene scene;
  ASSERT_TRUE(scene.initialised);
  scene.objects = [](TznGLReality& r) { NamedBox(r, 1, 0); };
  scene.reality.SetOnSelect(nullptr);
  scene.Pick(32, 32);
  EXPECT_EQ(scene.reality.HitCount(), 0);
  GLint mode;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  EXPECT_EQ(mode, GL_RENDER);
}
