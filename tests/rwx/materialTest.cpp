#include <gtest/gtest.h>

#include "base/znError.h"
#include "rwx/znRWXMaterial.h"
#include "support/commaLocale.h"
#include "support/testFiles.h"

TEST(RWXMaterial, DefaultStatements) {
  const TznRWXMaterial m;
  EXPECT_EQ(m.ColorStatement(), "Color 0.501961 0.501961 0.501961");
  EXPECT_EQ(m.SurfaceStatement(), "Surface 0.600000 0.600000 0.000000");
  EXPECT_EQ(m.OpacityStatement(), "Opacity 1.000000");
  EXPECT_EQ(m.TextureStatement(), "Texture NULL");
  EXPECT_EQ(m.TexturemodesStatement(), "Texturemodes lit");
  EXPECT_EQ(m.LightsamplingStatement(), "Lightsampling vertex");
  EXPECT_EQ(m.GeometrysamplingStatement(), "Geometrysampling solid");
  EXPECT_EQ(m.MaterialmodesStatement(), "Materialmodes NULL");
  EXPECT_EQ(m.TagSuffix(), " Tag 0");
  EXPECT_EQ(m.CommentSuffix(), "");
}

TEST(RWXMaterial, ChannelsAndCoefficientsAreClamped) {
  TznRWXMaterial m;
  m.SetColor(0x302010);
  m.SetRed(300);
  EXPECT_EQ(m.Color(), 0x3020FFu);
  m.SetRed(-5);
  EXPECT_EQ(m.Color(), 0x302000u);
  m.SetGreen(1000);
  m.SetBlue(-1);
  EXPECT_EQ(m.Color(), 0x00FF00u);
  m.SetOpacity(1.5);
  m.SetAmbient(-0.2);
  m.SetDiffuse(0.25);
  m.SetSpecular(7);
  EXPECT_EQ(m.Opacity(), 1.0f);
  EXPECT_EQ(m.Ambient(), 0.0f);
  EXPECT_EQ(m.Diffuse(), 0.25f);
  EXPECT_EQ(m.Specular(), 1.0f);
}

TEST(RWXMaterial, StatementEdgeCases) {
  TznRWXMaterial m;
  m.SetTexturemodes(0);
  EXPECT_EQ(m.TexturemodesStatement(), "Texturemodes lit");
  m.SetTexturemodes(tmFilter | tmForeshorten);
  EXPECT_EQ(m.TexturemodesStatement(), "Texturemodes foreshorten filter");
  m.SetTexturemodes(tmFilter | tmLit | tmForeshorten);
  EXPECT_EQ(m.TexturemodesStatement(), "Texturemodes lit foreshorten filter");
  m.SetTexture("grass");
  EXPECT_EQ(m.TextureStatement(), "Texture grass");
  m.SetComment("rock");
  EXPECT_EQ(m.CommentSuffix(), "  # rock");
  m.SetTag(-12);
  EXPECT_EQ(m.TagSuffix(), " Tag -12");
  m.SetColor(0xFF0001);  // red 1, green 0, blue 255
  EXPECT_EQ(m.ColorStatement(), "Color 0.003922 0.000000 1.000000");
  m.SetLightsampling(lsFacet);
  m.SetGeometrysampling(gsWireframe);
  m.SetMaterialmodes(mmDouble);
  EXPECT_EQ(m.LightsamplingStatement(), "Lightsampling facet");
  EXPECT_EQ(m.GeometrysamplingStatement(), "Geometrysampling wireframe");
  EXPECT_EQ(m.MaterialmodesStatement(), "Materialmodes double");
  m.SetLightsampling(static_cast<TznLightsampling>(2));
  m.SetGeometrysampling(static_cast<TznGeometrysampling>(5));
  m.SetMaterialmodes(static_cast<TznMaterialmodes>(9));
  EXPECT_EQ(m.LightsamplingStatement(), "");
  EXPECT_EQ(m.GeometrysamplingStatement(), "");
  EXPECT_EQ(m.MaterialmodesStatement(), "");
}

TEST(RWXMaterial, PreviewColoursRoundHalfToEven) {
  TznRWXMaterial m;
  EXPECT_EQ(m.AmbientColor(), 0x4D4D4Du);  // 128 x 0.6 = 76.8 gives 77
  m.SetColor(0xFF0301);                    // red 1, green 3, blue 255
  m.SetDiffuse(0.5);                       // 0.5, 1.5, 127.5
  EXPECT_EQ(m.DiffuseColor(), 0x800200u);
}

