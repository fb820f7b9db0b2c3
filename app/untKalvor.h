// The main window: the "File" and "Options" menus, the four tabs (Basic
// Shape, Filter, Material, Composer), the two status bars with the loaded
// terrain's header values, and the one terrain of the run. Its start-up
// makes the Settings and Textures folders with their standard files and
// applies the settings file; its close, after a Yes to "Do you wish to
// exit?", writes its keys of the settings file back.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/znAppContext.h"
#include "app/znAppFolders.h"
#include "app/znAppSettings.h"
#include "app/znLoadProgress.h"
#include "rwx/znRWXRegion.h"
#include "views/znPrompts.h"

class TznBasicShapeTab;
class TznComposerTab;
class TznFilterTab;
class TznMaterialTab;
class TznQtPrompts;
class TznRWXFaceFilter;
class TznRWXMaterial;
class TznStatusPanels;
class TznTerra;
struct TznRasterReport;

class TfrmLoadProgress;

class TfrmKalvor : public QMainWindow {
  Q_OBJECT

 public:
  // Runs the start-up. Without prompts the window asks through Qt's dialogs.
  explicit TfrmKalvor(const TznAppFolders& folders, TznPrompts* prompts = nullptr, QWidget* parent = nullptr);
  ~TfrmKalvor() override;

  std::string SettingsDir;
  std::string TexturesDir;
  std::string IniFileName;
  // The one terrain of the run; loading refills it.
  std::unique_ptr<TznTerra> Terra;
  // True while another program is the active one; the 3D preview does not
  // draw meanwhile.
  bool AppInactive = false;

  TznRWXMaterial& CurrentMaterial();
  TznRWXFaceFilter& CurrentFilter();
  bool MaterialEditing() const;
  bool FilterEditing() const;

  QMenu* mnuFile = nullptr;
  QAction* mnuLoad = nullptr;
  QAction* mnuFitInto1000 = nullptr;
  QAction* mnuSaveTerrainAs = nullptr;
  QAction* mnuSavetoRWX = nullptr;
  QAction* exit1 = nullptr;
  QMenu* mnuOptions = nullptr;
  QAction* mnuDebug = nullptr;
  QTabWidget* PageControl1 = nullptr;
  TznBasicShapeTab* tbBasicShape = nullptr;
  TznFilterTab* tbFilter = nullptr;
  TznMaterialTab* tbMaterial = nullptr;
  TznComposerTab* tbCompose = nullptr;
  TznStatusPanels* StatusBar2 = nullptr;
  TznStatusPanels* StatusBar1 = nullptr;
  // What the open dialog starts with: primed from the settings file, then
  // from the last load.
  TznFileDialogRequest OpenDialog1;

  // Rewrites both status bars from the terrain.
  void UpdateStatusBars();
  // A fresh composer from the Composer tab for the terrain's textured
  // preview; errors leave the terrain's composer as it was.
  void UpdateTerrainComposer();
  // Loads a terrain as "File" > "Load" does after its dialog: the progress
  // window of a slow load, the error box, the status bars and the map
  // window. A load the user cancelled leaves the terrain empty, without a
  // box.
  void LoadTerrain(const std::string& file_name);
  // The clock that decides when a load shows its progress window.
  TznLoadProgress::TClock LoadClock = &TznLoadProgress::SteadyNow;
  // Opens the map window if it is not open, shows it and reshades it.
  void ShowMapWindow();
  // Closes the 3D preview, if open: before a save run, and with the map.
  std::function<void()> ClosePreview;
  // What the save dialog starts with.
  TznFileDialogRequest SaveDialog1;
  // What the dialog of "Save terrain as…" starts with.
  TznFileDialogRequest SaveTerrainDialog;

 signals:
  // The window has closed after the user's Yes; the run ends.
  void Closed();

 public slots:
  void mnuLoadClick();
  void mnuSaveTerrainAsClick();
  void mnuSavetoRWXClick();
  void mnuDebugClick();
  void exit1Click() { close(); }
  void AppActivate() { AppInactive = false; }
  void AppDeactivate() { AppInactive = true; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // When the map shows its selection, asks whether the save run writes the
  // whole terrain or only the objects inside the selection (region then
  // holds it); false when the user cancels.
  bool ChooseObjectsToSave(std::optional<TznRWXRegion>& region);
  // Whether to go on with the unfinished run under the base name, when
  // there is one; false when the user cancelled the question.
  bool ChooseResume(const std::string& base_file_name, bool& resume);
  void BuildMenus();
  void BuildTabs();
  void BuildStatusBars();
  void ShowScaleDialog();
  // A raster's notes (no-data cells, averaging, height step) in the debug
  // log; the averaging also in a message.
  void ReportRasterLoad(const std::string& file_name, const TznRasterReport& report);
  // Opens the 3D preview if it is not open and shows it.
  void ShowScene();
  void FormCreate();
  void CreateFolders();
  void StartTabs();
  void ShowTerrainChoices();
  void ApplySettingsFile();
  void ApplySettings(const TznMainSettings& settings);
  bool FormCloseQuery();
  void FormClose();
  TznMainSettings CollectSettings() const;
  // The prompts of the map or the preview: with Qt's dialogs each of them
  // has its own, so that its boxes open over it; scripted prompts answer
  // for every window.
  TznPrompts& WindowPrompts(std::unique_ptr<TznQtPrompts>& prompts);

  TznAppFolders FFolders;
  std::unique_ptr<TznQtPrompts> FOwnPrompts;
  TznPrompts* FPrompts = nullptr;
  std::unique_ptr<TznQtPrompts> FMapPrompts;
  std::unique_ptr<TznQtPrompts> FPreviewPrompts;
  TznAppContext FContext;
  bool FTerraReady = false;
  // The progress window of the load under way, if any.
  TfrmLoadProgress* FLoadProgress = nullptr;
};
