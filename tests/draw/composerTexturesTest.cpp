#include <gtest/gtest.h>

#include <filesystem>

#include "draw/znComposerTextures.h"
#include "scene/pictureFiles.h"
#include "support/testFiles.h"

namespace {

void AddTextured(TznRWXComposer& composer, const std::string& texture, bool use = true) {
  auto m = std::make_unique<TznRWXMaterial>();
  m->SetUseTexture(use);
  m->SetTexture(texture);
  composer.Add(std::make_unique<TznRWXFaceFilter>(), std::move(m));
}

test::PixelAt Plain(uint8_t b, uint8_t g, uint8_t r) {
  return [=](int, int) { return std::array<uint8_t, 4>{b, g, r, 0}; };
}

}  // namespace

TEST(ComposerTextures, OnePerLowerCaseNameAndJpegBeforeBitmap) {
  std::filesystem::create_directory("tex");
  test::WriteJpeg("tex/grass.jpg", 8, 8, 0, 200, 0);
  test::WriteJpeg("tex/sand.jpg", 8, 8, 220, 0, 0);
  test::WriteBmp("tex/sand.bmp", 8, 8, 24, Plain(220, 0, 0));  // blue
  test::WriteBmp("tex/rock.bmp", 8, 8, 24, Plain(0, 0, 90));
  TznRWXComposer composer;
  AddTextured(composer, "Grass");
  AddTextured(composer, "grass");
  AddTextured(composer, "GRASS");
  AddTextured(composer, "sand");
  AddTextured(composer, "Rock");
  AddTextured(composer, "");              // nothing to load
  AddTextured(composer, "water");         // no picture
  AddTextured(composer, "sand2", false);  // texture not used
  composer.SetTextureFolder("tex/");
  LoadTextures(composer);
  ASSERT_NE(composer.Textures(), nullptr);
  EXPECT_EQ(composer.Textures()->Count(), 3u);
  TznGLTexture* grass = ComposerTexture(composer, "gRaSs");
  ASSERT_NE(grass, nullptr);
  EXPECT_EQ(grass, ComposerTexture(composer, "Grass"));
  TznGLTexture* sand = ComposerTexture(composer, "Sand");
  ASSERT_NE(sand, nullptr);
  EXPECT_GT(sand->Data()[0], 200);  // red from the JPEG, not the blue bitmap
  EXPECT_LT(sand->Data()[2], 30);
  TznGLTexture* rock = ComposerTexture(composer, "rock");
  ASSERT_NE(rock, nullptr);
  EXPECT_EQ(rock->Data()[0], 90);
  EXPECT_EQ(ComposerTexture(composer, "water"), nullptr);
  // Preview settings of every loaded texture.
  EXPECT_EQ(grass->GetMode(), 0);
  EXPECT_EQ(grass->GetWrap(), 0);
  EXPECT_EQ(grass->GetMinFilter(), 1);
  EXPECT_EQ(grass->GetMagFilter(), 1);
  EXPECT_EQ(grass->GetComponents(), 4);
  EXPECT_TRUE(grass->GetEnabled());
  EXPECT_FLOAT_EQ(grass->EnvColor().GetRed(), 255 / 256.0f);

  LoadTextures(composer);  // again: nothing new, nothing doubled
  EXPECT_EQ(composer.Textures()->Count(), 3u);
  EXPECT_EQ(ComposerTexture(composer, "grass"), grass);
}

TEST(ComposerTextures, BrokenPicturesAndMissingFoldersAreSkippedSilently) {
  std::filesystem::create_directory("tex");
  test::WriteFile("tex/mud.jpg", "not a picture");
  TznRWXComposer composer;
  AddTextured(composer, "mud");
  composer.SetTextureFolder("tex/");
  LoadTextures(composer);
  ASSERT_NE(composer.Textures(), nullptr);
  EXPECT_EQ(composer.Textures()->Count(), 0u);

  TznRWXComposer elsewhere;
  AddTextured(elsewhere, "mud");
  elsewhere.SetTextureFolder("missing/");
  LoadTextures(elsewhere);
  EXPECT_EQ(elsewhere.Textures(), nullptr);
  elsewhere.SetTextureFolder("");
  LoadTextures(elsewhere);
  EXPECT_EQ(elsewhere.Textures(), nullptr);
  EXPECT_EQ(ComposerTexture(elsewhere, "mud"), nullptr);
}
