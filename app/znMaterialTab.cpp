#include "app/znMaterialTab.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>
#include <utility>
#include <vector>

#include "app/znElidedLabel.h"
#include "app/znFileListBox.h"
#include "app/znMaterialControls.h"
#include "base/znFormat.h"
#include "views/znPrompts.h"

namespace {

constexpr int kEnterKey = 13;
constexpr int kPreviewSize = 128;
constexpr int kNumberEditWidth = 62;

QString ToQ(const std::string& text) { return QString::fromStdString(text); }
std::string FromQ(const QString& text) { return text.toStdString(); }
std::string TrimmedText(const QLineEdit* edit) { return std::string(Trim(FromQ(edit->text()))); }

// A row of controls without margins of its own.
QFrame* MakePanel(const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  return panel;
}

QCheckBox* MakeCheck(const char* name, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

QRadioButton* MakeRadio(const char* name, const char* caption, bool checked, QWidget* parent) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(name);
  button->setChecked(checked);
  return button;
}

QLineEdit* MakeEdit(const char* name, const char* hint, const char* designed, QWidget* parent) {
  auto* edit = new QLineEdit(designed, parent);
  edit->setObjectName(name);
  if (*hint) edit->setToolTip(hint);
  return edit;
}

QLineEdit* MakeNumberEdit(const char* name, const char* hint, const char* designed, QWidget* parent) {
  QLineEdit* edit = MakeEdit(name, hint, designed, parent);
  edit->setFixedWidth(kNumberEditWidth);
  return edit;
}

QLabel* MakeLabel(const char* name, const char* caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  if (*name) label->setObjectName(name);
  return label;
}

QToolButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setAutoRaise(true);
  return button;
}

// Puts the widgets into the panel's row, followed by a stretch.
void Fill(QFrame* panel, std::initializer_list<QWidget*> widgets) {
  auto* row = static_cast<QHBoxLayout*>(panel->layout());
  for (QWidget* widget : widgets) row->addWidget(widget);
  row->addStretch(1);
}

// A panel holding the two choices of a sampling or a mode side by side, the
// first switched on.
QFrame* MakeChoicePanel(const char* name, QWidget* parent, QRadioButton*& first, const char* first_name,
                        const char* first_caption, QRadioButton*& second, const char* second_name,
                        const char* second_caption) {
  QFrame* panel = MakePanel(name, parent);
  first = MakeRadio(first_name, first_caption, true, panel);
  second = MakeRadio(second_name, second_caption, false, panel);
  Fill(panel, {first, second});
  return panel;
}

// Switches on the button of the value (0 the first, 1 the second); a value
// outside the two switches neither on.
void ShowChoice(QRadioButton* first, QRadioButton* second, int value) {
  for (auto [button, own] : {std::pair{first, 0}, std::pair{second, 1}}) {
    button->setAutoExclusive(false);
    button->setChecked(value == own);
    button->setAutoExclusive(true);
  }
}

// 0 when the first button is on, 1 when the second is; nothing when neither.
std::optional<int> ReadChoice(const QRadioButton* first, const QRadioButton* second) {
  if (first->isChecked()) return 0;
  if (second->isChecked()) return 1;
  return std::nullopt;
}

}  // namespace

// --- TznColorSwatch ---------------------------------------------------------

TznColorSwatch::TznColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
}

void TznColorSwatch::SetColor(TColor color) {
  FColor = color;
  QPalette colors = palette();
  colors.setColor(QPalette::Window, QColor(ColorRed(color), ColorGreen(color), ColorBlue(color)));
  setPalette(colors);
}

void TznColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  QFrame::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Click();
}

// --- TznMaterialTab: building ----------------------------------------------

TznMaterialTab::TznMaterialTab(TznAppContext& context, QWidget* parent)
    : QWidget(parent),
      FContext(context),
      FEditor(context, {.Noun = "material", .Title = "Material", .Extension = "MTR"}) {
  setObjectName("tbMaterial");
  BuildControls();
  FEditor.SetControls({.List = MaterialList,
                       .Group = gbMaterial,
                       .NameLabel = lbMaterialName,
                       .Edit = btEditMaterialEdit,
                       .Create = btEditMaterialCreate,
                       .Duplicate = btEditMaterialDuplicate,
                       .Accept = btEditMaterialAccept,
                       .Cancel = btEditMaterialCancel});
  FEditor.ItemToControls = [this] { MaterialToControls(); };
  FEditor.ControlsToItem = [this] { ControlsToMaterial(); };
  FEditor.AcceptProblem = [this] { return TextureNameMessage(); };
  ConnectControls();
  SetMaterialEditState();
}

