// The Filter tab driven through its widgets: start-up, browsing, the edit
// state machine, the value boxes, "create" and "duplicate".
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/znFileListBox.h"
#include "app/znFilterTab.h"
#include "tests/app/appTest.h"

namespace {

using test::Find;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TznRWXFaceFilter LoadFilter(const std::string& path) {
  TznRWXFaceFilter filter;
  filter.LoadFromFile(path);
  return filter;
}

// A filter file with north 12.34 m, south -12.34 m, east -5 m, west 20 m
// (off), low 3 m and
// both gradient limits switched on.
const char* const kGravelFilter =
    "[Filter]\n"
    "UseWest=0\nWest=20\nUseEast=1\nEast=-5\nUseNorth=1\nNorth=12.34\nUseSouth=0\nSouth=-12.34\n"
    "UseHigh=0\nHigh=0\nUseLow=1\nLow=3\nUseHighGradient=1\nHighGradient=45\n"
    "UseLowGradient=1\nLowGradient=10\nApplyToVerts=Any\n";

class FilterTabTest : public test::AppTest {
 protected:
  void StartTab() {
    tab_ = std::make_unique<TznFilterTab>(context_);
    tab_->resize(590, 290);
    tab_->show();
    tab_->Start();
  }
  template <typename T>
  T* Control(const char* name) {
    return Find<T>(*tab_, name);
  }
  QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }
  QString Shown(const char* name) { return Edit(name)->text(); }
  void Click(const char* name) { QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton); }
  void Type(const char* name, const QString& text) {
    QLineEdit* edit = Edit(name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  std::string ShownName() { return Control<QLabel>("lbFilterName")->text().toStdString(); }

  std::unique_ptr<TznFilterTab> tab_;
};

TEST_F(FilterTabTest, StartWritesTheStandardFilterWhenMissingAndLoadsTheFirstEntry) {
  StartTab();
  ASSERT_TRUE(std::filesystem::exists(Settings("Standard.FTR")));
  // A new filter tests High at 0 on the lowest vertex.
  const TznRWXFaceFilter standard = LoadFilter(Settings("Standard.FTR"));
  EXPECT_TRUE(standard.UseHigh());
  EXPECT_FALSE(standard.UseLow());
  EXPECT_FLOAT_EQ(standard.HighGradient(), 90);
  EXPECT_EQ(standard.ApplyToVerts(), avLowest);

  EXPECT_EQ(tab_->SelectedFileName(), "Standard.FTR");
  EXPECT_EQ(tab_->FilterName(), "Standard.FTR");
  EXPECT_FALSE(tab_->FilterEditing());
  EXPECT_TRUE(Control<QCheckBox>("cbFilterHigh")->isChecked());
  EXPECT_EQ(Shown("edFilterHigh"), "0.00");
  EXPECT_EQ(Shown("edFilterEast"), "0.000w");
  EXPECT_EQ(Shown("edFilterGradientHigh"), "90.0");
  EXPECT_TRUE(Control<QRadioButton>("rbFilterLowest")->isChecked());
  EXPECT_EQ(composer_updates_, 0);
}

TEST_F(FilterTabTest, StartKeepsAnExistingStandardFilterAndShowsTheFirstInNameOrder) {
  const std::string standard = "[Filter]\nUseLow=1\nLow=7\n";
  WriteText(Settings("Standard.FTR"), standard);
  WriteText(Settings("gravel.FTR"), kGravelFilter);
  StartTab();
  EXPECT_EQ(ReadText(Settings("Standard.FTR")), standard);
  EXPECT_EQ(tab_->SelectedFileName(), "gravel.FTR");
  EXPECT_EQ(tab_->FilterName(), "gravel.FTR");
  EXPECT_EQ(tab_->CurrentFilter().ApplyToVerts(), avAny);

  tab_->SelectFilterFile("Standard.FTR");
  EXPECT_EQ(tab_->FilterName(), "Standard.FTR");
  EXPECT_TRUE(tab_->CurrentFilter().UseLow());
  EXPECT_EQ(Shown("edFilterLow"), "7.00");
}

TEST_F(FilterTabTest, PositionsShowInTenMetreUnits) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  ASSERT_EQ(tab_->FilterName(), "Gravel.FTR");
  EXPECT_EQ(Shown("edFilterNorth"), "1.234n");
  EXPECT_EQ(Shown("edFilterSouth"), "1.234s");
  EXPECT_EQ(Shown("edFilterEast"), "0.500e");
  EXPECT_EQ(Shown("edFilterWest"), "2.000w");
  EXPECT_EQ(Shown("edFilterLow"), "3.00");
  EXPECT_EQ(Shown("edFilterGradientHigh"), "45.0");
  EXPECT_EQ(Shown("edFilterGradientLow"), "10.0");
  EXPECT_TRUE(Control<QRadioButton>("rbFilterAny")->isChecked());
  // Value boxes follow their switches.
  Click("btFilterEdit");
  EXPECT_TRUE(Edit("edFilterNorth")->isEnabled());
  EXPECT_FALSE(Edit("edFilterSouth")->isEnabled());
  EXPECT_FALSE(Edit("edFilterHigh")->isEnabled());
}

