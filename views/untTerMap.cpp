// The map window's construction, layout, settings and life cycle, and the
// map thread's start and end. The event handlers are in untTerMapEvents.cpp.
#include "views/untTerMap.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "base/znIniFile.h"
#include "terrain/znTerra.h"
#include "views/znMapOverlay.h"
#include "views/znMapRuler.h"
#include "views/znMapShading.h"
#include "views/znMapTexts.h"
#include "views/znMapThread.h"
#include "views/znPrompts.h"
#include "views/znSettingsFile.h"
#include "views/znWindowPlace.h"

TfrmTerMap* frmTerMap = nullptr;

namespace {

constexpr const char* kSection = "Map";
// The scroll box's place in the client area: room left of it for the
// vertical ruler, right of it, and below it for the horizontal ruler (which
// counts kScrollTop in).
constexpr int kScrollLeft = 24, kScrollTop = 16, kScrollRight = 16, kScrollBelow = 32;

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(56);
  return edit;
}

// A titled group of radio buttons whose ids are the item indexes.
QGroupBox* MakeRadioGroup(QWidget* parent, const char* name, const char* title,
                          std::initializer_list<const char*> items, QButtonGroup*& buttons) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  buttons = new QButtonGroup(group);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(0);
  int id = 0;
  for (const char* item : items) {
    auto* button = new QRadioButton(item, group);
    button->setObjectName(QString("%1%2").arg(name).arg(id));
    buttons->addButton(button, id++);
    layout->addWidget(button);
  }
  return group;
}

// A label and an edit in one row of a grid.
void AddEditRow(QGridLayout* grid, int row, int column, const char* caption, QLineEdit* edit) {
  grid->addWidget(new QLabel(caption), row, column);
  grid->addWidget(edit, row, column + 1);
}

}  // namespace

TfrmTerMap::TfrmTerMap(TznTerra& terra, std::string settings_file, TznPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), FTerra(terra), FPrompts(prompts), FSettingsFile(std::move(settings_file)) {
  setObjectName("frmTerMap");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Map");
  vNumbers = MakeGlyphStrip(true);
  hNumbers = MakeGlyphStrip(false);
  CreateMenu();
  CreateControls();
  ReadSettings();
  CoordsButtons->button(1)->setChecked(true);
  FTerra.SetRelative(true);
  SyncRenderMode();
  frmTerMap = this;
}

TfrmTerMap::~TfrmTerMap() {
  StopMapThread();
  if (frmTerMap == this) frmTerMap = nullptr;
}

void TfrmTerMap::CreateMenu() {
  QMenu* file = menuBar()->addMenu("File");
  mnuShowGL = file->addAction("Show Scene");
  mnuShowGL->setObjectName("mnuShowGL");
  file->addSeparator();
  mnuScale = file->addAction("Scale");
  mnuScale->setObjectName("mnuScale");
  connect(mnuShowGL, &QAction::triggered, this, [this] { mnuShowGLClick(); });
  connect(mnuScale, &QAction::triggered, this, [this] { mnuScaleClick(); });
}

void TfrmTerMap::CreateControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  ScrollBox1 = new QScrollArea(client);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setWidgetResizable(false);
  Image1 = new TznMapImage;
  Image1->setObjectName("Image1");
  Image1->setCursor(Qt::CrossCursor);
  Image1->setMouseTracking(true);
  Image1->OnMouseDown = [this](QMouseEvent* event) { Image1MouseDown(event); };
  Image1->OnMouseMove = [this](QMouseEvent* event) { Image1MouseMove(event); };
  Image1->OnPaintOver = [this](QPainter& painter) { DrawOverlays(painter); };
  Image1->OnWheel = [this](QWheelEvent* event) { Image1Wheel(event); };
  ScrollBox1->setWidget(Image1);
  // The map takes the keys first, so that "+" and "-" zoom rather than type
  // into an edit; a click on the map brings them back to it.
  ScrollBox1->setFocusPolicy(Qt::StrongFocus);
  ScrollBox1->setFocus();
  ScrollBox1->viewport()->installEventFilter(this);

  auto make_picture = [client](const char* name, QImage picture) {
    auto* image = new TznMapImage(client);
    image->setObjectName(name);
    image->SetPicture(std::move(picture));
    return image;
  };
  vImage = make_picture("vImage", QImage());
  hImage = make_picture("hImage", QImage());
  AVertical = make_picture("AVertical", MakeArrow(true));
  AHorizontal = make_picture("AHorizontal", MakeArrow(false));

  pnControls = CreatePanel();
  pnControls->setParent(client);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  setStatusBar(StatusBar1);
  lbZoom = new QLabel(StatusBar1);
  lbZoom->setObjectName("lbZoom");
  StatusBar1->addPermanentWidget(lbZoom);
  ShowZoom();
}

