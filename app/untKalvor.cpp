#include "app/untKalvor.h"

#include "app/untLoadProgress.h"
#include "app/untMakeRWX.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMenuBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <clocale>
#include <filesystem>
#include <iterator>

#include "app/znBasicShapeTab.h"
#include "app/znComposerCitnum.h"
#include "app/znComposerTab.h"
#include "app/znFilterTab.h"
#include "app/znMaterialTab.h"
#include "app/znSaveRWXInformation.h"
#include "app/znStatusPanels.h"
#include "app/znVertexChoices.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znIniFile.h"
#include "base/znSafeFile.h"
#include "base/znScopeGuard.h"
#include "base/znVersion.h"
#include "import/znRasterSource.h"
#include "import/znTerrainFile.h"
#include "rwx/znRWXRunJournal.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraStatus.h"
#include "terrain/znTerragenWriter.h"
#include "views/untLightPosition.h"
#include "views/untScaleIt.h"
#include "views/untTerGL.h"
#include "views/untTerMap.h"
#include "views/znDebugLog.h"
#include "views/znGLWidget.h"
#include "views/znQtPrompts.h"
#include "views/znQuietPrompts.h"
#include "views/znSettingsFile.h"
#include "views/znWindowPlace.h"

namespace {

constexpr int kDesignedWidth = 598;
constexpr int kDesignedHeight = 375;

// Every decimal number of the run is written and read with ".", whatever
// the desktop's regional settings say.
void FixDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
}

}  // namespace

TfrmKalvor::TfrmKalvor(const TznAppFolders& folders, TznPrompts* prompts, QWidget* parent)
    : QMainWindow(parent), FFolders(folders), FPrompts(prompts) {
  setObjectName("frmKalvor");
  if (!FPrompts) {
    FOwnPrompts = std::make_unique<TznQtPrompts>(this);
    FPrompts = FOwnPrompts.get();
  }
  FContext.Prompts = FPrompts;
  FContext.UpdateTerrainComposer = [this] { UpdateTerrainComposer(); };
  ClosePreview = [] {
    if (TfrmTerGL* preview = TfrmTerGL::Instance()) preview->close();
  };
  Terra = std::make_unique<TznTerra>();
  BuildMenus();
  BuildTabs();
  BuildStatusBars();
  resize(kDesignedWidth, kDesignedHeight);
  FormCreate();
}

TfrmKalvor::~TfrmKalvor() {
  // The map and the preview borrow the terrain; they must not outlive it.
  delete TfrmTerGL::Instance();
  delete frmTerMap;
}

TznRWXMaterial& TfrmKalvor::CurrentMaterial() { return tbMaterial->CurrentMaterial(); }
TznRWXFaceFilter& TfrmKalvor::CurrentFilter() { return tbFilter->CurrentFilter(); }
bool TfrmKalvor::MaterialEditing() const { return tbMaterial->MaterialEditing(); }
bool TfrmKalvor::FilterEditing() const { return tbFilter->FilterEditing(); }

void TfrmKalvor::BuildMenus() {
  mnuFile = menuBar()->addMenu("File");
  mnuFile->setObjectName("mnuFile");
  mnuLoad = mnuFile->addAction("Load", this, &TfrmKalvor::mnuLoadClick);
  mnuLoad->setObjectName("mnuLoad");
  mnuFitInto1000 = mnuFile->addAction("Fit into 1000 m × 1000 m");
  mnuFitInto1000->setObjectName("mnuFitInto1000");
  mnuFitInto1000->setCheckable(true);
  mnuFitInto1000->setChecked(true);
  mnuSaveTerrainAs = mnuFile->addAction("Save terrain as…", this, &TfrmKalvor::mnuSaveTerrainAsClick);
  mnuSaveTerrainAs->setObjectName("mnuSaveTerrainAs");
  mnuFile->addSeparator();
  mnuSavetoRWX = mnuFile->addAction("Save to RWX", this, &TfrmKalvor::mnuSavetoRWXClick);
  mnuSavetoRWX->setObjectName("mnuSavetoRWX");
  mnuFile->addSeparator();
  exit1 = mnuFile->addAction("E&xit", this, &TfrmKalvor::exit1Click);
  exit1->setObjectName("exit1");

  mnuOptions = menuBar()->addMenu("Options");
  mnuOptions->setObjectName("mnuOptions");
  mnuDebug = mnuOptions->addAction("Debug", this, &TfrmKalvor::mnuDebugClick);
  mnuDebug->setObjectName("mnuDebug");
  mnuDebug->setCheckable(true);
}