TEST(RWXMaterial, AssignCopiesEveryField) {
  TznRWXMaterial source;
  source.SetUseSurface(true);
  source.SetUseTexturemodes(true);
  source.SetUseMaterialmodes(true);
  source.SetUseOpacity(true);
  source.SetUseColor(true);
  source.SetUseLightsampling(true);
  source.SetUseTexture(true);
  source.SetUseGeometrysampling(true);
  source.SetUseTag(true);
  source.SetColor(0x123456);
  source.SetGeometrysampling(gsWireframe);
  source.SetLightsampling(lsFacet);
  source.SetMaterialmodes(mmDouble);
  source.SetTexturemodes(tmFilter);
  source.SetOpacity(0.1);
  source.SetAmbient(0.2);
  source.SetDiffuse(0.3);
  source.SetSpecular(0.4);
  source.SetTexture("rock");
  source.SetTag(42);
  source.SetComment("cliff");
  TznRWXMaterial copy;
  copy.Assign(&source);
  for (const TznRWXMaterial* m : {&source, &copy}) {
    EXPECT_TRUE(m->UseSurface() && m->UseTexturemodes() && m->UseMaterialmodes() && m->UseOpacity() && m->UseColor() &&
                m->UseLightsampling() && m->UseTexture() && m->UseGeometrysampling() && m->UseTag());
    EXPECT_EQ(m->Color(), 0x123456u);
    EXPECT_EQ(m->Geometrysampling(), gsWireframe);
    EXPECT_EQ(m->Lightsampling(), lsFacet);
    EXPECT_EQ(m->Materialmodes(), mmDouble);
    EXPECT_EQ(m->Texturemodes(), tmFilter);
    EXPECT_EQ(m->Opacity(), 0.1f);
    EXPECT_EQ(m->Ambient(), 0.2f);
    EXPECT_EQ(m->Diffuse(), 0.3f);
    EXPECT_EQ(m->Specular(), 0.4f);
    EXPECT_EQ(m->Texture(), "rock");
    EXPECT_EQ(m->Tag(), 42);
    EXPECT_EQ(m->Comment(), "cliff");
  }
  copy.Assign(nullptr);
  EXPECT_EQ(copy.Comment(), "cliff");
}

TEST(RWXMaterial, ControlCharactersStayInTheFieldsButNeverBreakAStatement) {
  // A bare CR is no line end for the INI reader: the value keeps it.
  test::WriteFile("cr.MTR",
                  "[Material]\nComment=rock\rface\nTexture=gr\x01"
                  "ass\n");
  TznRWXMaterial m;
  m.LoadFromFile("cr.MTR");
  EXPECT_EQ(m.Comment(), "rock\rface");
  EXPECT_EQ(m.Texture(),
            "gr\x01"
            "ass");
  EXPECT_EQ(m.CommentSuffix(), "  # rock face");
  EXPECT_EQ(m.TextureStatement(), "Texture gr ass");
  m.SetComment("first\r\nsecond\n");
  EXPECT_EQ(m.CommentSuffix(), "  # first second ");
}

TEST(RWXMaterial, TextureNamesAreOneWordOfTheTexturesFolder) {
  for (const char* usable : {"", "grass", "Rock_2.v1", "snow-field"})
    EXPECT_EQ(TextureNameProblem(usable), "") << usable;
  const std::pair<const char*, const char*> unusable[] = {
      {"my grass", "holds a blank or a control character"},
      {"grass\t", "holds a blank or a control character"},
      {"..grass", "holds \"..\""},
      {"sub/grass", "holds \"/\" or \"\\\""},
      {"sub\\grass", "holds \"/\" or \"\\\""},
      {"/usr/share/grass", "is an absolute path"},
      {"\\\\server\\grass", "is an absolute path"},
      {"C:grass", "is an absolute path"},
  };
  for (auto [name, problem] : unusable) EXPECT_EQ(TextureNameProblem(name), problem) << name;
}

TEST(RWXMaterial, DefaultMaterialFile) {
  TznRWXMaterial().SaveToFile("Standard.MTR");
  EXPECT_EQ(test::ReadFile("Standard.MTR"),
            "[Material]\n"
            "UseColor=0\nRed=128\nGreen=128\nBlue=128\n"
            "UseGeometrysampling=0\nGeometrySampling=Solid\n"
            "UseLightsampling=0\nLightsampling=Vertex\n"
            "UseMaterialmodes=0\nMaterialmodes=NULL\n"
            "UseOpacity=0\nOpacity=1\n"
            "UseSurface=0\nAmbient=0.600000023841858\nDiffuse=0.600000023841858\nSpecular=0\n"
            "UseTexture=0\nTexture=\n"
            "UseTexturemodes=0\nLit=1\nForeshorten=0\nFilter=0\n"
            "UseTag=0\nTag=0\nComment=\n");
}