void TznMaterialTab::BuildControls() {
  // The list and the group side by side with the button row under both,
  // the preview at the right over the whole height.
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(3);
  MaterialList = new TznFileListBox(this);
  MaterialList->setObjectName("MaterialList");
  grid->addWidget(MaterialList, 0, 0);
  grid->addWidget(BuildMaterialGroup(), 0, 1);
  grid->addWidget(BuildButtonPanel(), 1, 0, 1, 2);
  grid->addWidget(BuildPreviewColumn(), 0, 2, 2, 1);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(0, 1);
}

QWidget* TznMaterialTab::BuildButtonPanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  auto* buttons = new QHBoxLayout(Panel1);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(0);
  btEditMaterialCreate = MakeButton("btEditMaterialCreate", "create", Panel1);
  btEditMaterialDuplicate = MakeButton("btEditMaterialDuplicate", "duplicate", Panel1);
  btEditMaterialEdit = MakeButton("btEditMaterialEdit", "edit", Panel1);
  btEditMaterialAccept = MakeButton("btEditMaterialAccept", "accept", Panel1);
  btEditMaterialCancel = MakeButton("btEditMaterialCancel", "cancel", Panel1);
  for (QToolButton* button :
       {btEditMaterialCreate, btEditMaterialDuplicate, btEditMaterialEdit, btEditMaterialAccept, btEditMaterialCancel})
    buttons->addWidget(button);
  buttons->addStretch(1);
  return Panel1;
}

