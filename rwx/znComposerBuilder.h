// Builds a composer from the rows of a composer file and the Settings
// folder, the same way for the Composer tab and the command-line converter:
// one filter/material pair per row in order, then the catch-all pair of a
// cleared filter and the basic material.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rwx/znComposerFile.h"
#include "rwx/znRWXComposer.h"

struct TznComposerBuild {
  std::unique_ptr<TznRWXComposer> Composer;
  // One message per filter or material named but not found; each of them
  // got its defaults. Empty names default without a message.
  std::vector<std::string> Warnings;
};

// The folders end with the path separator (one is added when missing). The
// preview's textures are not loaded here: the drawing code does that.
TznComposerBuild BuildComposer(const TznComposerFile& data, const std::string& settings_dir,
                               const std::string& textures_dir, int32_t citizen_number);

// Reads a composer file and builds it, as the command-line tools do. The
// Settings folder is settings_dir, or the composer file's own folder when
// empty; the Textures folder is textures_dir, or the Settings folder's
// ../Textures when empty. The composer file is one of the composer's
// sources. Throws EznFileError when the Settings folder does not exist.
TznComposerBuild LoadComposer(const std::string& composer_file, const std::string& settings_dir,
                              const std::string& textures_dir, int32_t citizen_number);
