#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/znComposerTab.h"
#include "appTest.h"
#include "base/znIniFile.h"
#include "draw/znComposerTextures.h"
#include "rwx/znComposerFile.h"
#include "support/testFiles.h"

namespace {

// The names the Filter and Material tabs show, and the files the Composer
// tab asked them to select.
struct FakeEditor {
  std::string current;
  std::vector<std::string> selected;

  TznEditorLink Link() {
    return {[this] { return current; }, [this](const std::string& name) { selected.push_back(name); }};
  }
};

class ComposerTab : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    tab_ = std::make_unique<TznComposerTab>(context_, filters_.Link(), materials_.Link());
  }

  // A .CMP file in the Settings folder, written as text.
  void WriteCmp(const std::string& name, const std::string& text) { test::WriteFile(Settings(name), text); }
  void WriteRows(const std::string& name, const std::vector<TznComposerRow>& rows, const std::string& basic = "",
                 int general_settings = 0) {
    TznComposerFile data;
    data.Rows = rows;
    data.BasicMaterial = basic;
    data.GeneralSettings = general_settings;
    WriteComposerFile(Settings(name), data);
  }
  void Load(const std::string& name) { tab_->LoadComposerFile(Settings(name)); }

  QTreeWidget* List() { return test::Find<QTreeWidget>(*tab_, "ComposerList"); }
  QAction* Action(const char* name) { return test::Find<QAction>(*tab_, name); }
  QRadioButton* Choice(const char* name) { return test::Find<QRadioButton>(*tab_, name); }
  QString BasicMaterialName() { return test::Find<QLabel>(*tab_, "lbBasicMaterialName")->text(); }

  // "#|Filter|Material" of each row shown.
  std::vector<std::string> Shown() {
    std::vector<std::string> rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = List()->topLevelItem(i);
      rows.push_back((item->text(0) + "|" + item->text(1) + "|" + item->text(2)).toStdString());
    }
    return rows;
  }
  void Select(int row) {
    List()->setCurrentItem(List()->topLevelItem(row));
    List()->topLevelItem(row)->setSelected(true);
  }
  TznComposerFile Stored(const std::string& name) { return ReadComposerFile(Settings(name)); }

  FakeEditor filters_;
  FakeEditor materials_;
  std::unique_ptr<TznComposerTab> tab_;
};

std::vector<std::string> StoredRows(const TznComposerFile& data) {
  std::vector<std::string> rows;
  for (const TznComposerRow& row : data.Rows) rows.push_back(row.Filter + "|" + row.Material);
  return rows;
}

TEST_F(ComposerTab, StartWritesAnEmptyStandardComposerOnlyWhenMissing) {
  tab_->Start();
  const TznIniFile written(Settings("Standard.CMP"));
  EXPECT_EQ(written.ReadString("Composer", "Items", "?"), "0");
  EXPECT_EQ(written.ReadString("Composer", "Material", "?"), "");
  EXPECT_EQ(written.ReadString("Composer", "GeneralSettings", "?"), "0");
  EXPECT_EQ(tab_->ComposerName(), "Standard.CMP");
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_EQ(composer_updates_, 2);  // after the write and after the load

  const std::string existing =
      "[Composer]\nItems=1\nMaterial=Grass.MTR\nGeneralSettings=1\n"
      "[Item1]\nFilter=Rock.FTR\nMaterial=Rock.MTR\n";
  WriteCmp("Standard.CMP", existing);
  TznComposerTab second(context_, {}, {});
  second.Start();
  EXPECT_EQ(test::ReadFile(Settings("Standard.CMP")), existing);
  EXPECT_EQ(test::Find<QLabel>(second, "lbBasicMaterialName")->text(), "Grass.MTR");
  EXPECT_TRUE(test::Find<QRadioButton>(second, "rbIndividualMaterials")->isChecked());
  EXPECT_EQ(test::Find<QTreeWidget>(second, "ComposerList")->topLevelItemCount(), 1);
}

