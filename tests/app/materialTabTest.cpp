#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/znMaterialControls.h"
#include "app/znMaterialTab.h"
#include "appTest.h"
#include "support/testFiles.h"

namespace {

using test::Find;

class MaterialTab : public test::AppTest {
 protected:
  void WriteMaterial(const std::string& name, const std::function<void(TznRWXMaterial&)>& change = {}) {
    TznRWXMaterial material;
    if (change) change(material);
    material.SaveToFile(Settings(name));
  }
  TznRWXMaterial ReadMaterial(const std::string& name) {
    TznRWXMaterial material;
    material.LoadFromFile(Settings(name));
    return material;
  }

  TznMaterialTab& Start() {
    tab_ = std::make_unique<TznMaterialTab>(context_);
    tab_->resize(590, 290);
    tab_->show();
    tab_->Start();
    return *tab_;
  }

  template <typename T = QWidget>
  T* W(const char* name) {
    return Find<T>(*tab_, name);
  }
  void Click(const char* button) { QTest::mouseClick(W<QToolButton>(button), Qt::LeftButton); }
  // Clicks the box's indicator, as the user would.
  void Tick(const char* box) {
    QWidget* widget = W(box);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
  }
  // Replaces the edit's text by typing, which only an enabled edit takes.
  void Type(const char* edit, const QString& text) {
    QLineEdit* line = W<QLineEdit>(edit);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClicks(line, text);
  }
  std::string Text(const char* name) {
    if (auto* edit = tab_->findChild<QLineEdit*>(name)) return edit->text().toStdString();
    return W<QLabel>(name)->text().toStdString();
  }
  size_t SettingsFileCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(home_ / "Settings"), {}));
  }

  std::unique_ptr<TznMaterialTab> tab_;
};

// --- Start-up and the state machine ----------------------------------------

TEST_F(MaterialTab, StartWritesTheStandardMaterialAndLoadsIt) {
  TznMaterialTab& tab = Start();
  ASSERT_TRUE(std::filesystem::exists(Settings("Standard.MTR")));
  const TznRWXMaterial written = ReadMaterial("Standard.MTR");
  EXPECT_EQ(written.Color(), 0x808080u);
  EXPECT_FLOAT_EQ(written.Ambient(), 0.6f);
  EXPECT_EQ(tab.SelectedFileName(), "Standard.MTR");
  EXPECT_EQ(tab.MaterialName(), "Standard.MTR");
  EXPECT_EQ(Text("edAmbient"), "0.600000");
  EXPECT_EQ(Text("lbMaterialRed"), "128");
  EXPECT_FALSE(tab.MaterialEditing());
  EXPECT_EQ(composer_updates_, 0);
}

TEST_F(MaterialTab, StartKeepsAnExistingStandardAndSelectsTheFirstEntry) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) { m.SetRed(10); });
  WriteMaterial("alpine.MTR", [](TznRWXMaterial& m) { m.SetRed(20); });
  test::WriteFile(Settings("notes.txt"), "not a material");
  const std::string standard = test::ReadFile(Settings("Standard.MTR"));
  TznMaterialTab& tab = Start();
  EXPECT_EQ(test::ReadFile(Settings("Standard.MTR")), standard);
  EXPECT_EQ(W<QListWidget>("MaterialList")->count(), 2);
  EXPECT_EQ(tab.SelectedFileName(), "alpine.MTR");
  EXPECT_EQ(tab.CurrentMaterial().Red(), 20);
  EXPECT_EQ(Text("lbMaterialRed"), "20");
}

TEST_F(MaterialTab, EditAcceptAndCancelSwitchTheEnabling) {
  TznMaterialTab& tab = Start();
  auto expect_state = [&](bool editing) {
    EXPECT_EQ(tab.MaterialEditing(), editing);
    EXPECT_EQ(W("MaterialList")->isEnabled(), !editing);
    EXPECT_EQ(W("gbMaterial")->isEnabled(), editing);
    for (const char* name : {"btEditMaterialEdit", "btEditMaterialCreate", "btEditMaterialDuplicate"})
      EXPECT_EQ(W(name)->isEnabled(), !editing) << name;
    for (const char* name : {"btEditMaterialAccept", "btEditMaterialCancel"})
      EXPECT_EQ(W(name)->isEnabled(), editing) << name;
  };
  expect_state(false);
  tab.btEditMaterialAcceptClick();  // not in browse state
  tab.btEditMaterialCancelClick();
  EXPECT_EQ(composer_updates_, 0);
  expect_state(false);
  Click("btEditMaterialEdit");
  expect_state(true);
  tab.btEditMaterialEditClick();
  tab.btEditMaterialCreateClick();  // not in edit state
  EXPECT_TRUE(prompts_.InputCaptions.empty());
  Click("btEditMaterialCancel");
  expect_state(false);
  Click("btEditMaterialEdit");
  Click("btEditMaterialAccept");
  expect_state(false);
  EXPECT_EQ(composer_updates_, 1);
}

