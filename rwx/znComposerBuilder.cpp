#include "rwx/znComposerBuilder.h"

#include <set>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znLog.h"
#include "base/znSafeFile.h"

namespace {

std::string AsFolder(const std::string& folder) {
  return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string FolderOrHere(const std::string& folder) { return folder.empty() ? "./" : folder; }

// Loads the named file into the object when it exists; a name that is not
// empty but has no file is reported. A name leading out of the Settings
// folder, and a name of something other than a file (a named pipe, a
// device), are not read: the object keeps its defaults, and the warning
// sink says why. The file read is listed as one of the composer's sources.
template <typename T>
std::unique_ptr<T> LoadNamed(std::unique_ptr<T> object, const std::string& folder, const std::string& name,
                             const char* kind, TznComposerBuild& build) {
  if (name.empty()) return object;
  if (!StaysInsideFolder(name)) {
    Warn(std::string(kind) + " file name \"" + name + "\" leads out of the Settings folder; the defaults are used");
    return object;
  }
  const std::string path = folder + name;
  if (const std::string not_a_file = NonFileKind(path); !not_a_file.empty()) {
    Warn(std::string(kind) + " file \"" + name + "\" is " + not_a_file + ", not a file; the defaults are used");
  } else if (FileExists(path)) {
    object->LoadFromFile(path);
    build.Composer->AddSourceFile(path);
  } else {
    build.Warnings.push_back(std::string(kind) + " file not found: " + name);
  }
  return object;
}

// A material read from disk whose texture name the RWX files cannot carry
// as one word of the Textures folder is reported once per file and build;
// it is written as it stands all the same.
void WarnAboutTextureName(const TznRWXMaterial& material, const std::string& name, std::set<std::string>& warned) {
  const std::string problem = TextureNameProblem(material.Texture());
  if (problem.empty() || !warned.insert(name).second) return;
  Warn("Material " + name + ": the texture name " + problem + "; the RWX files name it as it stands");
}

}  // namespace

TznComposerBuild BuildComposer(const TznComposerFile& data, const std::string& settings_dir,
                               const std::string& textures_dir, int32_t citizen_number) {
  const std::string folder = AsFolder(settings_dir);
  TznComposerBuild build{std::make_unique<TznRWXComposer>(), {}};
  std::set<std::string> warned;
  for (const TznComposerRow& row : data.Rows) {
    auto filter = LoadNamed(std::make_unique<TznRWXFaceFilter>(), folder, row.Filter, "Filter", build);
    auto material = LoadNamed(std::make_unique<TznRWXMaterial>(), folder, row.Material, "Material", build);
    WarnAboutTextureName(*material, row.Material, warned);
    build.Composer->Add(std::move(filter), std::move(material));
  }
  auto catch_all = std::make_unique<TznRWXFaceFilter>();
  catch_all->Clear();
  const std::string basic_name(Trim(data.BasicMaterial));
  auto basic = LoadNamed(std::make_unique<TznRWXMaterial>(), folder, basic_name, "Material", build);
  WarnAboutTextureName(*basic, basic_name, warned);
  build.Composer->Add(std::move(catch_all), std::move(basic));
  build.Composer->SetCitizenNumber(citizen_number);
  build.Composer->SetIndividualSettings(data.GeneralSettings != 0);
  build.Composer->SetTextureFolder(AsFolder(textures_dir));
  return build;
}

TznComposerBuild LoadComposer(const std::string& composer_file, const std::string& settings_dir,
                              const std::string& textures_dir, int32_t citizen_number) {
  const TznComposerFile data = ReadComposerFile(composer_file);
  const std::string settings = FolderOrHere(settings_dir.empty() ? ExtractFilePath(composer_file) : settings_dir);
  if (!DirectoryExists(settings)) throw EznInputFileError("the Settings folder \"" + settings + "\" does not exist");
  const std::string textures = textures_dir.empty() ? AsFolder(settings) + "../Textures/" : textures_dir;
  TznComposerBuild build = BuildComposer(data, settings, textures, citizen_number);
  build.Composer->AddSourceFile(composer_file);
  return build;
}