void TfrmKalvor::BuildTabs() {
  FContext.SettingsDir = FFolders.SettingsDir;
  FContext.TexturesDir = FFolders.TexturesDir;
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  tbBasicShape = new TznBasicShapeTab(FContext, *Terra, PageControl1);
  tbBasicShape->OnObjectSizeChanged = [] {
    if (frmTerMap) frmTerMap->PaintMap();
  };
  tbFilter = new TznFilterTab(FContext, PageControl1);
  tbMaterial = new TznMaterialTab(FContext, PageControl1);
  tbCompose = new TznComposerTab(FContext, tbFilter->EditorLink(), tbMaterial->EditorLink(), PageControl1);
  PageControl1->addTab(tbBasicShape, "Basic Shape");
  PageControl1->addTab(tbFilter, "Filter");
  PageControl1->addTab(tbMaterial, "Material");
  PageControl1->addTab(tbCompose, "Composer");
}

void TfrmKalvor::BuildStatusBars() {
  StatusBar2 = new TznStatusPanels("StatusBar2", {{"Filename", 284, true},
                                                  {"Size", 100, false},
                                                  {"XPts", 100, false},
                                                  {"YPts", 100, false},
                                                  {"Ht:", 100, false},
                                                  {"", 50, true}});
  StatusBar1 = new TznStatusPanels("StatusBar1", {{"Scale", 40, true},
                                                  {"X:", 80, false},
                                                  {"Y:", 80, false},
                                                  {"Z:", 80, false},
                                                  {"", 4, true},
                                                  {"CRad:", 100, false},
                                                  {"CRvm:", 100, false},
                                                  {"AltW:", 100, false},
                                                  {"Dp:", 100, false},
                                                  {"", 50, true}});
  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(PageControl1, 1);
  layout->addWidget(StatusBar2);
  layout->addWidget(StatusBar1);
  setCentralWidget(client);
}

void TfrmKalvor::FormCreate() {
  setWindowTitle(QString("Kalvor ") + kKalvorShortVersion);
  FixDecimalSeparator();
  IniFileName = FFolders.IniFileName;
  SettingsDir = FFolders.SettingsDir;
  TexturesDir = FFolders.TexturesDir;
  CreateFolders();
  StartTabs();
  FTerraReady = true;
  UpdateStatusBars();
  tbBasicShape->cbMaxBounds->setCurrentIndex(0);
  ShowTerrainChoices();
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive)
      AppActivate();
    else
      AppDeactivate();
  });
  PageControl1->setCurrentWidget(tbBasicShape);
  ApplySettingsFile();
}

void TfrmKalvor::CreateFolders() {
  // Start-up goes on without them; the file operations in there then fail
  // with their own messages.
  for (const std::string& folder : {SettingsDir, TexturesDir}) {
    try {
      ForceDirectories(folder);
    } catch (const EznError& error) {
      TznDebugLog::Instance().Note(error.what());
    }
  }
}

void TfrmKalvor::StartTabs() {
  // In a home folder that takes no files the user hears it once; what fails
  // because of it (the standard files) goes to the debug log. Only the
  // constructor gets here: if a tab throws, no window is left to use the
  // quiet prompts.
  TznQuietPrompts quiet(*FPrompts);
  if (const std::string unwritable = UnwritableHomeMessage(FFolders, FolderWritable); !unwritable.empty()) {
    FPrompts->ShowMessage(unwritable);
    FContext.Prompts = &quiet;
  }
  tbMaterial->Start();
  tbFilter->Start();
  tbCompose->Start();
  FContext.Prompts = FPrompts;
}

