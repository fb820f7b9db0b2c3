// One appearance for the triangles of an RWX object: colour, surface
// coefficients, opacity, texture and its modes, light and geometry sampling,
// material modes, an optional tag and a comment. Every property has its own
// use switch; a switch that is off takes the property from the basic
// material of the composer. Stored as a ".MTR" INI file, section "Material".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/znVectors.h"

enum TznGeometrysampling : uint8_t { gsSolid = 0, gsWireframe = 1 };
enum TznLightsampling : uint8_t { lsVertex = 0, lsFacet = 1 };
enum TznMaterialmodes : uint8_t { mmNull = 0, mmDouble = 1 };

// Members of the texture mode set, as bits of one byte.
enum TznTexturemode : uint8_t { tmLit = 1, tmForeshorten = 2, tmFilter = 4 };
using TznTexturemodes = uint8_t;
constexpr TznTexturemodes kAllTexturemodes = tmLit | tmForeshorten | tmFilter;

// Why a texture name cannot stand in a "Texture" statement, as a clause
// such as "holds a blank or a control character"; empty when it can. A
// texture name is one word naming a picture of the Textures folder: no
// blanks or control characters, no "..", "/" or "\", no drive such as "C:".
// The empty name (no texture) is fine.
std::string TextureNameProblem(std::string_view name);

class TznRWXMaterial {
 public:
  TznRWXMaterial() = default;

  // Copies every field of the source; nothing when it is null.
  void Assign(const TznRWXMaterial* source);

  bool UseSurface() const { return FUseSurface; }
  bool UseTexturemodes() const { return FUseTexturemodes; }
  bool UseMaterialmodes() const { return FUseMaterialmodes; }
  bool UseOpacity() const { return FUseOpacity; }
  bool UseColor() const { return FUseColor; }
  bool UseLightsampling() const { return FUseLightsampling; }
  bool UseTexture() const { return FUseTexture; }
  bool UseGeometrysampling() const { return FUseGeometrysampling; }
  bool UseTag() const { return FUseTag; }
  void SetUseSurface(bool value) { FUseSurface = value; }
  void SetUseTexturemodes(bool value) { FUseTexturemodes = value; }
  void SetUseMaterialmodes(bool value) { FUseMaterialmodes = value; }
  void SetUseOpacity(bool value) { FUseOpacity = value; }
  void SetUseColor(bool value) { FUseColor = value; }
  void SetUseLightsampling(bool value) { FUseLightsampling = value; }
  void SetUseTexture(bool value) { FUseTexture = value; }
  void SetUseGeometrysampling(bool value) { FUseGeometrysampling = value; }
  void SetUseTag(bool value) { FUseTag = value; }

  // Packed $00BBGGRR; Red, Green and Blue are its three bytes.
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  int Red() const { return ColorRed(FColor); }
  int Green() const { return ColorGreen(FColor); }
  int Blue() const { return ColorBlue(FColor); }
  // Clamp to 0..255 and leave the other two channels alone.
  void SetRed(int64_t value);
  void SetGreen(int64_t value);
  void SetBlue(int64_t value);

  TznGeometrysampling Geometrysampling() const { return FGeometrysampling; }
  TznLightsampling Lightsampling() const { return FLightsampling; }
  TznMaterialmodes Materialmodes() const { return FMaterialmodes; }
  TznTexturemodes Texturemodes() const { return FTexturemodes; }
  bool HasTexturemode(TznTexturemode mode) const { return (FTexturemodes & mode) != 0; }
  void SetGeometrysampling(TznGeometrysampling value) { FGeometrysampling = value; }
  void SetLightsampling(TznLightsampling value) { FLightsampling = value; }
  void SetMaterialmodes(TznMaterialmodes value) { FMaterialmodes = value; }
  // Bits other than the three members are dropped: the set has no others.
  void SetTexturemodes(TznTexturemodes value) { FTexturemodes = value & kAllTexturemodes; }

  float Opacity() const { return FOpacity; }
  float Ambient() const { return FAmbient; }
  float Diffuse() const { return FDiffuse; }
  float Specular() const { return FSpecular; }
  // Clamp to 0..1.
  void SetOpacity(double value);
  void SetAmbient(double value);
  void SetDiffuse(double value);
  void SetSpecular(double value);

  const std::string& Texture() const { return FTexture; }
  void SetTexture(std::string value) { FTexture = std::move(value); }
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t value) { FTag = value; }
  const std::string& Comment() const { return FComment; }
  void SetComment(std::string value) { FComment = std::move(value); }

  // Red, Green and Blue times Ambient (Diffuse), rounded half to even; the
  // colours of the filtered 3D preview.
  TColor AmbientColor() const;
  TColor DiffuseColor() const;

  // Applies the keys of a .MTR file onto the current values; a missing file
  // reads as all defaults. Throws EznFileError when it cannot be read.
  void LoadFromFile(const std::string& file_name);
  // Updates the file's keys in place; throws EznFileError
  // "Unable to write to <file name>", leaving an old file as it was.
  void SaveToFile(const std::string& file_name) const;

  // One RWX line each, without indentation. A sampling or mode value outside
  // its enumeration gives an empty line. Control characters in the texture
  // name and the comment (a line break typed into the editor or the file)
  // become a blank there, so that they never break the line; the fields
  // keep them as they are.
  std::string ColorStatement() const;
  std::string SurfaceStatement() const;
  std::string OpacityStatement() const;
  std::string TextureStatement() const;
  std::string TexturemodesStatement() const;
  std::string LightsamplingStatement() const;
  std::string GeometrysamplingStatement() const;
  std::string MaterialmodesStatement() const;
  // " Tag <n>"; the writer appends it only when UseTag is set.
  std::string TagSuffix() const;
  // "  # <comment>", or empty without a comment.
  std::string CommentSuffix() const;

 private:
  bool FUseSurface = false;
  bool FUseTexturemodes = false;
  bool FUseMaterialmodes = false;
  bool FUseOpacity = false;
  bool FUseColor = false;
  bool FUseLightsampling = false;
  bool FUseTexture = false;
  TColor FColor = 0x808080;
  bool FUseGeometrysampling = false;
  TznGeometrysampling FGeometrysampling = gsSolid;
  TznLightsampling FLightsampling = lsVertex;
  TznMaterialmodes FMaterialmodes = mmNull;
  TznTexturemodes FTexturemodes = tmLit;
  float FOpacity = 1.0f;
  float FAmbient = 0.6f;
  float FDiffuse = 0.6f;
  float FSpecular = 0.0f;
  std::string FTexture;
  bool FUseTag = false;
  int32_t FTag = 0;
  std::string FComment;
};
