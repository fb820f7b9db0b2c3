// The Material, Filter and Composer tabs used as a person uses them: mouse
// clicks on list entries, buttons, tabs and menu entries, typing into the
// boxes, then a look at the files on disk and at the settings file after
// the exit.
#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/untComposeSelect.h"
#include "app/untKalvor.h"
#include "app/znFileListBox.h"
#include "app/znFilterTab.h"
#include "app/znMaterialTab.h"
#include "appTest.h"
#include "base/znIniFile.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXFaceFilter.h"
#include "rwx/znRWXMaterial.h"
#include "support/testFiles.h"

namespace {

namespace fs = std::filesystem;

class UserPath : public test::AppTest {
 protected:
  void Start() {
    folders_ = HomeFolders();
    window_ = std::make_unique<TfrmKalvor>(folders_, &prompts_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  // The files put into the Settings folder, then the window started on the
  // tab.
  void StartOn(const QString& tab, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, text] : files) test::WriteFile(Settings(name), text);
    Start();
    OpenTab(tab);
  }
  // The window's close box, answered Yes.
  void Exit() {
    prompts_.YesNoAnswers.push_back(true);
    ASSERT_TRUE(window_->close());
  }
  std::string IniValue(const char* key) { return TznIniFile(folders_.IniFileName).ReadString("Settings", key, "?"); }

  template <typename T = QWidget>
  T* W(const char* name) {
    return test::Find<T>(*window_, name);
  }
  std::string Label(const char* name) { return W<QLabel>(name)->text().toStdString(); }

  void OpenTab(const QString& title) {
    QTabBar* bar = window_->PageControl1->tabBar();
    for (int i = 0; i < bar->count(); ++i)
      if (bar->tabText(i) == title) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    ASSERT_EQ(window_->PageControl1->tabText(window_->PageControl1->currentIndex()), title);
  }
  static void Press(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); }
  void Press(const char* button) { Press(W(button)); }
  // A check box's indicator.
  void Tick(const char* box) {
    QWidget* widget = W(box);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
  }
  // Clicks into the box, selects what it holds, types over it and ends
  // with the key given: Enter, or Tab to leave the box.
  void Type(const char* edit, const QString& text, Qt::Key end = Qt::Key_Return) {
    auto* box = W<QLineEdit>(edit);
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, end);
  }

  static QPoint EntryCentre(QListWidget& list, const QString& name) {
    const QList<QListWidgetItem*> found = list.findItems(name, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << name.toStdString();
    if (found.isEmpty()) return {};
    list.scrollToItem(found.first());
    return list.visualItemRect(found.first()).center();
  }
  static void ClickEntry(QListWidget& list, const QString& name) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, EntryCentre(list, name));
  }
  // What the window system sends for a double click: press and release,
  // then the second press as a double click, and its release.
  static void DoubleClickEntry(QListWidget& list, const QString& name) {
    const QPoint at = EntryCentre(list, name);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
  }
  void ClickEntry(const char* list, const QString& name) { ClickEntry(*W<QListWidget>(list), name); }
  void DoubleClickEntry(const char* list, const QString& name) { DoubleClickEntry(*W<QListWidget>(list), name); }

  // A right click on a row of the composer list (or below the rows for
  // -1), then the window system's context menu request.
  void RightClickRow(int row) {
    auto* list = W<QTreeWidget>("ComposerList");
    QWidget* area = list->viewport();
    const QPoint at =
        row >= 0 ? list->visualItemRect(list->topLevelItem(row)).center() : QPoint(20, area->height() - 4);
    QTest::mouseClick(area, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
    QApplication::sendEvent(area, &request);
  }
  // Clicks the entry of the open popup menu.
  void Choose(const char* menu_name, const char* entry) {
    auto* menu = W<QMenu>(menu_name);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    auto* action = menu->findChild<QAction*>(entry);
    ASSERT_NE(action, nullptr) << entry;
    ASSERT_TRUE(action->isEnabled()) << entry;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    EXPECT_FALSE(menu->isVisible());
  }
  void RowMenu(int row, const char* entry) {
    RightClickRow(row);
    Choose("puCompose", entry);
  }
  // What the user does in the composer selection dialog once it is up.
  void WhenSelectDialogOpens(std::function<void(TfrmComposeSelect&)> user) {
    QTimer::singleShot(0, [user] {
      auto* dialog = qobject_cast<TfrmComposeSelect*>(QApplication::activeModalWidget());
      if (!dialog) {
        ADD_FAILURE() << "the composer selection dialog is not up";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        return;
      }
      EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
      user(*dialog);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the composer selection dialog stayed open";
        dialog->reject();
      }
    });
  }

  static std::vector<std::string> StoredRows(const TznComposerFile& data) {
    std::vector<std::string> rows;
    for (const TznComposerRow& row : data.Rows) rows.push_back(row.Filter + "|" + row.Material);
    return rows;
  }
  TznComposerFile StoredComposer(const std::string& name) { return ReadComposerFile(Settings(name)); }
  TznRWXMaterial StoredMaterial(const std::string& name) {
    TznRWXMaterial material;
    material.LoadFromFile(Settings(name));
    return material;
  }
  TznRWXFaceFilter StoredFilter(const std::string& name) {
    TznRWXFaceFilter filter;
    filter.LoadFromFile(Settings(name));
    return filter;
  }

  TznAppFolders folders_;
  std::unique_ptr<TfrmKalvor> window_;
};