TEST_F(ComposerTab, LoadingReadsRowsByTheItemCountAndNeverWritesBack) {
  const std::string text =
      "[Composer]\nItems=3\nMaterial= Sand.MTR \nGeneralSettings=7\n"
      "[Item1]\nFilter=Water.FTR\nMaterial=Water.MTR\n"
      "[Item2]\nFilter=Rock.FTR\n";
  WriteCmp("Three.CMP", text);
  Load("Three.CMP");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1|Water.FTR|Water.MTR", "2|Rock.FTR|", "3||"}));
  EXPECT_EQ(BasicMaterialName(), "Sand.MTR");
  EXPECT_EQ(tab_->ComposerName(), "Three.CMP");
  EXPECT_TRUE(Choice("rbIndividualMaterials")->isChecked());
  EXPECT_EQ(test::ReadFile(Settings("Three.CMP")), text);  // the choice was not saved back as 1
  EXPECT_EQ(composer_updates_, 1);

  WriteCmp("Negative.CMP", "[Composer]\nItems=abc\nGeneralSettings=-2\n");
  Load("Negative.CMP");
  EXPECT_TRUE(Choice("rbBasicMaterial")->isChecked());
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_EQ(BasicMaterialName(), "");

  Load("Missing.CMP");  // nothing happens
  EXPECT_EQ(tab_->ComposerName(), "Negative.CMP");
  EXPECT_EQ(composer_updates_, 2);
}

TEST_F(ComposerTab, AFileThatCannotBeReadLeavesTheTabOnItsComposer) {
  WriteRows("Good.CMP", {{"Rock.FTR", "Rock.MTR"}});
  Load("Good.CMP");
  WriteCmp("Huge.CMP", "[Composer]\nItems=999999\n");
  Load("Huge.CMP");
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(tab_->ComposerName(), "Good.CMP");
  EXPECT_EQ(Shown(), std::vector<std::string>{"1|Rock.FTR|Rock.MTR"});
}