QWidget* TfrmTerMap::CreatePanel() {
  auto* panel = new QWidget;
  panel->setObjectName("pnControls");
  // The panel's many controls share the window with the map: a compact
  // font keeps a 257-point map whole at the designed window size.
  QFont compact = panel->font();
  if (compact.pointSizeF() > 0) {
    compact.setPointSizeF(compact.pointSizeF() * 0.85);
    panel->setFont(compact);
  }
  edWater = MakeEdit(panel, "edWater");
  edCentreX = MakeEdit(panel, "edCentreX");
  edCentreY = MakeEdit(panel, "edCentreY");
  edSideX = MakeEdit(panel, "edSideX");
  edSideY = MakeEdit(panel, "edSideY");
  edOriginX = MakeEdit(panel, "edOriginX");
  edOriginY = MakeEdit(panel, "edOriginY");
  edOriginZ = MakeEdit(panel, "edOriginZ");
  lbHeight = new QLabel(panel);
  lbHeight->setObjectName("lbHeight");
  lbDepth = new QLabel(panel);
  lbDepth->setObjectName("lbDepth");
  btResetOrigin = new QPushButton("reset", panel);
  btResetOrigin->setObjectName("btResetOrigin");
  btResetSelection = new QPushButton("reset", panel);
  btResetSelection->setObjectName("btResetSelection");
  btResetOrigin->setFixedWidth(56);
  btResetSelection->setFixedWidth(56);
  cbShowOrigin = new QCheckBox("Show Origin", panel);
  cbShowOrigin->setObjectName("cbShowOrigin");
  cbShowOrigin->setChecked(true);
  cbShowSelection = new QCheckBox("Show Selection", panel);
  cbShowSelection->setObjectName("cbShowSelection");
  rgCoords = MakeRadioGroup(panel, "rgCoords", "View Coordinates", {"Absolute", "Relative to Origin"}, CoordsButtons);
  rgRenderMode = MakeRadioGroup(panel, "rgRenderMode", "Render Mode", {"Terragen", "RWX Preview", "RWX Texture"},
                                RenderModeButtons);

  // Selection on the left, origin and water level in the middle, the two
  // choices on the right; the extremes and check boxes below.
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  AddEditRow(grid, 0, 0, "Centre X (m)", edCentreX);
  AddEditRow(grid, 1, 0, "Centre Y (m)", edCentreY);
  AddEditRow(grid, 2, 0, "Side X (m)", edSideX);
  AddEditRow(grid, 3, 0, "Side Y (m)", edSideY);
  grid->addWidget(btResetSelection, 4, 1);
  AddEditRow(grid, 0, 2, "Origin X (m)", edOriginX);
  AddEditRow(grid, 1, 2, "Origin Y (m)", edOriginY);
  AddEditRow(grid, 2, 2, "Origin A (m)", edOriginZ);
  grid->addWidget(btResetOrigin, 3, 3);
  AddEditRow(grid, 4, 2, "Water Level (m):", edWater);
  grid->addWidget(new QLabel("height:"), 5, 0);
  grid->addWidget(lbHeight, 5, 1);
  grid->addWidget(new QLabel("depth:"), 5, 2);
  grid->addWidget(lbDepth, 5, 3);
  grid->addWidget(cbShowSelection, 6, 0, 1, 2);
  grid->addWidget(cbShowOrigin, 6, 2, 1, 2);
  grid->addWidget(rgRenderMode, 0, 4, 4, 1);
  grid->addWidget(rgCoords, 4, 4, 3, 1);
  grid->setColumnMinimumWidth(1, 56);
  grid->setColumnMinimumWidth(3, 56);
  grid->setColumnStretch(5, 1);

  for (QLineEdit* edit : {edCentreX, edCentreY, edSideX, edSideY, edOriginX, edOriginY, edOriginZ})
    connect(edit, &QLineEdit::returnPressed, this, [this] { edSelectionKeyDown(); });
  connect(edWater, &QLineEdit::returnPressed, this, [this] { edWaterKeyDown(); });
  connect(btResetOrigin, &QPushButton::clicked, this, [this] { btResetOriginClick(); });
  connect(btResetSelection, &QPushButton::clicked, this, [this] { btResetSelectionClick(); });
  connect(cbShowOrigin, &QCheckBox::clicked, this, [this] { Guarded([this] { PaintMap(); }); });
  connect(cbShowSelection, &QCheckBox::clicked, this, [this] { Guarded([this] { PaintMap(); }); });
  connect(CoordsButtons, &QButtonGroup::idClicked, this, [this] { rgCoordsClick(); });
  connect(RenderModeButtons, &QButtonGroup::idClicked, this, [this] { rgRenderModeClick(); });
  return panel;
}