TEST_F(MaterialTab, EachSwitchEnablesItsValues) {
  Start();
  Click("btEditMaterialEdit");
  const std::pair<const char*, const char*> pairs[] = {
      {"cbUseTexture", "edTexture"},
      {"cbOpacity", "edOpacity"},
      {"cbLightSampling", "rbFacet"},
      {"cbMaterialmodes", "rbMMDouble"},
      {"cbTexturemodes", "cbTMFilter"},
      {"cbSurface", "edSpecular"},
      {"cbColor", "lbMaterialBlue"},
      {"cbGeometrysampling", "rbGSWireframe"},
      {"cbUseTag", "edTag"},
  };
  for (auto [box, value] : pairs) {
    EXPECT_FALSE(W(value)->isEnabled()) << value;
    Tick(box);
    EXPECT_TRUE(W(value)->isEnabled()) << value;
  }
  EXPECT_TRUE(W("edComment")->isEnabled());
  Tick("cbSurface");
  EXPECT_FALSE(W("edAmbient")->isEnabled());
}

// --- Controls and material both ways ---------------------------------------

TEST_F(MaterialTab, OpacityTypedAboveOneIsStoredAndShownClamped) {
  TznMaterialTab& tab = Start();
  Click("btEditMaterialEdit");
  Tick("cbOpacity");
  Type("edOpacity", "1.5");
  Click("btEditMaterialAccept");
  EXPECT_EQ(Text("edOpacity"), "1.000000");
  EXPECT_EQ(tab.CurrentMaterial().Opacity(), 1.0f);
  EXPECT_TRUE(ReadMaterial("Standard.MTR").UseOpacity());
  EXPECT_EQ(ReadMaterial("Standard.MTR").Opacity(), 1.0f);
}

TEST_F(MaterialTab, NumbersThatDoNotParseKeepTheStoredValues) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) {
    m.SetAmbient(0.25);
    m.SetTag(7);
  });
  TznMaterialTab& tab = Start();
  Click("btEditMaterialEdit");
  Tick("cbSurface");
  Tick("cbUseTag");
  Type("edAmbient", "abc");
  Type("edDiffuse", " 0.5 ");
  Type("edSpecular", "-0.2");
  Type("edTag", "12x");
  Click("btEditMaterialAccept");
  EXPECT_EQ(Text("edAmbient"), "0.250000");
  EXPECT_EQ(Text("edDiffuse"), "0.500000");
  EXPECT_EQ(Text("edSpecular"), "0.000000");
  EXPECT_EQ(Text("edTag"), "7");
  EXPECT_FLOAT_EQ(tab.CurrentMaterial().Ambient(), 0.25f);
  EXPECT_FLOAT_EQ(ReadMaterial("Standard.MTR").Diffuse(), 0.5f);

  Click("btEditMaterialEdit");
  Type("edTag", "-3");
  Click("btEditMaterialAccept");
  EXPECT_EQ(ReadMaterial("Standard.MTR").Tag(), -3);
}