void TfrmKalvor::ShowTerrainChoices() {
  tbBasicShape->ShowObjectSize();
  tbBasicShape->ShowNumVertices();
  tbBasicShape->ShowMesh();
  tbBasicShape->ShowTotal();
}

void TfrmKalvor::ApplySettingsFile() {
  TznMainSettings settings;
  try {
    settings = ReadMainSettings(TznIniFile(IniFileName));
  } catch (const EznError&) {
    // An unreadable settings file counts as a missing one: defaults.
  }
  ApplySettings(settings);
}

void TfrmKalvor::ApplySettings(const TznMainSettings& s) {
  PutClientAt(*this, QPoint(s.Left, s.Top));
  TznDebugLog::Instance().SetDebugMode(s.Debug);
  mnuDebug->setChecked(s.Debug);
  mnuFitInto1000->setChecked(s.FitInto1000);
  if (s.ObjectSizeItem >= 0 && s.ObjectSizeItem < int(TznCuttingOptions::kObjectSizes.size()))
    tbBasicShape->SelectObjectSizeItem(s.ObjectSizeItem);
  tbBasicShape->ApplyObjectSize();
  if (s.NumberOfVerticesItem >= 0 && s.NumberOfVerticesItem < tbBasicShape->cbNumVertices->count())
    tbBasicShape->SelectNumVerticesItem(s.NumberOfVerticesItem);
  tbBasicShape->ApplyNumVertices();
  // A mesh or an error out of range leaves the terrain's default.
  if (s.Mesh == 0 || s.Mesh == 1) tbBasicShape->SelectMeshItem(s.Mesh);
  if (s.MaxErrorCm >= kMinMaxErrorCm && s.MaxErrorCm <= kMaxMaxErrorCm) tbBasicShape->SelectMaxErrorCm(s.MaxErrorCm);
  tbBasicShape->ApplyMesh();
  tbBasicShape->ShowTotal();
  // A name the folder holds no filter or material file of (gone, or some
  // other kind of file) is skipped without a word; the first entry stays.
  tbFilter->TrySelectFilterFile(s.FilterFile);
  tbMaterial->TrySelectMaterialFile(s.MaterialFile);
  if (!s.ComposerFile.empty() && FileExists(SettingsDir + s.ComposerFile))
    tbCompose->LoadComposerFile(SettingsDir + s.ComposerFile);
  OpenDialog1.FileName = s.TerFile;
  OpenDialog1.InitialDir = ExtractFilePath(s.TerFile);
  if (s.RenderMode) Terra->SetRenderMode(*s.RenderMode);
  tbCompose->SetCitnumText(FormatInt(s.Citnum));
}

void TfrmKalvor::UpdateStatusBars() {
  const TznTerraStatus status = TerraStatusTexts(*Terra);
  for (size_t i = 0; i < status.upper.size(); ++i) StatusBar2->SetText(static_cast<int>(i), status.upper[i]);
  // Panel 4 of the lower bar is a blank spacer between the scales and the
  // header values.
  const int lower_panels[] = {0, 1, 2, 3, 5, 6, 7, 8};
  for (size_t i = 0; i < status.lower.size() && i < std::size(lower_panels); ++i)
    StatusBar1->SetText(lower_panels[i], status.lower[i]);
}

void TfrmKalvor::UpdateTerrainComposer() {
  if (!FTerraReady || !Terra || !tbCompose) return;
  try {
    Terra->SetComposer(tbCompose->BuildComposerFromTab());
  } catch (...) {
    // The terrain keeps the composer it had.
  }
}

void TfrmKalvor::mnuLoadClick() {
  OpenDialog1.Filter =
      "Terrains (*.ter *.tif *.tiff *.png *.hgt *.asc *.dem)|*.ter;*.tif;*.tiff;*.png;*.hgt;*.asc;*.dem|"
      "Terragen (*.ter)|*.ter|All files|*";
  const std::optional<std::string> file_name = FPrompts->OpenFileName(OpenDialog1);
  if (!file_name) return;
  OpenDialog1.FileName = *file_name;
  OpenDialog1.InitialDir = ExtractFilePath(*file_name);
  LoadTerrain(*file_name);
}