// Left and Top are those of the client area, as for the other windows; a
// place at the top of the screen is moved down when shown, so that the
// title bar stays in reach.
void TfrmTerMap::ReadSettings() {
  int left = 50, top = 50, width = 458, height = 526;
  try {
    const TznIniFile ini(FSettingsFile);
    FHasSavedPlace = ini.ValueExists(kSection, "Left") && ini.ValueExists(kSection, "Top");
    left = ini.ReadInteger(kSection, "Left", left);
    top = ini.ReadInteger(kSection, "Top", top);
    width = ini.ReadInteger(kSection, "Width", width);
    height = ini.ReadInteger(kSection, "Height", height);
  } catch (const std::exception&) {
    // An unreadable settings file leaves the window at its designed place.
  }
  resize(width, height);
  PutClientAt(*this, QPoint(left, top));
}

void TfrmTerMap::WriteSettings() {
  const QRect place = geometry();
  SaveSettingsFile(FSettingsFile, [&place](TznIniFile& ini) {
    ini.WriteInteger(kSection, "Left", place.left());
    ini.WriteInteger(kSection, "Top", place.top());
    ini.WriteInteger(kSection, "Width", place.width());
    ini.WriteInteger(kSection, "Height", place.height());
  });
}

void TfrmTerMap::closeEvent(QCloseEvent* event) {
  if (!FClosed) {
    FClosed = true;
    if (OnClosing) Guarded(OnClosing);
    StopMapThread();
    Guarded([this] { WriteSettings(); });
    if (frmTerMap == this) frmTerMap = nullptr;
  }
  event->accept();
}

void TfrmTerMap::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (ScrollBox1) ArrangeControls();
}

void TfrmTerMap::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;
  // The first show chooses the zoom for the screen the window goes to; a
  // window without a saved position opens beside the one that opened it.
  const QWidget* opener = FPlaced || FHasSavedPlace ? nullptr : FOpener.data();
  if (!FPlaced) ZoomToFit(PlacementScreen(*this, opener));
  FPlaced = true;
  PlaceWindow(*this, opener);
}

void TfrmTerMap::StartMapThread() {
  if (FMapThread || FBusy) return;
  FBusy = true;
  DisableControls();
  StatusBar1->showMessage("Busy...");
  FMapThread = new TMapTh(FTerra);
  connect(FMapThread, &QThread::finished, this, &TfrmTerMap::MapThreadDone, Qt::QueuedConnection);
  FMapThread->start();
}

void TfrmTerMap::StopMapThread() {
  if (!FMapThread) return;
  // No completion call after this: the window is going away.
  disconnect(FMapThread, nullptr, this, nullptr);
  FMapThread->requestInterruption();
  FMapThread->wait();
  delete FMapThread;
  FMapThread = nullptr;
  FBusy = false;
}

void TfrmTerMap::MapThreadDone() {
  if (!FMapThread || FClosed) return;
  FMapThread->wait();
  FBitmap = FMapThread->TakePicture();
  const std::string error = FMapThread->ErrorMessage();
  delete FMapThread;
  FMapThread = nullptr;
  FBusy = false;
  StatusBar1->clearMessage();
  EnableControls();
  if (!error.empty()) FPrompts.ShowMessage(error);
  Guarded([this] { PaintMap(); });
}