TEST_F(MaterialTab, EveryPropertyIsShownAndWrittenBackUnchanged) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) {
    m.SetUseTexture(true);
    m.SetTexture("grass");
    m.SetUseColor(true);
    m.SetColor(RGBToColor(10, 20, 30));
    m.SetUseLightsampling(true);
    m.SetLightsampling(lsFacet);
    m.SetGeometrysampling(gsWireframe);
    m.SetUseMaterialmodes(true);
    m.SetMaterialmodes(mmDouble);
    m.SetUseTexturemodes(true);
    m.SetTexturemodes(tmForeshorten | tmFilter);
    m.SetUseTag(true);
    m.SetTag(42);
    m.SetComment("rock");
  });
  const std::string before = test::ReadFile(Settings("Standard.MTR"));
  Start();
  EXPECT_EQ(Text("edTexture"), "grass");
  EXPECT_TRUE(W<QCheckBox>("cbColor")->isChecked());
  EXPECT_TRUE(W<QRadioButton>("rbFacet")->isChecked());
  EXPECT_FALSE(W<QRadioButton>("rbVertex")->isChecked());
  EXPECT_FALSE(W<QCheckBox>("cbGeometrysampling")->isChecked());
  EXPECT_TRUE(W<QRadioButton>("rbGSWireframe")->isChecked());
  EXPECT_TRUE(W<QRadioButton>("rbMMDouble")->isChecked());
  EXPECT_FALSE(W<QCheckBox>("cbTMLit")->isChecked());
  EXPECT_TRUE(W<QCheckBox>("cbTMForeshorten")->isChecked());
  EXPECT_TRUE(W<QCheckBox>("cbTMFilter")->isChecked());
  EXPECT_EQ(Text("edTag"), "42");
  EXPECT_EQ(Text("edComment"), "rock");

  Click("btEditMaterialEdit");
  Click("btEditMaterialAccept");
  EXPECT_EQ(test::ReadFile(Settings("Standard.MTR")), before);
}

TEST_F(MaterialTab, CancelDropsTheEdits) {
  TznMaterialTab& tab = Start();
  const std::string before = test::ReadFile(Settings("Standard.MTR"));
  Click("btEditMaterialEdit");
  Tick("cbUseTexture");
  Type("edTexture", "sand");
  Type("edComment", "dunes");
  Click("btEditMaterialCancel");
  EXPECT_FALSE(W<QCheckBox>("cbUseTexture")->isChecked());
  EXPECT_EQ(Text("edTexture"), "");
  EXPECT_EQ(Text("edComment"), "");
  EXPECT_EQ(tab.CurrentMaterial().Texture(), "");
  EXPECT_EQ(test::ReadFile(Settings("Standard.MTR")), before);
  EXPECT_EQ(composer_updates_, 0);
}

TEST_F(MaterialTab, AcceptOnADeletedFileWritesNothingUpdatesAndSaysSo) {
  TznMaterialTab& tab = Start();
  Click("btEditMaterialEdit");
  std::filesystem::remove(Settings("Standard.MTR"));
  Tick("cbOpacity");
  Type("edOpacity", "0.5");
  Click("btEditMaterialAccept");
  EXPECT_FALSE(std::filesystem::exists(Settings("Standard.MTR")));
  EXPECT_FLOAT_EQ(tab.CurrentMaterial().Opacity(), 0.5f);
  EXPECT_TRUE(tab.CurrentMaterial().UseOpacity());
  EXPECT_EQ(composer_updates_, 1);
  EXPECT_EQ(prompts_.Messages,
            std::vector<std::string>{"The material file Standard.MTR is not in the Settings folder, so nothing was "
                                     "written. \"duplicate\" saves the material under a new name."});
}

// --- Colour ----------------------------------------------------------------

TEST_F(MaterialTab, ColorRowShowsTheChannelsAndPicksThroughTheDialog) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) { m.SetColor(RGBToColor(10, 20, 30)); });
  TznMaterialTab& tab = Start();
  std::vector<std::string> row;
  QLayout* layout = W("pnColor")->layout();
  for (int i = 0; i < layout->count(); ++i)
    if (auto* label = qobject_cast<QLabel*>(layout->itemAt(i)->widget())) row.push_back(label->text().toStdString());
  EXPECT_EQ(row, (std::vector<std::string>{"R:", "10", "G:", "20", "B:", "30"}));
  EXPECT_EQ(W<TznColorSwatch>("pnMaterialColor")->Color(), RGBToColor(10, 20, 30));

  // Browsing, or editing with "Color" off, the swatch takes no click.
  QTest::mouseClick(W("pnMaterialColor"), Qt::LeftButton);
  Click("btEditMaterialEdit");
  QTest::mouseClick(W("pnMaterialColor"), Qt::LeftButton);
  EXPECT_TRUE(prompts_.ColorStarts.empty());

  Tick("cbColor");
  prompts_.ColorAnswers.push_back(RGBToColor(1, 2, 3));
  QTest::mouseClick(W("pnMaterialColor"), Qt::LeftButton);
  ASSERT_EQ(prompts_.ColorStarts.size(), 1u);
  EXPECT_EQ(prompts_.ColorStarts[0], RGBToColor(10, 20, 30));
  EXPECT_EQ(Text("lbMaterialRed") + Text("lbMaterialGreen") + Text("lbMaterialBlue"), "123");
  EXPECT_EQ(tab.CurrentMaterial().Color(), RGBToColor(10, 20, 30));  // until accepted

  QTest::mouseClick(W("pnMaterialColor"), Qt::LeftButton);  // cancelled: nothing changes
  EXPECT_EQ(Text("lbMaterialRed"), "1");
  Click("btEditMaterialAccept");
  EXPECT_EQ(tab.CurrentMaterial().Color(), 0x030201u);
  EXPECT_EQ(ReadMaterial("Standard.MTR").Color(), 0x030201u);
}

