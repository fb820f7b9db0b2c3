#include "rwx/znRWXMaterial.h"

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znIniFile.h"
#include "base/znRound.h"

namespace {

constexpr std::string_view kSection = "Material";

int ClampByte(int64_t value) { return static_cast<int>(value < 0 ? 0 : value > 255 ? 255 : value); }

float ClampUnit(double value) { return static_cast<float>(value < 0 ? 0.0 : value > 1 ? 1.0 : value); }

TColor PackColor(int red, int green, int blue) {
  return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
}

TColor ScaledColor(int red, int green, int blue, float factor) {
  auto scale = [factor](int channel) { return static_cast<int>(Round(channel * static_cast<double>(factor))); };
  return PackColor(scale(red), scale(green), scale(blue));
}

const char* GeometrysamplingWord(TznGeometrysampling value) {
  switch (value) {
    case gsSolid:
      return "Solid";
    case gsWireframe:
      return "Wireframe";
  }
  return nullptr;
}

const char* LightsamplingWord(TznLightsampling value) {
  switch (value) {
    case lsVertex:
      return "Vertex";
    case lsFacet:
      return "Facet";
  }
  return nullptr;
}

const char* MaterialmodesWord(TznMaterialmodes value) {
  switch (value) {
    case mmNull:
      return "NULL";
    case mmDouble:
      return "Double";
  }
  return nullptr;
}

void WriteWord(TznIniFile& ini, std::string_view key, const char* word) {
  if (word) ini.WriteString(kSection, key, word);
}

// The written word back into its value; anything else leaves the field.
template <typename T>
void ReadWord(const TznIniFile& ini, std::string_view key, const char* (*word_of)(T), T first, T last, T& field) {
  const std::string text = ini.ReadString(kSection, key, "");
  for (int value = first; value <= last; ++value)
    if (SameText(text, word_of(static_cast<T>(value)))) field = static_cast<T>(value);
}

}  // namespace

void TznRWXMaterial::Assign(const TznRWXMaterial* source) {
  if (source && source != this) *this = *source;
}

void TznRWXMaterial::SetRed(int64_t value) { FColor = PackColor(ClampByte(value), Green(), Blue()); }
void TznRWXMaterial::SetGreen(int64_t value) { FColor = PackColor(Red(), ClampByte(value), Blue()); }
void TznRWXMaterial::SetBlue(int64_t value) { FColor = PackColor(Red(), Green(), ClampByte(value)); }

void TznRWXMaterial::SetOpacity(double value) { FOpacity = ClampUnit(value); }
void TznRWXMaterial::SetAmbient(double value) { FAmbient = ClampUnit(value); }
void TznRWXMaterial::SetDiffuse(double value) { FDiffuse = ClampUnit(value); }
void TznRWXMaterial::SetSpecular(double value) { FSpecular = ClampUnit(value); }

TColor TznRWXMaterial::AmbientColor() const { return ScaledColor(Red(), Green(), Blue(), FAmbient); }
TColor TznRWXMaterial::DiffuseColor() const { return ScaledColor(Red(), Green(), Blue(), FDiffuse); }

void TznRWXMaterial::LoadFromFile(const std::string& file_name) {
  const TznIniFile ini(file_name);
  FUseColor = ini.ReadBool(kSection, "UseColor", false);
  SetRed(ini.ReadInteger(kSection, "Red", Red()));
  SetGreen(ini.ReadInteger(kSection, "Green", Green()));
  SetBlue(ini.ReadInteger(kSection, "Blue", Blue()));
  FUseGeometrysampling = ini.ReadBool(kSection, "UseGeometrysampling", false);
  ReadWord(ini, "GeometrySampling", GeometrysamplingWord, gsSolid, gsWireframe, FGeometrysampling);
  FUseLightsampling = ini.ReadBool(kSection, "UseLightsampling", false);
  ReadWord(ini, "Lightsampling", LightsamplingWord, lsVertex, lsFacet, FLightsampling);
  FUseMaterialmodes = ini.ReadBool(kSection, "UseMaterialmodes", false);
  ReadWord(ini, "Materialmodes", MaterialmodesWord, mmNull, mmDouble, FMaterialmodes);
  FUseOpacity = ini.ReadBool(kSection, "UseOpacity", false);
  SetOpacity(ini.ReadReal(kSection, "Opacity", FOpacity));
  FUseSurface = ini.ReadBool(kSection, "UseSurface", false);
  SetAmbient(ini.ReadReal(kSection, "Ambient", FAmbient));
  SetDiffuse(ini.ReadReal(kSection, "Diffuse", FDiffuse));
  SetSpecular(ini.ReadReal(kSection, "Specular", FSpecular));
  FUseTexture = ini.ReadBool(kSection, "UseTexture", false);
  FTexture = ini.ReadString(kSection, "Texture", "");
  FUseTexturemodes = ini.ReadBool(kSection, "UseTexturemodes", false);
  FTexturemodes = 0;
  if (ini.ReadBool(kSection, "Lit", true)) FTexturemodes |= tmLit;
  if (ini.ReadBool(kSection, "Foreshorten", true)) FTexturemodes |= tmForeshorten;
  if (ini.ReadBool(kSection, "Filter", false)) FTexturemodes |= tmFilter;
  FUseTag = ini.ReadBool(kSection, "UseTag", false);
  FTag = ini.ReadInteger(kSection, "Tag", 0);
  FComment = ini.ReadString(kSection, "Comment", "");
}