TEST_F(FilterTabTest, EditStateMachine) {
  StartTab();
  auto enabled = [&](const char* name) { return Control<QWidget>(name)->isEnabled(); };
  auto expect_browse = [&](bool browse) {
    EXPECT_EQ(enabled("FilterList"), browse);
    EXPECT_EQ(enabled("gbFilter"), !browse);
    EXPECT_EQ(enabled("btFilterEdit"), browse);
    EXPECT_EQ(enabled("btFilterCreate"), browse);
    EXPECT_EQ(enabled("btFilterDuplicate"), browse);
    EXPECT_EQ(enabled("btFilterAccept"), !browse);
    EXPECT_EQ(enabled("btFilterCancel"), !browse);
    EXPECT_EQ(tab_->FilterEditing(), !browse);
  };
  expect_browse(true);
  // Accept and cancel do nothing while browsing, even when called directly.
  tab_->btFilterAcceptClick();
  tab_->btFilterCancelClick();
  expect_browse(true);
  EXPECT_EQ(composer_updates_, 0);

  Click("btFilterEdit");
  expect_browse(false);
  tab_->btFilterCreateClick();
  EXPECT_TRUE(prompts_.InputCaptions.empty());

  Type("edFilterHigh", "55");
  Click("cbFilterLow");
  Click("btFilterCancel");
  expect_browse(true);
  EXPECT_EQ(Shown("edFilterHigh"), "0.00");
  EXPECT_FALSE(Control<QCheckBox>("cbFilterLow")->isChecked());
  EXPECT_FALSE(tab_->CurrentFilter().UseLow());
  EXPECT_FLOAT_EQ(tab_->CurrentFilter().High(), 0);
  EXPECT_EQ(composer_updates_, 0);

  Click("btFilterEdit");
  Click("btFilterAccept");
  expect_browse(true);
  EXPECT_EQ(composer_updates_, 1);
}

TEST_F(FilterTabTest, ApplyToNeedsOneOfTheSixVertexLimits) {
  WriteText(Settings("Slope.FTR"), "[Filter]\nUseHighGradient=1\nHighGradient=30\nUseLowGradient=1\nLowGradient=5\n");
  StartTab();
  Click("btFilterEdit");
  auto* apply_to = Control<QGroupBox>("rgFilterVertices");
  EXPECT_EQ(Control<QCheckBox>("cbFilterGradientHigh")->text(), QString::fromUtf8("High (\u00B0)"));
  EXPECT_FALSE(apply_to->isEnabled());
  EXPECT_TRUE(Edit("edFilterGradientHigh")->isEnabled());
  EXPECT_FALSE(Edit("edFilterLow")->isEnabled());

  Click("cbFilterLow");
  EXPECT_TRUE(apply_to->isEnabled());
  EXPECT_TRUE(Edit("edFilterLow")->isEnabled());
  Click("cbFilterLow");
  EXPECT_FALSE(apply_to->isEnabled());
  for (const char* bound : {"cbFilterHigh", "cbFilterWest", "cbFilterEast", "cbFilterNorth", "cbFilterSouth"}) {
    Click(bound);
    EXPECT_TRUE(apply_to->isEnabled()) << bound;
    Click(bound);
  }
  Click("cbFilterGradientHigh");
  Click("cbFilterGradientLow");
  EXPECT_FALSE(apply_to->isEnabled());
  EXPECT_FALSE(Edit("edFilterGradientLow")->isEnabled());
}