void TfrmTerMap::DisableControls() {
  pnControls->setEnabled(false);
  Image1->setEnabled(false);
  // The scale dialog changes the heights the thread is reading.
  mnuScale->setEnabled(false);
  setCursor(Qt::WaitCursor);
}

void TfrmTerMap::EnableControls() {
  pnControls->setEnabled(true);
  Image1->setEnabled(true);
  mnuScale->setEnabled(true);
  unsetCursor();
}

void TfrmTerMap::PaintMap() {
  UpdateCaption();
  const QSize points(FTerra.FXPoints, FTerra.FYPoints);
  QImage picture = FBitmap;
  if (picture.size() != points) {
    // Not shaded yet, or shaded before the terrain changed its size.
    picture = QImage(points, QImage::Format_RGB32);
    if (!picture.isNull()) {
      picture.fill(Qt::white);
      QPainter painter(&picture);
      painter.drawImage(0, 0, FBitmap);
    }
  }
  FOriginOverlay.reset();
  FSelectionOverlay.reset();
  if (cbShowOrigin->isChecked()) FOriginOverlay = OriginOverlay(FTerra);
  if (cbShowSelection->isChecked()) FSelectionOverlay = SelectionOverlay(FTerra);
  Image1->SetPicture(std::move(picture));
  vImage->SetPicture(DrawRuler(VerticalRulerText(FTerra), vNumbers, true));
  hImage->SetPicture(DrawRuler(HorizontalRulerText(FTerra), hNumbers, false));
  ArrangeControls();
}

void TfrmTerMap::DrawOverlays(QPainter& painter) const {
  const QSize points = Image1->Picture().size();
  const int zoom = Image1->Zoom();
  if (FOriginOverlay) DrawOriginOverlay(painter, *FOriginOverlay, points.width(), points.height(), zoom);
  if (FSelectionOverlay) DrawSelectionOverlay(painter, *FSelectionOverlay, zoom);
}

QSize TfrmTerMap::AroundPicture() const {
  // As ArrangeControls lays the window out: the scroll box's margins and
  // frame, the room for the rulers, the panel, the menu and the status bar.
  const int frame = 2 * ScrollBox1->frameWidth();
  const int bars = menuBar()->sizeHint().height() + StatusBar1->sizeHint().height();
  return {kScrollLeft + kScrollRight + frame, pnControls->sizeHint().height() + kScrollBelow + frame + bars};
}

void TfrmTerMap::ArrangeControls() {
  QWidget* client = centralWidget();
  const int client_width = client->width();
  const int client_height = client->height();
  const int panel_height = pnControls->sizeHint().height();
  pnControls->setGeometry(0, client_height - panel_height, client_width, panel_height);

  const int frame = 2 * ScrollBox1->frameWidth();
  const int picture_right = Image1->width() + frame;
  const int picture_bottom = Image1->height() + frame;
  const int scroll_width = std::max(0, std::min(client_width - kScrollLeft - kScrollRight, picture_right));
  const int scroll_height = std::max(0, std::min(client_height - panel_height - kScrollBelow, picture_bottom));
  ScrollBox1->setGeometry(kScrollLeft, kScrollTop, scroll_width, scroll_height);
  // A picture that fits needs no scroll bars; without this the two bars can
  // keep each other shown.
  const bool fits = scroll_width >= picture_right && scroll_height >= picture_bottom;
  const Qt::ScrollBarPolicy bars = fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
  ScrollBox1->setHorizontalScrollBarPolicy(bars);
  ScrollBox1->setVerticalScrollBarPolicy(bars);

  const int below = kScrollTop + scroll_height + 4;
  AVertical->move(kScrollLeft - 4 - AVertical->width(), kScrollTop);
  vImage->move(kScrollLeft - 4 - vImage->width(), kScrollTop + (scroll_height - vImage->height()) / 2);
  AHorizontal->move(
      std::min(kScrollLeft + picture_right - AHorizontal->width(), client_width - AHorizontal->width() - kScrollRight),
      below);
  const int centre = kScrollLeft + std::min(scroll_width, picture_right) / 2;
  hImage->move(centre - hImage->width() / 2, below);
}

void WaitForMapWindow() {
  while (frmTerMap && frmTerMap->Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