TEST_F(ComposerTab, ShrinkingKeepsTheOldSectionsButReadsBackOneRow) {
  WriteRows("Shrink.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}, {"C.FTR", "C.MTR"}});
  Load("Shrink.CMP");
  prompts_.YesNoAnswers = {true, true};
  Select(2);
  tab_->mnuDeleteItemClick();
  Select(0);
  tab_->mnuDeleteItemClick();
  EXPECT_EQ(Shown(), std::vector<std::string>{"1|B.FTR|B.MTR"});

  const TznIniFile written(Settings("Shrink.CMP"));
  EXPECT_EQ(written.ReadInteger("Composer", "Items", -1), 1);
  EXPECT_EQ(written.ReadString("Item1", "Filter", ""), "B.FTR");
  EXPECT_EQ(written.ReadString("Item2", "Filter", ""), "B.FTR");  // left from before, never read
  EXPECT_EQ(written.ReadString("Item3", "Material", ""), "C.MTR");
  EXPECT_EQ(StoredRows(Stored("Shrink.CMP")), std::vector<std::string>{"B.FTR|B.MTR"});
}

TEST_F(ComposerTab, InsertGoesAboveTheSelectionElseOnTop) {
  WriteRows("Two.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}});
  Load("Two.CMP");
  tab_->muInsertItemClick();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1||", "2|A.FTR|A.MTR", "3|B.FTR|B.MTR"}));
  EXPECT_EQ(StoredRows(Stored("Two.CMP")), (std::vector<std::string>{"|", "A.FTR|A.MTR", "B.FTR|B.MTR"}));

  Select(2);
  tab_->muInsertItemClick();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1||", "2|A.FTR|A.MTR", "3||", "4|B.FTR|B.MTR"}));

  WriteCmp("Empty.CMP", "[Composer]\nItems=0\n");
  Load("Empty.CMP");
  tab_->muInsertItemClick();
  EXPECT_EQ(Shown(), std::vector<std::string>{"1||"});
  EXPECT_EQ(Stored("Empty.CMP").Rows.size(), 1u);
}

TEST_F(ComposerTab, PopupEnablesWhatTheSelectionAllows) {
  filters_.current = "Rock.FTR";
  materials_.current = "Sand & Stone.MTR";
  tab_->puComposePopup();  // empty list
  for (const char* always : {"muInsertItem", "mnuSelector", "mnuCreateComposer", "mnuDuplicateComposer"})
    EXPECT_TRUE(Action(always)->isEnabled()) << always;
  for (const char* off :
       {"mnuDeleteItem", "mnuGetCurrentFilter", "mnuGetCurrentMaterial", "mnuGetBoth", "mnuMakeFilterCurrent",
        "mnuMakeMaterialCurrent", "mnuMakeBothCurrent", "mnuMoveUp", "mnuMoveDown"})
    EXPECT_FALSE(Action(off)->isEnabled()) << off;
  EXPECT_EQ(Action("mnuMakeFilterCurrent")->text(), "no filter");
  EXPECT_EQ(Action("mnuMakeMaterialCurrent")->text(), "no material");
  EXPECT_EQ(Action("mnuGetCurrentFilter")->text(), "Get current filter: Rock.FTR");
  EXPECT_EQ(Action("mnuGetCurrentMaterial")->text(), "Get current material: Sand && Stone.MTR");

  WriteRows("Rows.CMP", {{"A.FTR", "A.MTR"}, {"", "B.MTR"}, {"C.FTR", ""}});
  Load("Rows.CMP");
  Select(0);
  tab_->puComposePopup();
  EXPECT_EQ(Action("mnuMakeFilterCurrent")->text(), "make filter current: A.FTR");
  EXPECT_EQ(Action("mnuMakeMaterialCurrent")->text(), "make material current: A.MTR");
  EXPECT_TRUE(Action("mnuMakeBothCurrent")->isEnabled());
  EXPECT_FALSE(Action("mnuMoveUp")->isEnabled());
  EXPECT_TRUE(Action("mnuMoveDown")->isEnabled());
  EXPECT_TRUE(Action("mnuDeleteItem")->isEnabled());

  Select(1);
  tab_->puComposePopup();
  EXPECT_FALSE(Action("mnuMakeFilterCurrent")->isEnabled());
  EXPECT_EQ(Action("mnuMakeFilterCurrent")->text(), "no filter");
  EXPECT_TRUE(Action("mnuMakeMaterialCurrent")->isEnabled());
  EXPECT_FALSE(Action("mnuMakeBothCurrent")->isEnabled());
  EXPECT_TRUE(Action("mnuMoveUp")->isEnabled());

  Select(2);
  tab_->puComposePopup();
  EXPECT_EQ(Action("mnuMakeMaterialCurrent")->text(), "no material");
  EXPECT_FALSE(Action("mnuMoveDown")->isEnabled());

  // A very long name is shortened in the middle; the menu stays narrow.
  QMenu* menu = test::Find<QMenu>(*tab_, "puCompose");
  filters_.current = std::string(150, 'f') + ".FTR";
  tab_->puComposePopup();
  const QString caption = Action("mnuGetCurrentFilter")->text();
  EXPECT_TRUE(caption.startsWith("Get current filter: fff")) << caption.toStdString();
  EXPECT_TRUE(caption.endsWith("fff.FTR")) << caption.toStdString();
  EXPECT_LT(menu->sizeHint().width(), 600);

  // A right click on the list opens the menu.
  emit List()->customContextMenuRequested(QPoint(5, 5));
  EXPECT_TRUE(menu->isVisible());
  menu->close();
}

TEST_F(ComposerTab, MovesSwapNeighboursAndClearTheSelection) {
  WriteRows("Move.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}, {"C.FTR", "C.MTR"}});
  Load("Move.CMP");
  Select(2);
  tab_->mnuMoveUpClick();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1|A.FTR|A.MTR", "2|C.FTR|C.MTR", "3|B.FTR|B.MTR"}));
  EXPECT_TRUE(List()->selectedItems().isEmpty());
  EXPECT_EQ(StoredRows(Stored("Move.CMP")), (std::vector<std::string>{"A.FTR|A.MTR", "C.FTR|C.MTR", "B.FTR|B.MTR"}));

  Select(0);
  tab_->mnuMoveDownClick();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1|C.FTR|C.MTR", "2|A.FTR|A.MTR", "3|B.FTR|B.MTR"}));

  const int updates = composer_updates_;
  Select(0);
  tab_->mnuMoveUpClick();  // the top row stays
  Select(2);
  tab_->mnuMoveDownClick();  // so does the bottom row
  tab_->mnuMoveUpClick();    // the selection is still there: B moves up
  EXPECT_EQ(Shown(), (std::vector<std::string>{"1|C.FTR|C.MTR", "2|B.FTR|B.MTR", "3|A.FTR|A.MTR"}));
  EXPECT_EQ(composer_updates_, updates + 1);
}

TEST_F(ComposerTab, DeleteOnlyOnYes) {
  WriteRows("Del.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}});
  Load("Del.CMP");
  Select(0);
  prompts_.YesNoAnswers = {false};
  tab_->mnuDeleteItemClick();
  EXPECT_EQ(prompts_.Questions, std::vector<std::string>{"Delete this item?"});
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Stored("Del.CMP").Rows.size(), 2u);

  prompts_.YesNoAnswers = {true};
  tab_->mnuDeleteItemClick();
  EXPECT_EQ(Shown(), std::vector<std::string>{"1|B.FTR|B.MTR"});
  EXPECT_EQ(StoredRows(Stored("Del.CMP")), std::vector<std::string>{"B.FTR|B.MTR"});

  tab_->mnuDeleteItemClick();  // no selection: not even asked
  EXPECT_EQ(prompts_.Questions.size(), 2u);
}

TEST_F(ComposerTab, GetCurrentTakesTheEditorsNames) {
  WriteRows("Get.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}});
  Load("Get.CMP");
  filters_.current = "  Rock.FTR ";
  materials_.current = "Rock.MTR";
  Select(1);
  tab_->mnuGetCurrentFilterClick();
  EXPECT_EQ(Shown()[1], "2|Rock.FTR|B.MTR");
  tab_->mnuGetCurrentMaterialClick();
  Select(0);
  tab_->mnuGetBothClick();
  EXPECT_EQ(StoredRows(Stored("Get.CMP")), (std::vector<std::string>{"Rock.FTR|Rock.MTR", "Rock.FTR|Rock.MTR"}));

  materials_.current = "Grass.MTR";
  tab_->puBasicMaterialPopup();
  EXPECT_EQ(Action("mnuGetCurrentMaterial1")->text(), "Get current material: Grass.MTR");
  tab_->mnuGetCurrentMaterial1Click();
  EXPECT_EQ(BasicMaterialName(), "Grass.MTR");
  EXPECT_EQ(Stored("Get.CMP").BasicMaterial, "Grass.MTR");

  QTest::mouseClick(Choice("rbIndividualMaterials"), Qt::LeftButton);
  EXPECT_EQ(Stored("Get.CMP").GeneralSettings, 1);
}

TEST_F(ComposerTab, MakeCurrentSelectsExistingFilesAndReportsMissingOnes) {
  test::WriteFile(Settings("Rock.FTR"), "[Filter]\n");
  test::WriteFile(Settings("Rock.MTR"), "[Material]\n");
  WriteRows("Make.CMP", {{"Rock.FTR", "Rock.MTR"}, {"Gone.FTR", "Gone.MTR"}}, "Lost.MTR");
  Load("Make.CMP");
  Select(0);
  tab_->mnuMakeBothCurrentClick();
  EXPECT_EQ(filters_.selected, std::vector<std::string>{"Rock.FTR"});
  EXPECT_EQ(materials_.selected, std::vector<std::string>{"Rock.MTR"});
  EXPECT_TRUE(prompts_.Messages.empty());

  Select(1);
  tab_->mnuMakeBothCurrentClick();
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"Filter file not found!", "Material file not found!"}));
  tab_->mnuMakeBasicMaterialCurrentClick();
  EXPECT_EQ(prompts_.Messages.back(), "Material file not found!");
  EXPECT_EQ(filters_.selected.size(), 1u);
  EXPECT_EQ(materials_.selected.size(), 1u);

  test::WriteFile(Settings("Lost.MTR"), "[Material]\n");
  tab_->mnuMakeBasicMaterialCurrentClick();
  EXPECT_EQ(materials_.selected.back(), "Lost.MTR");
}

TEST_F(ComposerTab, CreateStartsEmptyAndDuplicateKeepsTheRows) {
  WriteRows("Standard.CMP", {{"A.FTR", "A.MTR"}, {"B.FTR", "B.MTR"}}, "Grass.MTR", 1);
  tab_->Start();

  prompts_.InputAnswers = {std::string("New")};
  tab_->mnuCreateComposerClick();
  EXPECT_EQ(prompts_.InputCaptions.back(), "Create new Compose file|Input filename (no extension)|");
  EXPECT_EQ(tab_->ComposerName(), "New.CMP");
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  const TznComposerFile created = Stored("New.CMP");
  EXPECT_TRUE(created.Rows.empty());
  EXPECT_EQ(created.BasicMaterial, "Grass.MTR");
  EXPECT_EQ(created.GeneralSettings, 1);
  EXPECT_EQ(Stored("Standard.CMP").Rows.size(), 2u);

  Load("Standard.CMP");
  prompts_.InputAnswers = {std::string("Copy")};
  tab_->mnuDuplicateComposerClick();
  EXPECT_EQ(prompts_.InputCaptions.back(), "Duplicate Compose file|Input filename (no extension)|");
  EXPECT_EQ(tab_->ComposerName(), "Copy.CMP");
  EXPECT_EQ(StoredRows(Stored("Copy.CMP")), (std::vector<std::string>{"A.FTR|A.MTR", "B.FTR|B.MTR"}));
  EXPECT_EQ(Shown().size(), 2u);

  // Cancelling the name, or refusing to overwrite, changes nothing.
  prompts_.InputAnswers = {std::nullopt, std::string("New")};
  prompts_.YesNoAnswers = {false};
  tab_->mnuCreateComposerClick();
  tab_->mnuCreateComposerClick();
  EXPECT_EQ(prompts_.Questions.back(), "File already exist. Ovewrite?");
  EXPECT_EQ(tab_->ComposerName(), "Copy.CMP");
  EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(ComposerTab, AFailedCreateKeepsTheTabOnItsOwnFile) {
  WriteRows("Own.CMP", {{"A.FTR", "A.MTR"}});
  Load("Own.CMP");
  std::filesystem::create_directory(Settings("Blocked.CMP"));  // a folder cannot be written as a file
  prompts_.InputAnswers = {std::string("Blocked")};
  prompts_.YesNoAnswers = {true};
  tab_->mnuCreateComposerClick();
  EXPECT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(tab_->ComposerName(), "Own.CMP");
  EXPECT_EQ(Shown(), std::vector<std::string>{"1|A.FTR|A.MTR"});
  tab_->muInsertItemClick();
  EXPECT_EQ(Stored("Own.CMP").Rows.size(), 2u);  // the rows were not lost
}

TEST_F(ComposerTab, ChangesStayOnTheTabWhenItsFileIsGone) {
  WriteRows("Gone.CMP", {{"A.FTR", "A.MTR"}});
  Load("Gone.CMP");
  std::filesystem::remove(Settings("Gone.CMP"));
  const int updates = composer_updates_;
  tab_->muInsertItemClick();
  QTest::mouseClick(Choice("rbIndividualMaterials"), Qt::LeftButton);
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(Settings("Gone.CMP")));
  EXPECT_EQ(composer_updates_, updates);
}

TEST_F(ComposerTab, BuiltComposerEndsWithTheCatchAllPair) {
  test::WriteFile(Settings("Rock.FTR"), "[Filter]\nUseHigh=0\nUseLow=1\nLow=12.5\n");
  test::WriteFile(Settings("Rock.MTR"), "[Material]\nUseTexture=1\nTexture=Grass\n");
  WriteRows("Build.CMP", {{"Rock.FTR", "Rock.MTR"}, {"Gone.FTR", ""}});
  Load("Build.CMP");
  std::filesystem::copy_file(std::string(KALVOR_SAMPLES_DIR) + "/Textures/grass.jpg", Textures("grass.jpg"));

  // No GL context exists here: the pictures are only read into memory.
  std::unique_ptr<TznRWXComposer> composer = tab_->BuildComposerFromTab();
  ASSERT_EQ(composer->Count(), 3);
  EXPECT_TRUE(composer->Filter(0)->UseLow());
  EXPECT_FLOAT_EQ(composer->Filter(0)->Low(), 12.5f);
  EXPECT_TRUE(composer->Filter(1)->UseHigh());  // a missing file gives the default filter
  EXPECT_TRUE(composer->Filter(2)->IsPassThrough());
  EXPECT_FALSE(composer->Material(2)->UseTexture());  // empty basic material: a default one
  EXPECT_FALSE(composer->IndividualSettings());
  EXPECT_EQ(composer->TextureFolder(), context_.TexturesDir);
  ASSERT_NE(composer->Textures(), nullptr);
  EXPECT_EQ(composer->Textures()->Count(), 1u);
  EXPECT_TRUE(prompts_.Messages.empty());

  test::WriteFile(Settings("Basic.MTR"), "[Material]\nUseTexture=1\nTexture=Sand\n");
  materials_.current = "Basic.MTR";
  tab_->mnuGetCurrentMaterial1Click();
  QTest::mouseClick(Choice("rbIndividualMaterials"), Qt::LeftButton);
  composer = tab_->BuildComposerFromTab();
  ASSERT_EQ(composer->Count(), 3);
  EXPECT_EQ(composer->BasicMaterial()->Texture(), "Sand");
  EXPECT_TRUE(composer->IndividualSettings());
}

TEST_F(ComposerTab, CitizenNumberIsNormalisedByEachBuild) {
  QLineEdit* citnum = test::Find<QLineEdit>(*tab_, "edCitnum");
  EXPECT_EQ(citnum->text(), "0");
  tab_->SetCitnumText("abc");
  EXPECT_EQ(tab_->BuildComposerFromTab()->CitizenNumber(), 0);
  EXPECT_EQ(tab_->CitnumText(), "0");
  tab_->SetCitnumText("  318 ");
  EXPECT_EQ(tab_->BuildComposerFromTab()->CitizenNumber(), 318);
  EXPECT_EQ(tab_->CitnumText(), "318");
  tab_->SetCitnumText("99999999999");  // beyond 32 bits
  EXPECT_EQ(tab_->BuildComposerFromTab()->CitizenNumber(), 0);
}

TEST_F(ComposerTab, ControlsAsDesignedAndFittingTheirPage) {
  EXPECT_EQ(tab_->objectName(), "tbCompose");
  QTreeWidget* list = List();
  EXPECT_EQ(list->headerItem()->text(0), "#");
  EXPECT_EQ(list->headerItem()->text(1), "Filter");
  EXPECT_EQ(list->headerItem()->text(2), "Material");
  EXPECT_EQ(list->columnWidth(0), 30);
  EXPECT_EQ(list->columnWidth(1), 150);
  EXPECT_EQ(list->columnWidth(2), 150);
  EXPECT_EQ(list->toolTip(), "right-click for options");
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(test::Find<QLabel>(*tab_, "Label10")->text(),
            "Couple Filters and Materials in the Composer. Faces are selected by the first filter that applies to "
            "them, and the corresponding Material is used for them.  If no Filter qualifies, the Basic Material is "
            "used.");
  EXPECT_TRUE(Choice("rbBasicMaterial")->isChecked());
  QPushButton* button = test::Find<QPushButton>(*tab_, "btBasicMaterial");
  EXPECT_TRUE(button->isFlat());
  EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

  const QSize least = tab_->minimumSizeHint();
  EXPECT_LE(least.width(), 590);
  EXPECT_LE(least.height(), 290);
}

}  // namespace