TEST_F(FilterTabTest, AcceptReadsTheBoxesAndSavesTheFile) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  Click("btFilterEdit");
  Click("cbFilterHigh");
  Type("edFilterHigh", "12.345678");
  Type("edFilterLow", "abc");
  Type("edFilterNorth", "2.5s 3w");
  Type("edFilterEast", "0.5E");
  Click("cbFilterWest");
  Type("edFilterWest", "1.5n");  // no west-east token: 0 m
  Type("edFilterGradientHigh", "33.33");
  Type("edFilterGradientLow", "");
  Click("rbFilterFaceCentre");
  Click("btFilterAccept");

  const TznRWXFaceFilter& filter = tab_->CurrentFilter();
  EXPECT_TRUE(filter.UseHigh());
  EXPECT_FLOAT_EQ(filter.High(), 12.345678f);
  EXPECT_FLOAT_EQ(filter.Low(), 3);
  EXPECT_FLOAT_EQ(filter.North(), -25);
  EXPECT_FLOAT_EQ(filter.East(), -5);
  EXPECT_TRUE(filter.UseWest());
  EXPECT_FLOAT_EQ(filter.West(), 0);
  EXPECT_FLOAT_EQ(filter.South(), -12.34f);
  EXPECT_FLOAT_EQ(filter.HighGradient(), 33.33f);
  EXPECT_FLOAT_EQ(filter.LowGradient(), 10);
  EXPECT_EQ(filter.ApplyToVerts(), avFaceCentre);

  EXPECT_EQ(Shown("edFilterHigh"), "12.35");
  EXPECT_EQ(Shown("edFilterLow"), "3.00");
  EXPECT_EQ(Shown("edFilterNorth"), "2.500s");
  EXPECT_EQ(Shown("edFilterEast"), "0.500e");
  EXPECT_EQ(Shown("edFilterWest"), "0.000w");
  EXPECT_EQ(Shown("edFilterGradientHigh"), "33.3");
  EXPECT_EQ(Shown("edFilterGradientLow"), "10.0");

  const TznRWXFaceFilter saved = LoadFilter(Settings("Gravel.FTR"));
  EXPECT_FLOAT_EQ(saved.High(), 12.345678f);
  EXPECT_FLOAT_EQ(saved.North(), -25);
  EXPECT_TRUE(saved.UseWest());
  EXPECT_EQ(saved.ApplyToVerts(), avFaceCentre);
  EXPECT_NE(ReadText(Settings("Gravel.FTR")).find("ApplyToVerts=FaceCentre"), std::string::npos);
  EXPECT_EQ(composer_updates_, 1);
}

TEST_F(FilterTabTest, AcceptOnADeletedFileWritesNothingKeepsTheValuesAndSaysSo) {
  WriteText(Settings("Gone.FTR"), kGravelFilter);
  StartTab();
  ASSERT_EQ(tab_->FilterName(), "Gone.FTR");
  std::filesystem::remove(Settings("Gone.FTR"));
  Click("btFilterEdit");
  Type("edFilterLow", "8");
  Click("btFilterAccept");
  EXPECT_FALSE(std::filesystem::exists(Settings("Gone.FTR")));
  EXPECT_FLOAT_EQ(tab_->CurrentFilter().Low(), 8);
  EXPECT_EQ(composer_updates_, 1);
  EXPECT_EQ(prompts_.Messages,
            std::vector<std::string>{"The filter file Gone.FTR is not in the Settings folder, so nothing was "
                                     "written. \"duplicate\" saves the filter under a new name."});
}

TEST_F(FilterTabTest, CreateWritesTheDefaultsUnderTheTypedName) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  prompts_.InputAnswers.push_back("Sand");
  Click("btFilterCreate");
  ASSERT_EQ(prompts_.InputCaptions.size(), 1u);
  EXPECT_EQ(prompts_.InputCaptions[0], "Create new Filter|Input filename (no extension)|");
  EXPECT_TRUE(prompts_.Questions.empty());
  const TznRWXFaceFilter sand = LoadFilter(Settings("Sand.FTR"));
  EXPECT_TRUE(sand.UseHigh());
  EXPECT_FALSE(sand.UseNorth());
  EXPECT_EQ(tab_->SelectedFileName(), "Sand.FTR");
  EXPECT_EQ(tab_->FilterName(), "Sand.FTR");
  EXPECT_FALSE(tab_->CurrentFilter().UseNorth());
  EXPECT_EQ(Shown("edFilterNorth"), "0.000n");
  EXPECT_FALSE(tab_->FilterEditing());
  EXPECT_EQ(composer_updates_, 1);
}

