#include <GL/gl.h>
#include <gtest/gtest.h>

#include "glScene.h"
#include "pictureFiles.h"
#include "scene/znGLTexture.h"

namespace {

using RGBA = std::array<int, 4>;

RGBA At(const TznGLBitmap32& b, int x, int row) {
  const uint8_t* p = b.Data() + (size_t(row) * b.Width() + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

// Column x of a picture carries red = 10 * x; the top row has green 200.
std::array<uint8_t, 4> Columns(int x, int y) {
  return {0, static_cast<uint8_t>(y == 0 ? 200 : 0), static_cast<uint8_t>(10 * x), 77};
}

void ExpectGrey(const TznGLBitmap32& b) {
  ASSERT_EQ(b.Width(), 128);
  ASSERT_EQ(b.Height(), 128);
  EXPECT_EQ(b.DataSize(), 128 * 128 * 4);
  EXPECT_EQ(At(b, 0, 0), (RGBA{128, 128, 128, 0}));
  EXPECT_EQ(At(b, 127, 127), (RGBA{128, 128, 128, 0}));
}

// Draws the texture over the whole viewport, unlit, and reads the centre.
RGBA DrawTextured(test::GLScene& scene, TznGLTexture& texture) {
  scene.reality.Lights().SetEnabled(false);
  scene.reality.SetOnPaint([&](TznGLReality&) {
    texture.Apply();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
  });
  scene.reality.Paint();
  return scene.Pixel(32, 32);
}

}  // namespace

TEST(Bitmap, TwentyFourBitRowsAreFlippedAndGetAlphaZero) {
  test::WriteBmp("a.bmp", 4, 2, 24, Columns);
  TznGLBitmap32 b;
  ASSERT_TRUE(b.LoadFromFile("a.bmp"));
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.DataSize(), 32);
  EXPECT_EQ(At(b, 3, 1), (RGBA{30, 200, 0, 0}));  // top row is the last row
  EXPECT_EQ(At(b, 3, 0), (RGBA{30, 0, 0, 0}));
}

TEST(Bitmap, ThirtyTwoBitKeepsTheFourthByteAsAlpha) {
  test::WriteBmp("a.bmp", 4, 3, 32, Columns);
  TznGLBitmap32 b;
  ASSERT_TRUE(b.LoadFromFile("a.bmp"));
  EXPECT_EQ(At(b, 2, 2), (RGBA{20, 200, 0, 77}));
  EXPECT_EQ(At(b, 1, 0), (RGBA{10, 0, 0, 77}));
}

TEST(Bitmap, WidthsNotAMultipleOfFourAreStretched) {
  // (width AND $FFF8) OR 4, columns taken by nearest pixel.
  struct Case {
    int width, stretched;
    std::vector<int> sourceColumns;
  };
  const Case cases[] = {{10, 12, {0, 0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9}},
                        {13, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
                        {6, 4, {0, 1, 3, 4}}};
  for (const Case& c : cases) {
    test::WriteBmp("w.bmp", c.width, 2, 32, Columns);
    TznGLBitmap32 b;
    ASSERT_TRUE(b.LoadFromFile("w.bmp"));
    EXPECT_EQ(b.Width(), c.stretched) << c.width;
    EXPECT_EQ(b.Height(), 2);
    for (int x = 0; x < c.stretched; ++x)
      EXPECT_EQ(At(b, x, 1), (RGBA{10 * c.sourceColumns[x], 200, 0, 0})) << c.width << " column " << x;
  }
}

TEST(Bitmap, JpegLoadsWhateverTheCaseOfItsExtension) {
  test::WriteJpeg("pic.JPG", 16, 8, 200, 100, 50);
  TznGLBitmap32 b;
  ASSERT_TRUE(b.LoadFromFile("pic.JPG"));
  EXPECT_EQ(b.Width(), 16);
  EXPECT_EQ(b.Height(), 8);
  const RGBA p = At(b, 5, 3);
  EXPECT_NEAR(p[0], 200, 3);
  EXPECT_NEAR(p[1], 100, 3);
  EXPECT_NEAR(p[2], 50, 3);
  EXPECT_EQ(p[3], 0);
  test::WriteJpeg("narrow.jpeg", 10, 4, 0, 0, 255);
  ASSERT_TRUE(b.LoadFromFile("narrow.jpeg"));
  EXPECT_EQ(b.Width(), 12);
}

TEST(Bitmap, FailuresGiveTheGreyPicture) {
  TznGLBitmap32 b;
  EXPECT_FALSE(b.LoadFromFile(""));
  ExpectGrey(b);
  test::WriteBmp("a.bmp", 4, 2, 24, Columns);
  ASSERT_TRUE(b.LoadFromFile("a.bmp"));
  EXPECT_FALSE(b.LoadFromFile("missing.bmp"));
  ExpectGrey(b);
  test::WriteFile("bad.jpg", "not a picture at all");
  EXPECT_FALSE(b.LoadFromFile("bad.jpg"));
  ExpectGrey(b);
  test::WriteFile("short.bmp", test::ReadFile("a.bmp").substr(0, 60));
  EXPECT_FALSE(b.LoadFromFile("short.bmp"));
  ExpectGrey(b);
  test::WriteJpeg("pic.jpg", 8, 8, 1, 2, 3);
  test::WriteFile("pic.png", test::ReadFile("pic.jpg"));
  EXPECT_FALSE(b.LoadFromFile("pic.png"));
  ExpectGrey(b);
}

TEST(Bitmap, AssignCopiesOrEmpties) {
  TznGLBitmap32 a, b;
  a.Fill(0x0000FF);
  b.Assign(&a);
  EXPECT_EQ(At(b, 9, 9), (RGBA{255, 0, 0, 0}));
  b.Assign(nullptr);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.DataSize(), 0);
}

TEST(Texture, NewTextureIsGreyWithDefaults) {
  TznGLTexture t;
  ExpectGrey(t);
  EXPECT_EQ(t.GetMode(), 0);
  EXPECT_EQ(t.GetMinFilter(), 0);
  EXPECT_EQ(t.GetComponents(), 4);
  EXPECT_TRUE(t.GetEnabled());
  t.SetComponents(2);
  EXPECT_EQ(t.GetComponents(), 4);
  t.SetComponents(3);
  EXPECT_EQ(t.GetComponents(), 3);
}

TEST(Texture, UploadScalesToPowersOfTwo) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  test::WriteBmp("big.bmp", 100, 50, 24, Columns);
  TznGLTexture t;
  ASSERT_TRUE(t.LoadFromFile("big.bmp"));
  EXPECT_EQ(t.Width(), 100);  // a multiple of 4: taken as it is
  t.Apply();
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  EXPECT_EQ(w, 128);
  EXPECT_EQ(h, 64);
  t.SetMinFilter(5);
  t.Apply();
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &w);
  EXPECT_EQ(w, 16);  // mipmap levels were built
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Texture, ApplySetsTheParameters) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  TznGLTexture t;
  t.SetMode(2);
  t.EnvColor().SetRGB(0, 1, 0);
  t.SetWrap(1);
  t.SetMagFilter(1);
  t.SetMinFilter(3);
  t.Apply();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint v;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
  EXPECT_EQ(v, GL_BLEND);
  float color[4];
  glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, color);
  EXPECT_EQ(color[1], 1);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
  EXPECT_EQ(v, GL_CLAMP);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
  EXPECT_EQ(v, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
  EXPECT_EQ(v, GL_LINEAR_MIPMAP_NEAREST);
  t.SetEnabled(false);
  t.Apply();
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST(Texture, CachedAndResentImagesDrawTheSamePixels) {
  test::GLScene scene;
  ASSERT_TRUE(scene.initialised);
  for (bool cache : {true, false}) {
    TznGLTexture t;
    t.SetImageCache(cache);
    t.Fill(0x0000FF);  // red, alpha 0: modulating white keeps red and alpha 0
    EXPECT_EQ(DrawTextured(scene, t), (RGBA{255, 0, 0, 0})) << cache;
    EXPECT_EQ(DrawTextured(scene, t), (RGBA{255, 0, 0, 0})) << cache;
    t.Fill(0xFF0000);  // blue: the new picture must show at once
    EXPECT_EQ(DrawTextured(scene, t), (RGBA{0, 0, 255, 0})) << cache;
    t.SetMinFilter(4);
    EXPECT_EQ(DrawTextured(scene, t), (RGBA{0, 0, 255, 0})) << cache;
    t.SetMode(1);  // decal: the texture's alpha 0 shows the white fragment
    EXPECT_EQ(DrawTextured(scene, t), (RGBA{255, 255, 255, 255})) << cache;
  }
  EXPECT_TRUE(scene.glErrors.empty());
}