TEST_F(UserPath, AUserEditsWaterMtrByMouse) {
  const std::string sand = "[Material]\nComment=dry\n";
  StartOn("Material", {{"Sand.MTR", sand}, {"Water.MTR", "[Material]\nComment=wet\n"}});
  EXPECT_EQ(Label("lbMaterialName"), "Sand.MTR");  // the first entry

  // One click loads the entry: the edit goes to Water.MTR, never to Sand.MTR.
  ClickEntry("MaterialList", "Water.MTR");
  EXPECT_EQ(Label("lbMaterialName"), "Water.MTR");
  EXPECT_EQ(W<QLineEdit>("edComment")->text(), "wet");
  Press("btEditMaterialEdit");
  Type("edComment", "deep lake");
  Press("btEditMaterialAccept");
  EXPECT_EQ(StoredMaterial("Water.MTR").Comment(), "deep lake");
  EXPECT_EQ(test::ReadFile(Settings("Sand.MTR")), sand);

  // A double click and the arrow keys load as well.
  DoubleClickEntry("MaterialList", "Sand.MTR");
  EXPECT_EQ(Label("lbMaterialName"), "Sand.MTR");
  EXPECT_EQ(W<QLineEdit>("edComment")->text(), "dry");
  QTest::keyClick(W("MaterialList"), Qt::Key_Down);
  EXPECT_EQ(Label("lbMaterialName"), "Standard.MTR");

  // A texture name the RWX files cannot carry is refused and changes
  // nothing; the editor stays in its edit state until a usable one.
  ClickEntry("MaterialList", "Water.MTR");
  const std::string water = test::ReadFile(Settings("Water.MTR"));
  Press("btEditMaterialEdit");
  Tick("cbUseTexture");
  for (const char* unusable : {"my grass", "../grass", "/tmp/grass", "sub\\grass"}) {
    Type("edTexture", unusable);
    Press("btEditMaterialAccept");
    EXPECT_TRUE(window_->MaterialEditing()) << unusable;
  }
  ASSERT_EQ(prompts_.Messages.size(), 4u);
  EXPECT_EQ(prompts_.Messages[0],
            "The texture name holds a blank or a control character. Type the name of a picture in the Textures "
            "folder, without folder or extension.");
  EXPECT_EQ(test::ReadFile(Settings("Water.MTR")), water);
  EXPECT_EQ(window_->CurrentMaterial().Texture(), "");
  Type("edTexture", "grass", Qt::Key_Tab);
  Press("btEditMaterialAccept");
  EXPECT_FALSE(window_->MaterialEditing());
  EXPECT_EQ(StoredMaterial("Water.MTR").Texture(), "grass");
  EXPECT_TRUE(StoredMaterial("Water.MTR").UseTexture());

  // Blanks around a typed name are dropped before the file is made, so
  // "accept" finds and writes it.
  prompts_.InputAnswers.push_back(" Pad ");
  Press("btEditMaterialCreate");
  EXPECT_FALSE(fs::exists(Settings(" Pad .MTR")));
  EXPECT_EQ(Label("lbMaterialName"), "Pad.MTR");
  EXPECT_EQ(window_->tbMaterial->SelectedFileName(), "Pad.MTR");
  Press("btEditMaterialEdit");
  Type("edComment", "helipad");
  Press("btEditMaterialAccept");
  EXPECT_EQ(StoredMaterial("Pad.MTR").Comment(), "helipad");

  ClickEntry("MaterialList", "Water.MTR");
  prompts_.InputAnswers.push_back("Lake ");
  Press("btEditMaterialDuplicate");
  EXPECT_EQ(StoredMaterial("Lake.MTR").Comment(), "deep lake");
  EXPECT_EQ(StoredMaterial("Lake.MTR").Texture(), "grass");
  EXPECT_EQ(prompts_.Messages.size(), 4u);

  // A very long name is shortened on the tab; the window keeps its width.
  const int width = window_->width();
  const std::string long_name(148, 'w');
  prompts_.InputAnswers.push_back(long_name);
  Press("btEditMaterialCreate");
  QApplication::processEvents();
  EXPECT_EQ(Label("lbMaterialName"), long_name + ".MTR");
  EXPECT_EQ(window_->width(), width);
  EXPECT_LE(window_->minimumSizeHint().width(), width);

  ClickEntry("MaterialList", "Water.MTR");
  // Ctrl+click on the selected entry leaves it selected, as the tab shows it.
  auto* list = W<QListWidget>("MaterialList");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, EntryCentre(*list, "Water.MTR"));
  EXPECT_EQ(window_->tbMaterial->SelectedFileName(), "Water.MTR");
  Exit();
  EXPECT_EQ(IniValue("MaterialFile"), "Water.MTR");
}