void TznRWXMaterial::SaveToFile(const std::string& file_name) const {
  try {
    TznIniFile ini(file_name);
    ini.WriteBool(kSection, "UseColor", FUseColor);
    ini.WriteInteger(kSection, "Red", Red());
    ini.WriteInteger(kSection, "Green", Green());
    ini.WriteInteger(kSection, "Blue", Blue());
    ini.WriteBool(kSection, "UseGeometrysampling", FUseGeometrysampling);
    WriteWord(ini, "GeometrySampling", GeometrysamplingWord(FGeometrysampling));
    ini.WriteBool(kSection, "UseLightsampling", FUseLightsampling);
    WriteWord(ini, "Lightsampling", LightsamplingWord(FLightsampling));
    ini.WriteBool(kSection, "UseMaterialmodes", FUseMaterialmodes);
    WriteWord(ini, "Materialmodes", MaterialmodesWord(FMaterialmodes));
    ini.WriteBool(kSection, "UseOpacity", FUseOpacity);
    ini.WriteReal(kSection, "Opacity", FOpacity);
    ini.WriteBool(kSection, "UseSurface", FUseSurface);
    ini.WriteReal(kSection, "Ambient", FAmbient);
    ini.WriteReal(kSection, "Diffuse", FDiffuse);
    ini.WriteReal(kSection, "Specular", FSpecular);
    ini.WriteBool(kSection, "UseTexture", FUseTexture);
    ini.WriteString(kSection, "Texture", FTexture);
    ini.WriteBool(kSection, "UseTexturemodes", FUseTexturemodes);
    ini.WriteBool(kSection, "Lit", HasTexturemode(tmLit));
    ini.WriteBool(kSection, "Foreshorten", HasTexturemode(tmForeshorten));
    ini.WriteBool(kSection, "Filter", HasTexturemode(tmFilter));
    ini.WriteBool(kSection, "UseTag", FUseTag);
    ini.WriteInteger(kSection, "Tag", FTag);
    ini.WriteString(kSection, "Comment", FComment);
    ini.UpdateFile();
  } catch (const EznError&) {
    throw EznFileError("Unable to write to " + file_name);
  }
}

std::string TznRWXMaterial::ColorStatement() const {
  return "Color " + FormatFixed(Red() / 255.0, 6) + " " + FormatFixed(Green() / 255.0, 6) + " " +
         FormatFixed(Blue() / 255.0, 6);
}

std::string TznRWXMaterial::SurfaceStatement() const {
  return "Surface " + FormatFixed(FAmbient, 6) + " " + FormatFixed(FDiffuse, 6) + " " + FormatFixed(FSpecular, 6);
}

std::string TznRWXMaterial::OpacityStatement() const { return "Opacity " + FormatFixed(FOpacity, 6); }

std::string TextureNameProblem(std::string_view name) {
  for (unsigned char c : name)
    if (c <= ' ' || c == 0x7F) return "holds a blank or a control character";
  const bool drive =
      name.size() >= 2 && name[1] == ':' && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (drive || (!name.empty() && (name[0] == '/' || name[0] == '\\'))) return "is an absolute path";
  if (name.find("..") != std::string_view::npos) return "holds \"..\"";
  if (name.find_first_of("/\\") != std::string_view::npos) return "holds \"/\" or \"\\\"";
  return {};
}

std::string TznRWXMaterial::TextureStatement() const {
  return "Texture " + (FTexture.empty() ? std::string("NULL") : OneLine(FTexture));
}

std::string TznRWXMaterial::TexturemodesStatement() const {
  if (FTexturemodes == 0) return "Texturemodes lit";
  std::string line = "Texturemodes";
  if (HasTexturemode(tmLit)) line += " lit";
  if (HasTexturemode(tmForeshorten)) line += " foreshorten";
  if (HasTexturemode(tmFilter)) line += " filter";
  return line;
}

std::string TznRWXMaterial::LightsamplingStatement() const {
  switch (FLightsampling) {
    case lsVertex:
      return "Lightsampling vertex";
    case lsFacet:
      return "Lightsampling facet";
  }
  return "";
}

std::string TznRWXMaterial::GeometrysamplingStatement() const {
  switch (FGeometrysampling) {
    case gsSolid:
      return "Geometrysampling solid";
    case gsWireframe:
      return "Geometrysampling wireframe";
  }
  return "";
}

std::string TznRWXMaterial::MaterialmodesStatement() const {
  switch (FMaterialmodes) {
    case mmNull:
      return "Materialmodes NULL";
    case mmDouble:
      return "Materialmodes double";
  }
  return "";
}

std::string TznRWXMaterial::TagSuffix() const { return " Tag " + FormatInt(FTag); }

std::string TznRWXMaterial::CommentSuffix() const { return FComment.empty() ? "" : "  # " + OneLine(FComment); }