QGroupBox* TznMaterialTab::BuildMaterialGroup() {
  gbMaterial = new QGroupBox("Material", this);
  gbMaterial->setObjectName("gbMaterial");
  QGroupBox* g = gbMaterial;
  auto* grid = new QGridLayout(g);
  grid->setContentsMargins(1, 0, 1, 0);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(1);

  lbMaterialName = NewFileNameLabel(g, "lbMaterialName");

  cbUseTexture = MakeCheck("cbUseTexture", "Texture", g);
  edTexture = MakeEdit("edTexture", "texture filename without extension", "", g);

  cbSurface = MakeCheck("cbSurface", "Surface", g);
  pnSurface = MakePanel("pnSurface", g);
  edAmbient = MakeNumberEdit("edAmbient", "Ambient: 0.0 to 1.0", "0.6", pnSurface);
  edDiffuse = MakeNumberEdit("edDiffuse", "Diffuse: 0.0 to 1.0", "0.9", pnSurface);
  edSpecular = MakeNumberEdit("edSpecular", "Specular: 0.0 to 1.0 (not supported in RW 3.0)", "0.0", pnSurface);
  Fill(pnSurface, {edAmbient, edDiffuse, edSpecular});

  cbColor = MakeCheck("cbColor", "Color", g);
  pnColor = MakePanel("pnColor", g);
  lbMaterialRed = MakeLabel("lbMaterialRed", "255", pnColor);
  lbMaterialGreen = MakeLabel("lbMaterialGreen", "255", pnColor);
  lbMaterialBlue = MakeLabel("lbMaterialBlue", "255", pnColor);
  for (QLabel* channel : {lbMaterialRed, lbMaterialGreen, lbMaterialBlue})
    channel->setMinimumWidth(channel->fontMetrics().horizontalAdvance("000") + 2);
  pnMaterialColor = new TznColorSwatch(pnColor);
  pnMaterialColor->setObjectName("pnMaterialColor");
  pnMaterialColor->setFixedSize(40, 16);
  pnMaterialColor->SetColor(0xFFFFFF);
  Fill(pnColor, {MakeLabel("", "R:", pnColor), lbMaterialRed, MakeLabel("", "G:", pnColor), lbMaterialGreen,
                 MakeLabel("", "B:", pnColor), lbMaterialBlue, pnMaterialColor});

  // Opacity and tag share a row.
  cbOpacity = MakeCheck("cbOpacity", "Opacity", g);
  auto* opacity_and_tag = MakePanel("", g);
  edOpacity = MakeNumberEdit("edOpacity", "0.0 (transparent) to 1.0 (opaque)", "1.0", opacity_and_tag);
  cbUseTag = MakeCheck("cbUseTag", "Tag", opacity_and_tag);
  edTag = MakeNumberEdit("edTag", "", "", opacity_and_tag);
  Fill(opacity_and_tag, {edOpacity, cbUseTag, edTag});

  QLabel* Label8 = MakeLabel("Label8", "Comment", g);
  auto* comment = MakePanel("", g);
  QLabel* Label9 = MakeLabel("Label9", "#", comment);
  edComment = MakeEdit("edComment", "", "", comment);
  static_cast<QHBoxLayout*>(comment->layout())->addWidget(Label9);
  static_cast<QHBoxLayout*>(comment->layout())->addWidget(edComment, 1);

  QLabel* Label2 = MakeLabel("Label2", "General settings (see Composer):", g);
  Label2->setAlignment(Qt::AlignCenter);

  cbLightSampling = MakeCheck("cbLightSampling", "Lightsampling", g);
  pnLightsampling = MakeChoicePanel("pnLightsampling", g, rbVertex, "rbVertex", "Vertex", rbFacet, "rbFacet", "Facet");

  cbGeometrysampling = MakeCheck("cbGeometrysampling", "Geometrysampling", g);
  pnGeometrysampling = MakeChoicePanel("pnGeometrysampling", g, rbGSSolid, "rbGSSolid", "Solid", rbGSWireframe,
                                       "rbGSWireframe", "Wireframe");

  cbMaterialmodes = MakeCheck("cbMaterialmodes", "Materialmodes", g);
  pnMaterialmodes =
      MakeChoicePanel("pnMaterialmodes", g, rbMMNull, "rbMMNull", "NULL", rbMMDouble, "rbMMDouble", "Double");

  cbTexturemodes = MakeCheck("cbTexturemodes", "Texturemodes", g);
  pnTexturemodes = MakePanel("pnTexturemodes", g);
  cbTMLit = MakeCheck("cbTMLit", "Lit", pnTexturemodes);
  cbTMLit->setChecked(true);
  cbTMForeshorten = MakeCheck("cbTMForeshorten", "Foreshorten", pnTexturemodes);
  cbTMFilter = MakeCheck("cbTMFilter", "Filter", pnTexturemodes);
  Fill(pnTexturemodes, {cbTMLit, cbTMForeshorten, cbTMFilter});

  // Three columns keep the group narrow: the own properties put their
  // values from the second column on, the sampling and mode choices theirs
  // in the third, past the longer captions; the texture modes row, widest of
  // all, runs on after its caption.
  int row = 0;
  grid->addWidget(lbMaterialName, row++, 0, 1, 3);
  auto add_own = [&](QWidget* left, QWidget* right) {
    grid->addWidget(left, row, 0);
    grid->addWidget(right, row++, 1, 1, 2);
  };
  auto add_general = [&](QWidget* left, QWidget* right) {
    grid->addWidget(left, row, 0, 1, 2);
    grid->addWidget(right, row++, 2);
  };
  add_own(cbUseTexture, edTexture);
  add_own(cbSurface, pnSurface);
  add_own(cbColor, pnColor);
  add_own(cbOpacity, opacity_and_tag);
  add_own(Label8, comment);
  grid->addWidget(Label2, row++, 0, 1, 3);
  add_general(cbLightSampling, pnLightsampling);
  add_general(cbGeometrysampling, pnGeometrysampling);
  add_general(cbMaterialmodes, pnMaterialmodes);
  auto* texture_modes = MakePanel("", g);
  Fill(texture_modes, {cbTexturemodes, pnTexturemodes});
  grid->addWidget(texture_modes, row++, 0, 1, 3);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(2, 1);
  return gbMaterial;
}

QWidget* TznMaterialTab::BuildPreviewColumn() {
  auto* column = new QWidget(this);
  auto* stack = new QVBoxLayout(column);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->setSpacing(4);
  imMaterial = new QLabel(column);
  imMaterial->setObjectName("imMaterial");
  // A thin frame outlines the preview while it is empty; the picture fills
  // the 128 x 128 inside.
  imMaterial->setFrameShape(QFrame::Box);
  imMaterial->setLineWidth(1);
  imMaterial->setFixedSize(kPreviewSize + 2, kPreviewSize + 2);
  imMaterial->setScaledContents(true);
  stack->addWidget(imMaterial);

  QLabel* Label1 = MakeLabel("Label1", "JPG or BMP textures go in the Textures folder.", column);
  QFont small = Label1->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  Label1->setFont(small);
  Label1->setWordWrap(true);
  Label1->setFixedWidth(kPreviewSize + 2);
  stack->addWidget(Label1);
  stack->addStretch(1);
  return column;
}