TEST(MaterialControls, ColorLabelsReadAsClampedChannels) {
  EXPECT_EQ(ColorLabelValue(" 7 "), 7);
  EXPECT_EQ(ColorLabelValue("abc"), 255);
  EXPECT_EQ(ColorLabelValue(""), 255);
  EXPECT_EQ(ColorLabelValue("300"), 255);
  EXPECT_EQ(ColorLabelValue("-4"), 0);
  EXPECT_EQ(ColorFromLabels("1", "x", "3"), 0x03FF01u);
}

// --- Create and duplicate --------------------------------------------------

TEST_F(MaterialTab, CreateWritesDefaultsAndSelectsTheNewFile) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) { m.SetRed(10); });
  TznMaterialTab& tab = Start();
  prompts_.InputAnswers.push_back("grass");
  Click("btEditMaterialCreate");
  EXPECT_EQ(prompts_.InputCaptions, (std::vector<std::string>{"Create new Material|Input filename (no extension)|"}));
  EXPECT_TRUE(prompts_.Questions.empty());
  EXPECT_EQ(ReadMaterial("grass.MTR").Red(), 128);
  EXPECT_EQ(tab.SelectedFileName(), "grass.MTR");
  EXPECT_EQ(tab.MaterialName(), "grass.MTR");
  EXPECT_EQ(tab.CurrentMaterial().Red(), 128);
  EXPECT_FALSE(tab.MaterialEditing());
  EXPECT_EQ(composer_updates_, 1);
}

TEST_F(MaterialTab, CreateOverAnExistingFileAsksFirst) {
  WriteMaterial("Standard.MTR");
  WriteMaterial("rock.MTR", [](TznRWXMaterial& m) { m.SetRed(10); });
  TznMaterialTab& tab = Start();
  ASSERT_EQ(tab.SelectedFileName(), "rock.MTR");
  tab.SelectMaterialFile("Standard.MTR");
  const std::string rock = test::ReadFile(Settings("rock.MTR"));

  prompts_.InputAnswers.push_back("rock");
  prompts_.YesNoAnswers.push_back(false);
  Click("btEditMaterialCreate");
  EXPECT_EQ(prompts_.Questions, (std::vector<std::string>{"File already exist. Ovewrite?"}));
  EXPECT_EQ(test::ReadFile(Settings("rock.MTR")), rock);
  EXPECT_EQ(tab.SelectedFileName(), "Standard.MTR");
  EXPECT_EQ(composer_updates_, 1);

  prompts_.InputAnswers.push_back("rock");
  prompts_.YesNoAnswers.push_back(true);
  Click("btEditMaterialCreate");
  EXPECT_EQ(ReadMaterial("rock.MTR").Red(), 128);
  EXPECT_EQ(tab.SelectedFileName(), "rock.MTR");
  EXPECT_EQ(tab.CurrentMaterial().Red(), 128);
  EXPECT_EQ(composer_updates_, 2);
}

// Names differing only in case are different files here: the new file is
// the one selected, not a look-alike sorted before it.
TEST_F(MaterialTab, CreateSelectsTheNewFileAmongCaseLookAlikes) {
  WriteMaterial("Grass.MTR", [](TznRWXMaterial& m) { m.SetRed(200); });
  TznMaterialTab& tab = Start();
  prompts_.InputAnswers.push_back("grass");
  Click("btEditMaterialCreate");
  EXPECT_TRUE(prompts_.Questions.empty());
  EXPECT_EQ(ReadMaterial("Grass.MTR").Red(), 200);
  EXPECT_EQ(tab.SelectedFileName(), "grass.MTR");
  EXPECT_EQ(tab.CurrentMaterial().Red(), 128);
}