TEST_F(UserPath, AUserEditsRockFtrByMouse) {
  const std::string gravel = "[Filter]\nUseLow=1\nLow=3\n";
  StartOn("Filter", {{"Gravel.FTR", gravel}, {"Rock.FTR", "[Filter]\nUseLow=1\nLow=40\n"}});
  EXPECT_EQ(Label("lbFilterName"), "Gravel.FTR");

  ClickEntry("FilterList", "Rock.FTR");
  EXPECT_EQ(Label("lbFilterName"), "Rock.FTR");
  EXPECT_EQ(W<QLineEdit>("edFilterLow")->text(), "40.00");
  Press("btFilterEdit");
  Tick("cbFilterHigh");
  Type("edFilterHigh", "120.5", Qt::Key_Tab);
  Tick("cbFilterNorth");
  Type("edFilterNorth", "2.5s");  // 2.5 units of 10 m south: -25 m
  Press("btFilterAccept");
  const TznRWXFaceFilter rock = StoredFilter("Rock.FTR");
  EXPECT_TRUE(rock.UseHigh());
  EXPECT_FLOAT_EQ(rock.High(), 120.5f);
  EXPECT_TRUE(rock.UseNorth());
  EXPECT_FLOAT_EQ(rock.North(), -25.0f);
  EXPECT_EQ(W<QLineEdit>("edFilterNorth")->text(), "2.500s");
  EXPECT_EQ(test::ReadFile(Settings("Gravel.FTR")), gravel);

  DoubleClickEntry("FilterList", "Gravel.FTR");
  EXPECT_EQ(Label("lbFilterName"), "Gravel.FTR");
  EXPECT_EQ(W<QLineEdit>("edFilterLow")->text(), "3.00");

  prompts_.InputAnswers.push_back("  Slope");
  Press("btFilterCreate");
  EXPECT_EQ(Label("lbFilterName"), "Slope.FTR");
  EXPECT_FALSE(StoredFilter("Slope.FTR").UseLow());
  ClickEntry("FilterList", "Rock.FTR");
  prompts_.InputAnswers.push_back("Scree\t");
  Press("btFilterDuplicate");
  EXPECT_FLOAT_EQ(StoredFilter("Scree.FTR").High(), 120.5f);
  EXPECT_EQ(window_->tbFilter->SelectedFileName(), "Scree.FTR");

  // An accept whose file is gone writes nothing and says so.
  Press("btFilterEdit");
  fs::remove(Settings("Scree.FTR"));
  Press("btFilterAccept");
  EXPECT_FALSE(fs::exists(Settings("Scree.FTR")));
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_NE(prompts_.Messages[0].find("nothing was written"), std::string::npos);

  const int width = window_->width();
  prompts_.InputAnswers.push_back(std::string(150, 'f'));
  Press("btFilterCreate");
  QApplication::processEvents();
  EXPECT_EQ(window_->width(), width);

  ClickEntry("FilterList", "Rock.FTR");
  Exit();
  EXPECT_EQ(IniValue("FilterFile"), "Rock.FTR");
}