void TznMaterialTab::ConnectControls() {
  connect(MaterialList, &TznFileListBox::Change, this, &TznMaterialTab::MaterialListChange);
  connect(btEditMaterialCreate, &QToolButton::clicked, this, &TznMaterialTab::btEditMaterialCreateClick);
  connect(btEditMaterialDuplicate, &QToolButton::clicked, this, &TznMaterialTab::btEditMaterialDuplicateClick);
  connect(btEditMaterialEdit, &QToolButton::clicked, this, &TznMaterialTab::btEditMaterialEditClick);
  connect(btEditMaterialAccept, &QToolButton::clicked, this, &TznMaterialTab::btEditMaterialAcceptClick);
  connect(btEditMaterialCancel, &QToolButton::clicked, this, &TznMaterialTab::btEditMaterialCancelClick);
  for (QCheckBox* box : {cbUseTexture, cbSurface, cbColor, cbOpacity, cbUseTag, cbLightSampling, cbGeometrysampling,
                         cbMaterialmodes, cbTexturemodes})
    connect(box, &QCheckBox::clicked, this, &TznMaterialTab::cbMaterialEnableClick);
  connect(pnMaterialColor, &TznColorSwatch::Click, this, &TznMaterialTab::pnMaterialColorClick);
  edTexture->installEventFilter(this);
}

bool TznMaterialTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edTexture) {
    if (event->type() == QEvent::FocusOut) {
      edTextureExit();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      edTextureKeyDown(key == Qt::Key_Return || key == Qt::Key_Enter ? kEnterKey : key);
    }
  }
  return QWidget::eventFilter(watched, event);
}

// --- Start-up and selection ------------------------------------------------

void TznMaterialTab::Start() { FEditor.Start(); }

std::string TznMaterialTab::MaterialName() const { return FEditor.CurrentName(); }

std::string TznMaterialTab::SelectedFileName() const { return FEditor.SelectedFileName(); }

void TznMaterialTab::SelectMaterialFile(const std::string& name) { FEditor.SelectFile(name); }

bool TznMaterialTab::TrySelectMaterialFile(const std::string& name) { return FEditor.TrySelectFile(name); }

void TznMaterialTab::MaterialListChange() { FEditor.ListChange(); }

// --- Material and controls -------------------------------------------------

void TznMaterialTab::MaterialToControls() {
  const TznRWXMaterial& m = FEditor.Current();
  cbUseTexture->setChecked(m.UseTexture());
  edTexture->setText(ToQ(m.Texture()));
  cbSurface->setChecked(m.UseSurface());
  edAmbient->setText(ToQ(FormatCoefficient(m.Ambient())));
  edDiffuse->setText(ToQ(FormatCoefficient(m.Diffuse())));
  edSpecular->setText(ToQ(FormatCoefficient(m.Specular())));
  cbColor->setChecked(m.UseColor());
  ShowColor(m.Color());
  cbOpacity->setChecked(m.UseOpacity());
  edOpacity->setText(ToQ(FormatCoefficient(m.Opacity())));
  cbUseTag->setChecked(m.UseTag());
  edTag->setText(ToQ(FormatInt(m.Tag())));
  edComment->setText(ToQ(m.Comment()));
  cbLightSampling->setChecked(m.UseLightsampling());
  ShowChoice(rbVertex, rbFacet, m.Lightsampling());
  cbGeometrysampling->setChecked(m.UseGeometrysampling());
  ShowChoice(rbGSSolid, rbGSWireframe, m.Geometrysampling());
  cbMaterialmodes->setChecked(m.UseMaterialmodes());
  ShowChoice(rbMMNull, rbMMDouble, m.Materialmodes());
  cbTexturemodes->setChecked(m.UseTexturemodes());
  cbTMLit->setChecked(m.HasTexturemode(tmLit));
  cbTMForeshorten->setChecked(m.HasTexturemode(tmForeshorten));
  cbTMFilter->setChecked(m.HasTexturemode(tmFilter));
  ShowTexturePreview(m.Texture());
  EnableMaterialControls();
}