TEST_F(FilterTabTest, CreateOverAnExistingFileOnlyAfterYes) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  prompts_.InputAnswers.push_back("Gravel");
  prompts_.YesNoAnswers.push_back(false);
  Click("btFilterCreate");
  EXPECT_EQ(prompts_.Questions, std::vector<std::string>{"File already exist. Ovewrite?"});
  EXPECT_EQ(ReadText(Settings("Gravel.FTR")), kGravelFilter);
  EXPECT_EQ(composer_updates_, 1);

  prompts_.InputAnswers.push_back("Gravel");
  prompts_.YesNoAnswers.push_back(true);
  Click("btFilterCreate");
  const TznRWXFaceFilter gravel = LoadFilter(Settings("Gravel.FTR"));
  EXPECT_TRUE(gravel.UseHigh());
  EXPECT_FALSE(gravel.UseNorth());
  EXPECT_EQ(gravel.ApplyToVerts(), avLowest);
  EXPECT_EQ(tab_->FilterName(), "Gravel.FTR");
  EXPECT_FALSE(tab_->CurrentFilter().UseNorth());
  EXPECT_EQ(composer_updates_, 2);
}

TEST_F(FilterTabTest, RefusedOrCancelledNamesWriteNothing) {
  StartTab();
  const auto files_before = [&] {
    return std::distance(std::filesystem::directory_iterator(Settings("")), std::filesystem::directory_iterator());
  };
  const auto count = files_before();
  prompts_.InputAnswers.push_back(std::nullopt);
  prompts_.InputAnswers.push_back("  ");
  prompts_.InputAnswers.push_back("../Outside");
  for (int i = 0; i < 3; ++i) Click("btFilterCreate");
  EXPECT_EQ(files_before(), count);
  EXPECT_FALSE(std::filesystem::exists(Home() + "Outside.FTR"));
  EXPECT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_EQ(tab_->FilterName(), "Standard.FTR");
  // The composer is rebuilt whatever the outcome.
  EXPECT_EQ(composer_updates_, 3);
}

TEST_F(FilterTabTest, DuplicateCopiesTheCurrentFilter) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  prompts_.InputAnswers.push_back("Standard");
  prompts_.YesNoAnswers.push_back(false);
  Click("btFilterDuplicate");
  EXPECT_EQ(prompts_.InputCaptions.back(), "Duplicate Filter|Input filename (no extension)|");
  EXPECT_TRUE(LoadFilter(Settings("Standard.FTR")).UseHigh());

  prompts_.InputAnswers.push_back("Pebbles");
  Click("btFilterDuplicate");
  const TznRWXFaceFilter copy = LoadFilter(Settings("Pebbles.FTR"));
  EXPECT_TRUE(copy.UseNorth());
  EXPECT_FLOAT_EQ(copy.North(), 12.34f);
  EXPECT_FLOAT_EQ(copy.East(), -5);
  EXPECT_FLOAT_EQ(copy.Low(), 3);
  EXPECT_EQ(copy.ApplyToVerts(), avAny);
  EXPECT_EQ(tab_->FilterName(), "Pebbles.FTR");
  EXPECT_EQ(Shown("edFilterNorth"), "1.234n");
  EXPECT_EQ(composer_updates_, 2);
}

TEST_F(FilterTabTest, CreateSelectsTheNewFileAmongNamesDifferingInCase) {
  WriteText(Settings("Gravel.ftr"), kGravelFilter);
  StartTab();
  prompts_.InputAnswers.push_back("gravel");
  Click("btFilterCreate");
  ASSERT_TRUE(std::filesystem::exists(Settings("gravel.FTR")));
  EXPECT_EQ(tab_->SelectedFileName(), "gravel.FTR");
  EXPECT_FALSE(tab_->CurrentFilter().UseNorth());
}

TEST_F(FilterTabTest, SelectFilterFile) {
  WriteText(Settings("Gravel.FTR"), kGravelFilter);
  StartTab();
  tab_->SelectFilterFile("Standard.FTR");
  EXPECT_EQ(tab_->SelectedFileName(), "Standard.FTR");
  EXPECT_FALSE(tab_->CurrentFilter().UseNorth());

  tab_->SelectFilterFile("Missing.FTR");
  EXPECT_EQ(prompts_.Messages, std::vector<std::string>{"Filter file not found!"});
  EXPECT_EQ(tab_->FilterName(), "Standard.FTR");

  // A file made after the list was read is found all the same.
  WriteText(Settings("Late.FTR"), kGravelFilter);
  tab_->SelectFilterFile("Late.FTR");
  EXPECT_EQ(tab_->SelectedFileName(), "Late.FTR");
  EXPECT_TRUE(tab_->CurrentFilter().UseNorth());
  EXPECT_EQ(prompts_.Messages.size(), 1u);
}

}  // namespace