void TfrmKalvor::mnuSaveTerrainAsClick() {
  if (Terra->FHeights.empty()) {
    FPrompts->ShowMessage("No terrain loaded");
    return;
  }
  SaveTerrainDialog.Title = "Save terrain as";
  SaveTerrainDialog.Filter = "Terragen (*.ter)|*.ter";
  SaveTerrainDialog.DefaultExt = "ter";
  // Beside the loaded file; a raster's name with ".ter" in place of its
  // own extension.
  SaveTerrainDialog.InitialDir = ExtractFilePath(Terra->FFileName);
  SaveTerrainDialog.FileName.clear();
  if (!IsTerragenFile(Terra->FFileName))
    SaveTerrainDialog.FileName = std::filesystem::path(Terra->FFileName).replace_extension(".ter").string();
  const std::optional<std::string> file_name = FPrompts->SaveFileName(SaveTerrainDialog);
  if (!file_name) return;
  // The loaded file is refused below, with its own message.
  if (FileExists(*file_name) && !IsTerrainsOwnFile(*Terra, *file_name) &&
      !FPrompts->AskYesNo("File already exist. Ovewrite?"))
    return;
  try {
    const double step = SaveTerragenFile(*Terra, *file_name);
    // The step tells the user how finely the file holds the heights.
    const std::string note = TerragenWrittenNote(ExtractFileName(*file_name), *Terra, step);
    TznDebugLog::Instance().Note(note);
    StatusBar2->SetText(0, note);
  } catch (const std::exception& e) {
    FPrompts->ShowMessage(e.what());
  }
}

void TfrmKalvor::LoadTerrain(const std::string& file_name) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  repaint();
  // The map's thread reads the heights that the load replaces.
  WaitForMapWindow();
  std::string error;
  bool cancelled = false;
  std::optional<TznRasterReport> report;
  Terra->SetFitRule(mnuFitInto1000->isChecked() ? TznFitRule::ByKind : TznFitRule::TrueSize);
  {
    TfrmLoadProgress progress(file_name, LoadClock, this);
    FLoadProgress = &progress;
    const TznScopeGuard forget([this] { FLoadProgress = nullptr; });
    TznRasterOptions options;
    options.Progress = [&progress](double done) { return progress.LoadProgress(done); };
    try {
      report = LoadTerrainFile(*Terra, file_name, options);
    } catch (const EznRasterCancelled&) {
      cancelled = true;
    } catch (const std::exception& e) {
      error = e.what();
    }
  }
  if (!error.empty()) FPrompts->ShowMessage(error);
  UpdateStatusBars();
  // The user asked for it: a note, not a box.
  if (cancelled) StatusBar2->SetText(0, TznLoadProgress::CancelledNote());
  if (const std::string note = error.empty() && !cancelled ? FitNote(*Terra) : ""; !note.empty()) {
    const std::string name = ExtractFileName(file_name);
    TznDebugLog::Instance().Note(name + ": " + note);
    StatusBar2->SetText(0, name + ": " + note);
  }
  tbBasicShape->ShowTriangles();
  QApplication::restoreOverrideCursor();
  repaint();
  if (report) ReportRasterLoad(file_name, *report);
  try {
    ShowMapWindow();
  } catch (...) {
    // The map is a view; the main window goes on without it.
  }
}

void TfrmKalvor::ReportRasterLoad(const std::string& file_name, const TznRasterReport& report) {
  const std::string name = ExtractFileName(file_name);
  for (const std::string& note : report.Notes()) TznDebugLog::Instance().Note(name + ": " + note);
  // Fewer points than the file holds: the user is told at once.
  if (report.Averaged()) FPrompts->ShowMessage(name + ": " + report.AveragingNote());
}