TEST_F(MaterialTab, RefusedOrCancelledNamesWriteNothing) {
  Start();
  const size_t files = SettingsFileCount();
  for (const char* name : {"../x", "a/b", "  "}) prompts_.InputAnswers.push_back(name);
  prompts_.InputAnswers.push_back(std::nullopt);
  for (int i = 0; i < 4; ++i) Click("btEditMaterialCreate");
  EXPECT_EQ(SettingsFileCount(), files);
  EXPECT_FALSE(std::filesystem::exists(home_ / "x.MTR"));
  EXPECT_EQ(prompts_.Messages.size(), 3u);
  EXPECT_EQ(composer_updates_, 4);
  EXPECT_EQ(tab_->SelectedFileName(), "Standard.MTR");
}

TEST_F(MaterialTab, DuplicateCopiesTheCurrentMaterial) {
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) {
    m.SetRed(50);
    m.SetComment("stone");
  });
  TznMaterialTab& tab = Start();
  prompts_.InputAnswers.push_back("copy");
  Click("btEditMaterialDuplicate");
  EXPECT_EQ(prompts_.InputCaptions, (std::vector<std::string>{"Duplicate Material|Input filename (no extension)|"}));
  EXPECT_EQ(ReadMaterial("copy.MTR").Red(), 50);
  EXPECT_EQ(ReadMaterial("copy.MTR").Comment(), "stone");
  EXPECT_EQ(tab.SelectedFileName(), "copy.MTR");
  EXPECT_EQ(composer_updates_, 1);
}

// --- Selection from other tabs ---------------------------------------------

TEST_F(MaterialTab, SelectMaterialFileLoadsOrSaysItIsMissing) {
  WriteMaterial("Standard.MTR");
  WriteMaterial("Rock.MTR", [](TznRWXMaterial& m) { m.SetRed(1); });
  WriteMaterial("rock.MTR", [](TznRWXMaterial& m) { m.SetRed(2); });
  TznMaterialTab& tab = Start();
  tab.SelectMaterialFile("rock.MTR");
  EXPECT_EQ(tab.SelectedFileName(), "rock.MTR");
  EXPECT_EQ(tab.CurrentMaterial().Red(), 2);
  EXPECT_TRUE(prompts_.Messages.empty());
  // A name that only differs in case names no file here, as it names none
  // for the composer that is built from the same rows.
  tab.SelectMaterialFile("STANDARD.mtr");
  tab.SelectMaterialFile("sand.MTR");
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"Material file not found!", "Material file not found!"}));
  EXPECT_EQ(tab.MaterialName(), "rock.MTR");
  EXPECT_EQ(composer_updates_, 0);
}

// --- Texture preview -------------------------------------------------------

TEST_F(MaterialTab, PreviewPrefersJpgThenBmpElseEmpty) {
  auto picture = [](Qt::GlobalColor color) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(color);
    return image;
  };
  ASSERT_TRUE(picture(Qt::red).save(QString::fromStdString(Textures("grass.jpg"))));
  ASSERT_TRUE(picture(Qt::blue).save(QString::fromStdString(Textures("grass.bmp"))));
  ASSERT_TRUE(picture(Qt::green).save(QString::fromStdString(Textures("moss.bmp"))));
  test::WriteFile(Textures("broken.jpg"), "not a picture");
  WriteMaterial("Standard.MTR", [](TznRWXMaterial& m) { m.SetTexture("grass"); });
  Start();
  auto shown = [&]() -> QColor {
    const QPixmap pixmap = W<QLabel>("imMaterial")->pixmap();
    return pixmap.isNull() ? QColor() : pixmap.toImage().pixelColor(4, 4);
  };
  EXPECT_GT(shown().red(), 200);
  EXPECT_LT(shown().blue(), 60);

  Click("btEditMaterialEdit");
  Tick("cbUseTexture");
  Type("edTexture", " moss ");
  QTest::keyClick(W("edTexture"), Qt::Key_Return);
  EXPECT_EQ(shown(), QColor(Qt::green));

  std::filesystem::remove(Textures("grass.jpg"));
  Type("edTexture", "grass");
  QFocusEvent leave(QEvent::FocusOut);
  QApplication::sendEvent(W("edTexture"), &leave);
  EXPECT_EQ(shown(), QColor(Qt::blue));

  for (const char* name : {"broken", "none", ""}) {
    Type("edTexture", name);
    QTest::keyClick(W("edTexture"), Qt::Key_Return);
    EXPECT_FALSE(shown().isValid()) << name;
  }
}

}  // namespace