TEST_F(UserPath, AUserCouplesFiltersAndMaterialsByMouse) {
  // The Filter tab shows Gravel.FTR, the Material tab Sand.MTR.
  StartOn("Composer", {{"Gravel.FTR", "[Filter]\n"},
                       {"Rock.FTR", "[Filter]\n"},
                       {"Sand.MTR", "[Material]\n"},
                       {"Water.MTR", "[Material]\n"}});
  auto stored_rows = [&] { return StoredRows(StoredComposer("Standard.CMP")); };

  RowMenu(-1, "muInsertItem");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"|"}));
  RowMenu(0, "mnuGetBoth");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"Gravel.FTR|Sand.MTR"}));
  RowMenu(0, "muInsertItem");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"|", "Gravel.FTR|Sand.MTR"}));

  OpenTab("Filter");
  ClickEntry("FilterList", "Rock.FTR");
  OpenTab("Material");
  ClickEntry("MaterialList", "Water.MTR");
  OpenTab("Composer");
  RowMenu(0, "mnuGetCurrentFilter");
  RowMenu(0, "mnuGetCurrentMaterial");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"Rock.FTR|Water.MTR", "Gravel.FTR|Sand.MTR"}));
  RowMenu(1, "mnuMoveUp");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"Gravel.FTR|Sand.MTR", "Rock.FTR|Water.MTR"}));
  RowMenu(0, "mnuMakeBothCurrent");
  EXPECT_EQ(Label("lbFilterName"), "Gravel.FTR");
  EXPECT_EQ(Label("lbMaterialName"), "Sand.MTR");
  RowMenu(1, "mnuMakeMaterialCurrent");
  EXPECT_EQ(Label("lbMaterialName"), "Water.MTR");
  RowMenu(1, "mnuMakeFilterCurrent");
  EXPECT_EQ(Label("lbFilterName"), "Rock.FTR");
  RowMenu(0, "mnuMoveDown");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"Rock.FTR|Water.MTR", "Gravel.FTR|Sand.MTR"}));
  prompts_.YesNoAnswers.push_back(true);
  RowMenu(0, "mnuDeleteItem");
  EXPECT_EQ(prompts_.Questions.back(), "Delete this item?");
  EXPECT_EQ(stored_rows(), (std::vector<std::string>{"Gravel.FTR|Sand.MTR"}));

  // The basic material: Water.MTR is the Material tab's current file.
  Press("btBasicMaterial");
  Choose("puBasicMaterial", "mnuGetCurrentMaterial1");
  EXPECT_EQ(StoredComposer("Standard.CMP").BasicMaterial, "Water.MTR");
  OpenTab("Material");
  ClickEntry("MaterialList", "Sand.MTR");
  OpenTab("Composer");
  Press("btBasicMaterial");
  Choose("puBasicMaterial", "mnuMakeBasicMaterialCurrent");
  EXPECT_EQ(Label("lbMaterialName"), "Water.MTR");

  Tick("rbIndividualMaterials");
  EXPECT_EQ(StoredComposer("Standard.CMP").GeneralSettings, 1);
  Type("edCitnum", "318");
  EXPECT_TRUE(prompts_.Messages.empty());
  Exit();
  EXPECT_EQ(IniValue("Citnum"), "318");
  EXPECT_EQ(IniValue("ComposerFile"), "Standard.CMP");
  EXPECT_EQ(IniValue("MaterialFile"), "Water.MTR");
  EXPECT_EQ(IniValue("FilterFile"), "Rock.FTR");
}

TEST_F(UserPath, AUserMakesAndPicksComposersByMouse) {
  TznComposerFile standard;
  standard.Rows = {{"Standard.FTR", "Standard.MTR"}};
  standard.BasicMaterial = "Standard.MTR";
  WriteComposerFile(Settings("Standard.CMP"), standard);
  Start();
  OpenTab("Composer");

  prompts_.InputAnswers.push_back(" Copy ");
  RowMenu(-1, "mnuDuplicateComposer");
  EXPECT_EQ(Label("lbComposerName"), "Copy.CMP");
  EXPECT_EQ(StoredRows(StoredComposer("Copy.CMP")), (std::vector<std::string>{"Standard.FTR|Standard.MTR"}));
  prompts_.InputAnswers.push_back("Empty");
  RowMenu(-1, "mnuCreateComposer");
  EXPECT_EQ(Label("lbComposerName"), "Empty.CMP");
  EXPECT_TRUE(StoredComposer("Empty.CMP").Rows.empty());
  EXPECT_EQ(StoredComposer("Empty.CMP").BasicMaterial, "Standard.MTR");

  // The selection dialog: a click on an entry and "select", then a double
  // click.
  WhenSelectDialogOpens([](TfrmComposeSelect& dialog) {
    ClickEntry(*dialog.FileList(), "Copy.CMP");
    Press(test::Find<QWidget>(dialog, "btAccept"));
  });
  RowMenu(-1, "mnuSelector");
  EXPECT_EQ(Label("lbComposerName"), "Copy.CMP");
  EXPECT_EQ(W<QTreeWidget>("ComposerList")->topLevelItemCount(), 1);
  WhenSelectDialogOpens([](TfrmComposeSelect& dialog) { DoubleClickEntry(*dialog.FileList(), "Empty.CMP"); });
  RowMenu(-1, "mnuSelector");
  EXPECT_EQ(Label("lbComposerName"), "Empty.CMP");
  EXPECT_EQ(W<QTreeWidget>("ComposerList")->topLevelItemCount(), 0);

  const int width = window_->width();
  const std::string long_name(160, 'c');
  prompts_.InputAnswers.push_back(long_name);
  RowMenu(-1, "mnuCreateComposer");
  QApplication::processEvents();
  EXPECT_EQ(Label("lbComposerName"), long_name + ".CMP");
  EXPECT_EQ(window_->width(), width);
  EXPECT_TRUE(prompts_.Messages.empty());
  Exit();
  EXPECT_EQ(IniValue("ComposerFile"), long_name + ".CMP");
}

}  // namespace