void TfrmKalvor::ShowMapWindow() {
  if (!frmTerMap) {
    auto* map = new TfrmTerMap(*Terra, IniFileName, WindowPrompts(FMapPrompts));
    if (FMapPrompts) FMapPrompts->SetParent(map);
    map->OnScale = [this] { ShowScaleDialog(); };
    map->OnShowScene = [this] { ShowScene(); };
    map->OnClosing = ClosePreview;
    map->SetOpener(this);
  }
  frmTerMap->show();
  frmTerMap->RefreshMap();
}

void TfrmKalvor::ShowScene() {
  TfrmTerGL* preview = TfrmTerGL::Instance();
  if (!preview) {
    if (!OpenGLAvailable()) {
      WindowPrompts(FMapPrompts).ShowMessage("The 3D preview needs OpenGL, which this display does not offer.");
      return;
    }
    preview = new TfrmTerGL(*Terra, IniFileName, WindowPrompts(FPreviewPrompts));
    if (FPreviewPrompts) FPreviewPrompts->SetParent(preview);
    preview->OnRenderModeChanged = [] {
      if (frmTerMap) frmTerMap->SyncRenderMode();
    };
    preview->OnLightPosition = [this] {
      return RunLightPositionDialog(TfrmTerGL::Instance(), *Terra, WindowPrompts(FPreviewPrompts));
    };
    preview->IsAppInactive = [this] { return AppInactive; };
    preview->SetOpener(frmTerMap);
  }
  preview->show();
}

void TfrmKalvor::ShowScaleDialog() {
  TznScaleHooks hooks;
  hooks.UpdateTerrainComposer = [this] { UpdateTerrainComposer(); };
  hooks.UpdateStatusBars = [this] {
    UpdateStatusBars();
    tbBasicShape->ShowTriangles();
  };
  hooks.RefreshMap = [] {
    if (frmTerMap) frmTerMap->RefreshMap();
  };
  TfrmScaleIt::Execute(frmTerMap, *Terra, WindowPrompts(FMapPrompts), hooks);
}

bool TfrmKalvor::ChooseObjectsToSave(std::optional<TznRWXRegion>& region) {
  region.reset();
  // Without a selection on the map there is nothing to choose.
  if (!frmTerMap || !frmTerMap->cbShowSelection->isChecked()) return true;
  const std::optional<int> choice =
      FPrompts->Choose("Save to RWX", "Objects to write:", {"Whole terrain", "Only the objects inside the selection"});
  if (!choice) return false;
  if (*choice == 1) region = Terra->SelectionRegion();
  return true;
}

bool TfrmKalvor::ChooseResume(const std::string& base_file_name, bool& resume) {
  resume = false;
  const std::string list = base_file_name + ".prp";
  if (!UnfinishedRunAt(list)) return true;
  const std::optional<int> choice =
      FPrompts->Choose("Save to RWX", "\"" + list + "\" belongs to an unfinished run:", {"Resume it", "Start anew"});
  if (!choice) return false;
  resume = *choice == 0;
  return true;
}