void TznMaterialTab::ControlsToMaterial() {
  TznRWXMaterial& m = FEditor.Current();
  m.SetUseTexture(cbUseTexture->isChecked());
  m.SetUseOpacity(cbOpacity->isChecked());
  m.SetUseLightsampling(cbLightSampling->isChecked());
  m.SetUseMaterialmodes(cbMaterialmodes->isChecked());
  m.SetUseTexturemodes(cbTexturemodes->isChecked());
  m.SetUseSurface(cbSurface->isChecked());
  m.SetUseColor(cbColor->isChecked());
  m.SetUseGeometrysampling(cbGeometrysampling->isChecked());
  m.SetUseTag(cbUseTag->isChecked());

  m.SetTexture(TrimmedText(edTexture));
  if (auto value = ParseCoefficient(TrimmedText(edAmbient))) m.SetAmbient(*value);
  if (auto value = ParseCoefficient(TrimmedText(edDiffuse))) m.SetDiffuse(*value);
  if (auto value = ParseCoefficient(TrimmedText(edSpecular))) m.SetSpecular(*value);
  m.SetColor(
      ColorFromLabels(FromQ(lbMaterialRed->text()), FromQ(lbMaterialGreen->text()), FromQ(lbMaterialBlue->text())));
  if (auto value = ParseCoefficient(TrimmedText(edOpacity))) m.SetOpacity(*value);
  if (auto value = ParseTag(TrimmedText(edTag))) m.SetTag(*value);
  m.SetComment(TrimmedText(edComment));
  if (auto value = ReadChoice(rbVertex, rbFacet)) m.SetLightsampling(static_cast<TznLightsampling>(*value));
  if (auto value = ReadChoice(rbGSSolid, rbGSWireframe))
    m.SetGeometrysampling(static_cast<TznGeometrysampling>(*value));
  if (auto value = ReadChoice(rbMMNull, rbMMDouble)) m.SetMaterialmodes(static_cast<TznMaterialmodes>(*value));
  TznTexturemodes modes = 0;
  if (cbTMLit->isChecked()) modes |= tmLit;
  if (cbTMForeshorten->isChecked()) modes |= tmForeshorten;
  if (cbTMFilter->isChecked()) modes |= tmFilter;
  m.SetTexturemodes(modes);
  MaterialToControls();
}

void TznMaterialTab::ShowColor(TColor color) {
  lbMaterialRed->setText(ToQ(FormatInt(ColorRed(color))));
  lbMaterialGreen->setText(ToQ(FormatInt(ColorGreen(color))));
  lbMaterialBlue->setText(ToQ(FormatInt(ColorBlue(color))));
  pnMaterialColor->SetColor(color);
}

void TznMaterialTab::EnableMaterialControls() {
  edTexture->setEnabled(cbUseTexture->isChecked());
  edOpacity->setEnabled(cbOpacity->isChecked());
  pnLightsampling->setEnabled(cbLightSampling->isChecked());
  pnMaterialmodes->setEnabled(cbMaterialmodes->isChecked());
  pnTexturemodes->setEnabled(cbTexturemodes->isChecked());
  pnSurface->setEnabled(cbSurface->isChecked());
  pnColor->setEnabled(cbColor->isChecked());
  pnGeometrysampling->setEnabled(cbGeometrysampling->isChecked());
  edTag->setEnabled(cbUseTag->isChecked());
  edComment->setEnabled(true);
}

void TznMaterialTab::ShowTexturePreview(const std::string& name) {
  const std::string path = TexturePicturePath(FContext.TexturesDir, name);
  QPixmap picture;
  if (path.empty() || !picture.load(ToQ(path))) {
    imMaterial->clear();
    return;
  }
  imMaterial->setPixmap(picture);
}

// --- Edit state machine ----------------------------------------------------

void TznMaterialTab::SetMaterialEditState() { FEditor.SetEditState(); }

void TznMaterialTab::btEditMaterialEditClick() { FEditor.EditClick(); }

void TznMaterialTab::btEditMaterialAcceptClick() { FEditor.AcceptClick(); }

void TznMaterialTab::btEditMaterialCancelClick() { FEditor.CancelClick(); }

void TznMaterialTab::btEditMaterialCreateClick() { FEditor.CreateClick(); }

void TznMaterialTab::btEditMaterialDuplicateClick() { FEditor.DuplicateClick(); }

std::string TznMaterialTab::TextureNameMessage() const {
  // A texture name the RWX files cannot carry is refused before anything
  // changes.
  const std::string problem = TextureNameProblem(TrimmedText(edTexture));
  if (problem.empty()) return {};
  return "The texture name " + problem +
         ". Type the name of a picture in the Textures folder, without folder or extension.";
}

// --- Switches, colour and texture ------------------------------------------

void TznMaterialTab::cbMaterialEnableClick() { EnableMaterialControls(); }

void TznMaterialTab::pnMaterialColorClick() {
  if (!pnMaterialColor->isEnabled()) return;  // only while editing with "Color" on
  const TColor start =
      ColorFromLabels(FromQ(lbMaterialRed->text()), FromQ(lbMaterialGreen->text()), FromQ(lbMaterialBlue->text()));
  if (std::optional<TColor> chosen = FContext.Prompts->PickColor(start)) ShowColor(*chosen);
}

void TznMaterialTab::edTextureExit() { ShowTexturePreview(TrimmedText(edTexture)); }

void TznMaterialTab::edTextureKeyDown(int key) {
  if (key == kEnterKey) ShowTexturePreview(TrimmedText(edTexture));
}
