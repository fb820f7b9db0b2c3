// The file editor of the Material and Filter tabs for one kind of item,
// which it holds as the tab's current item.
#pragma once

#include <functional>
#include <string>

#include "app/znFileEditor.h"

// The editor of one kind of item: a class with a default constructor, Assign,
// LoadFromFile and SaveToFile, such as TznRWXMaterial and TznRWXFaceFilter.
template <class TItem>
class TznItemEditor : public TznFileEditor {
 public:
  using TznFileEditor::TznFileEditor;
  TItem& Current() { return FCurrent; }

 protected:
  void ResetItem() override { FCurrent = TItem(); }
  void LoadItem(const std::string& path) override {
    // Loaded over a copy, so that a file that cannot be read leaves the
    // current item as it was.
    TItem loaded;
    loaded.Assign(&FCurrent);
    loaded.LoadFromFile(path);
    FCurrent.Assign(&loaded);
  }
  void SaveItem(const std::string& path) const override { FCurrent.SaveToFile(path); }
  void SaveNewItem(const std::string& path, bool duplicate) const override {
    TItem item;
    if (duplicate) item.Assign(&FCurrent);
    item.SaveToFile(path);
  }
  std::function<void()> KeepItem() override {
    return [this, kept = FCurrent] { FCurrent.Assign(&kept); };
  }

 private:
  TItem FCurrent;
};