void TfrmKalvor::mnuSavetoRWXClick() {
  // The filter chooses the format of the object files; the name is taken
  // as typed, without an extension added. Below it the dialog says how many
  // objects the name starts and what the first is called.
  SaveDialog1.Title = "Save to RWX: choose a base name";
  SaveDialog1.Filter = "RWX objects (*.rwx)|*.rwx|Wavefront OBJ (*.obj)|*.obj";
  SaveDialog1.Information = [plan = Terra->PlanObjects()](const std::string& typed, int filter_index) {
    return SaveRWXInformation(plan, typed, filter_index == 1 ? TznModelFormat::Obj : TznModelFormat::Rwx);
  };
  const std::optional<std::string> base_file_name = FPrompts->SaveFileName(SaveDialog1);
  if (!base_file_name) return;
  SaveDialog1.FileName = *base_file_name;
  std::optional<TznRWXRegion> region;
  if (!ChooseObjectsToSave(region)) return;
  // A run under the name that was stopped or killed can go on where it
  // stopped, with the same settings.
  bool resume = false;
  if (!ChooseResume(*base_file_name, resume)) return;
  if (ClosePreview) {
    ClosePreview();
    QCoreApplication::processEvents();
  }
  std::string error;
  try {
    std::unique_ptr<TznRWXComposer> composer = tbCompose->BuildComposerFromTab();
    // The batch writer refuses to write over the composer file, as over its
    // parts and the terrain.
    if (const std::string name = tbCompose->ComposerName(); !name.empty()) composer->AddSourceFile(SettingsDir + name);
    TfrmMakeRWX dialog(*FPrompts, this);
    dialog.BaseFileName = *base_file_name;
    dialog.Composer = composer.get();
    dialog.Terra = Terra.get();
    dialog.Format = SaveDialog1.FilterIndex == 1 ? TznModelFormat::Obj : TznModelFormat::Rwx;
    dialog.Region = region;
    dialog.Resume = resume;
    dialog.exec();
    error = dialog.Error;
    // A run that was killed outright under the same name left the temporary
    // file of the object it was writing; the batch writer cleared it away.
    if (const int leftovers = dialog.LeftoversRemoved; leftovers > 0)
      TznDebugLog::Instance().Note("Removed " + FormatInt(leftovers) + " leftover temporary file" +
                                   (leftovers == 1 ? "" : "s") + " of an interrupted run of " + *base_file_name);
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (!error.empty()) FPrompts->ShowMessage(error);
}

void TfrmKalvor::mnuDebugClick() {
  TznDebugLog& log = TznDebugLog::Instance();
  log.SetDebugMode(!log.DebugMode());
  mnuDebug->setChecked(log.DebugMode());
  // Switched on, the log comes up at once: the notes of the run (folders,
  // files skipped, what a load changed) are there to read before any
  // OpenGL error. Switched off, it stays as it is.
  if (log.DebugMode()) log.ShowLog();
}

void TfrmKalvor::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A saved position may lie on a screen that is gone.
  if (!event->spontaneous()) PlaceWindow(*this);
}

void TfrmKalvor::closeEvent(QCloseEvent* event) {
  // A close during a load stops the load; the window stays.
  if (FLoadProgress) {
    FLoadProgress->btCancelClick();
    event->ignore();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
  emit Closed();
}

bool TfrmKalvor::FormCloseQuery() { return FPrompts->AskYesNo("Do you wish to exit?"); }

void TfrmKalvor::FormClose() {
  // The map window writes its own section as it closes, and closes the 3D
  // preview, which writes its own.
  if (frmTerMap) frmTerMap->close();
  const TznMainSettings settings = CollectSettings();
  const bool write_ter_file = !Terra->FFileName.empty();
  SaveSettingsFile(IniFileName, [&](TznIniFile& ini) { WriteMainSettings(ini, settings, write_ter_file); });
}

TznPrompts& TfrmKalvor::WindowPrompts(std::unique_ptr<TznQtPrompts>& prompts) {
  if (!FOwnPrompts) return *FPrompts;
  if (!prompts) prompts = std::make_unique<TznQtPrompts>();
  return *prompts;
}

TznMainSettings TfrmKalvor::CollectSettings() const {
  TznMainSettings s;
  const QPoint place = ClientPosition(*this);
  s.Left = place.x();
  s.Top = place.y();
  s.Debug = TznDebugLog::Instance().DebugMode();
  s.FitInto1000 = mnuFitInto1000->isChecked();
  s.ObjectSizeItem = tbBasicShape->ObjectSizeItem();
  s.NumberOfVerticesItem = tbBasicShape->NumVerticesItem();
  s.Mesh = tbBasicShape->MeshItem();
  s.MaxErrorCm = tbBasicShape->MaxErrorCm();
  s.FilterFile = tbFilter->SelectedFileName();
  s.MaterialFile = tbMaterial->SelectedFileName();
  s.ComposerFile = tbCompose->ComposerName();
  s.TerFile = Terra->FFileName;
  s.RenderMode = Terra->FRenderMode;
  s.Citnum = ParseCitizenNumber(tbCompose->CitnumText());
  return s;
}
