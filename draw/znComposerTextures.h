// The textures of a composer's textured preview: one texture per lower-case
// texture name, loaded from the composer's texture folder.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "rwx/znRWXComposer.h"
#include "scene/znGLTexture.h"

class TznComposerTextures : public TznRWXComposerTextures {
 public:
  size_t Count() const override { return FTextures.size(); }
  bool Has(const std::string& name) const { return FTextures.count(name) != 0; }
  // The texture of a lower-case name, or null.
  TznGLTexture* Find(const std::string& name) const;
  void Add(const std::string& name, std::unique_ptr<TznGLTexture> texture);

 private:
  std::map<std::string, std::unique_ptr<TznGLTexture>> FTextures;
};

// Loads the picture of every material that uses a texture: name + ".jpg",
// else name + ".bmp", in the texture folder. Pictures that are missing or
// cannot be read are left out without a message. Nothing happens when the
// folder is not set or does not exist.
void LoadTextures(TznRWXComposer& composer);

// The composer's texture for a texture name in any case, or null.
TznGLTexture* ComposerTexture(const TznRWXComposer& composer, const std::string& name);