TEST(RWXMaterial, ValuesOutsideTheirEnumerationWriteNoKey) {
  TznRWXMaterial m;
  m.SetLightsampling(static_cast<TznLightsampling>(3));
  m.SaveToFile("odd.MTR");
  const std::string text = test::ReadFile("odd.MTR");
  EXPECT_EQ(text.find("\nLightsampling="), std::string::npos);
  EXPECT_NE(text.find("UseLightsampling=0\nUseMaterialmodes=0\n"), std::string::npos);
}

TEST(RWXMaterial, LoadingAppliesDefaultsAndReadRules) {
  test::WriteFile("m.MTR",
                  "[material]\n"
                  "red=999\nGreen=-4\n"
                  "GeometrySampling=wireFRAME\nLightsampling=Facet\nMaterialmodes=lines\n"
                  "Opacity=abc\nAmbient=0.25\nDiffuse=2\nSpecular=\n"
                  "UseTag=7\nTag=x\nComment=rock face\nTexture= grass \n");
  TznRWXMaterial m;
  m.SetColor(0x400000);  // blue 64 has no key and stays
  m.SetOpacity(0.5);
  m.SetMaterialmodes(mmDouble);
  m.SetTag(3);
  m.SetUseColor(true);
  m.LoadFromFile("m.MTR");
  EXPECT_EQ(m.Color(), 0x4000FFu);
  EXPECT_FALSE(m.UseColor());  // missing switch reads False
  EXPECT_EQ(m.Geometrysampling(), gsWireframe);
  EXPECT_EQ(m.Lightsampling(), lsFacet);
  EXPECT_EQ(m.Materialmodes(), mmDouble);  // "lines" leaves it
  EXPECT_EQ(m.Opacity(), 0.5f);
  EXPECT_EQ(m.Ambient(), 0.25f);
  EXPECT_EQ(m.Diffuse(), 1.0f);
  EXPECT_EQ(m.Specular(), 0.0f);  // empty: the current value
  EXPECT_TRUE(m.UseTag());
  EXPECT_EQ(m.Tag(), 0);  // not an integer: the default 0
  EXPECT_EQ(m.Comment(), "rock face");
  EXPECT_EQ(m.Texture(), "grass");
  // Without Lit and Foreshorten keys both members are set.
  EXPECT_EQ(m.Texturemodes(), tmLit | tmForeshorten);
}

TEST(RWXMaterial, MissingFileReadsAsDefaults) {
  TznRWXMaterial m;
  m.SetUseSurface(true);
  m.SetTexturemodes(tmFilter);
  m.LoadFromFile("none.MTR");
  EXPECT_FALSE(m.UseSurface());
  EXPECT_EQ(m.Texturemodes(), tmLit | tmForeshorten);
  EXPECT_EQ(m.Color(), 0x808080u);
}

TEST(RWXMaterial, RoundTripKeepsForeignKeysAndSections) {
  test::WriteFile("r.MTR",
                  "; made by hand\r\n[Material]\r\nAuthor=someone\r\nRed=1\r\n\r\n[Notes]\r\nText=keep me\r\n");
  TznRWXMaterial m;
  m.LoadFromFile("r.MTR");
  m.SetUseTexture(true);
  m.SetTexture("sand");
  m.SetTexturemodes(tmFilter);
  m.SetAmbient(0.75);
  m.SaveToFile("r.MTR");
  const std::string text = test::ReadFile("r.MTR");
  EXPECT_EQ(text.rfind("; made by hand\r\n[Material]\r\nAuthor=someone\r\nRed=1\r\nUseColor=0\r\n", 0), 0u);
  EXPECT_NE(text.find("Comment=\r\n\r\n[Notes]\r\nText=keep me\r\n"), std::string::npos);
  TznRWXMaterial again;
  again.LoadFromFile("r.MTR");
  EXPECT_EQ(again.Red(), 1);
  EXPECT_TRUE(again.UseTexture());
  EXPECT_EQ(again.Texture(), "sand");
  EXPECT_EQ(again.Texturemodes(), tmFilter);
  EXPECT_EQ(again.Ambient(), 0.75f);
}

TEST(RWXMaterial, UnwritableFileReportsItsName) {
  try {
    TznRWXMaterial().SaveToFile("no/such/folder/x.MTR");
    FAIL() << "no error";
  } catch (const EznFileError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to no/such/folder/x.MTR");
  }
}

TEST(RWXMaterial, FileUsesPointsUnderACommaLocale) {
  test::CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  TznRWXMaterial m;
  m.SetOpacity(0.5);
  m.SaveToFile("c.MTR");
  EXPECT_NE(test::ReadFile("c.MTR").find("Opacity=0.5\n"), std::string::npos);
  EXPECT_EQ(m.SurfaceStatement(), "Surface 0.600000 0.600000 0.000000");
  TznRWXMaterial back;
  back.LoadFromFile("c.MTR");
  EXPECT_EQ(back.Opacity(), 0.5f);
}
