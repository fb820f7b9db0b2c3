#include "draw/znComposerTextures.h"

#include "base/znFormat.h"
#include "base/znSafeFile.h"

TznGLTexture* TznComposerTextures::Find(const std::string& name) const {
  const auto it = FTextures.find(name);
  return it == FTextures.end() ? nullptr : it->second.get();
}

void TznComposerTextures::Add(const std::string& name, std::unique_ptr<TznGLTexture> texture) {
  FTextures[name] = std::move(texture);
}

namespace {

TznComposerTextures& TexturesOf(TznRWXComposer& composer) {
  if (auto* textures = dynamic_cast<TznComposerTextures*>(composer.Textures())) return *textures;
  composer.SetTextures(std::make_unique<TznComposerTextures>());
  return static_cast<TznComposerTextures&>(*composer.Textures());
}

// The picture for a texture name, or empty when there is none.
std::string PictureFile(const std::string& folder, const std::string& name) {
  for (const char* extension : {".jpg", ".bmp"})
    if (FileExists(folder + name + extension)) return folder + name + extension;
  return std::string();
}

std::unique_ptr<TznGLTexture> LoadTexture(const std::string& path) {
  auto texture = std::make_unique<TznGLTexture>();
  if (!texture->LoadFromFile(path)) return nullptr;
  texture->EnvColor().SetColor(0xFFFFFF);
  texture->SetMode(0);       // modulate
  texture->SetWrap(0);       // repeat
  texture->SetMinFilter(1);  // linear
  texture->SetMagFilter(1);
  texture->SetComponents(4);
  texture->SetEnabled(true);
  return texture;
}

}  // namespace

void LoadTextures(TznRWXComposer& composer) {
  const std::string& folder = composer.TextureFolder();
  if (folder.empty() || !DirectoryExists(folder)) return;
  TznComposerTextures& textures = TexturesOf(composer);
  for (int pair = 0; pair < composer.Count(); ++pair) {
    const TznRWXMaterial* material = composer.Material(pair);
    if (!material || !material->UseTexture()) continue;
    const std::string name = LowerCase(material->Texture());
    if (name.empty() || textures.Has(name)) continue;
    const std::string path = PictureFile(folder, name);
    if (path.empty()) continue;
    if (auto texture = LoadTexture(path)) textures.Add(name, std::move(texture));
  }
}

TznGLTexture* ComposerTexture(const TznRWXComposer& composer, const std::string& name) {
  const auto* textures = dynamic_cast<const TznComposerTextures*>(composer.Textures());
  return textures ? textures->Find(LowerCase(name)) : nullptr;
}
