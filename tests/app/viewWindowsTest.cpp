// The map and the 3D preview as the main window opens them: which clicks
// bring the preview back, and where the boxes they ask open.
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include "app/untKalvor.h"
#include "appTest.h"
#include "terrain/znTerra.h"
#include "views/untScaleIt.h"
#include "views/untTerGL.h"
#include "views/untTerMap.h"

namespace {

const std::string kValley = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";

class ViewWindows : public test::AppTest {
 protected:
  // The main window; without prompts it asks through Qt's dialogs.
  std::unique_ptr<TfrmKalvor> Start(TznPrompts* prompts) {
    folders_ = HomeFolders();
    auto window = std::make_unique<TfrmKalvor>(folders_, prompts);
    window->show();
    return window;
  }

  TznAppFolders folders_;
};

QAction* ActionNamed(const QList<QAction*>& actions, const QString& text) {
  for (QAction* action : actions)
    if (action->text() == text) return action;
  return nullptr;
}

// Opens a menu of the window's menu bar and clicks one of its entries.
void ClickMenu(QMainWindow& window, const char* title, const char* entry) {
  QAction* menu_item = ActionNamed(window.menuBar()->actions(), title);
  ASSERT_NE(menu_item, nullptr) << title;
  QAction* item = ActionNamed(menu_item->menu()->actions(), entry);
  ASSERT_NE(item, nullptr) << entry;
  test::ClickMenuEntry(window, menu_item->menu(), item);
}

using test::WhenModal;

struct TSeenBox {
  QString Title;
  QString Text;
  QWidget* Parent = nullptr;
  int Width = 0;
};

// Notes an input box and cancels it with Esc.
void CancelInputBox(TSeenBox& seen) {
  WhenModal<QInputDialog>([&seen](QInputDialog& box) {
    seen = {box.windowTitle(), box.labelText(), box.parentWidget(), box.width()};
    QTest::keyClick(&box, Qt::Key_Escape);
  });
}

}  // namespace

TEST_F(ViewWindows, ARenderModeClickOnTheMapNeverBringsBackAClosedPreview) {
  auto window = Start(&prompts_);
  prompts_.OpenAnswers.push_back(kValley);
  ClickMenu(*window, "File", "Load");
  WaitForMapWindow();
  ASSERT_NE(frmTerMap, nullptr);
  QPointer<TfrmTerGL> preview = TfrmTerGL::Instance();
  if (!preview) GTEST_SKIP() << "no display with OpenGL";

  preview->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(TfrmTerGL::Instance(), nullptr);
  QTest::mouseClick(test::Find<QRadioButton>(*frmTerMap, "rgRenderMode2"), Qt::LeftButton);
  EXPECT_EQ(window->Terra->FRenderMode, TznRenderMode::RWXTexture);
  EXPECT_EQ(TfrmTerGL::Instance(), nullptr);

  ClickMenu(*frmTerMap, "File", "Show Scene");
  preview = TfrmTerGL::Instance();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->isVisible());
  QTest::mouseClick(test::Find<QRadioButton>(*frmTerMap, "rgRenderMode0"), Qt::LeftButton);
  EXPECT_EQ(window->Terra->FRenderMode, TznRenderMode::Terragen);
  EXPECT_EQ(TfrmTerGL::Instance(), preview.data());
  EXPECT_TRUE(preview->isVisible());
  prompts_.YesNoAnswers.push_back(true);
  window->close();
}

TEST_F(ViewWindows, BoxesOpenOverTheWindowThatAsksTitledKalvorAndWideEnoughForTheirCaption) {
  auto window = Start(nullptr);
  // The title bar holds the caption, the window's icon and at least three
  // buttons of 20 px.
  const QFontMetrics title_font(QFontDatabase::systemFont(QFontDatabase::TitleFont));

  TSeenBox create;
  CancelInputBox(create);
  QTabBar* tabs = window->PageControl1->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());  // "Material"
  QTest::mouseClick(test::Find<QToolButton>(*window, "btEditMaterialCreate"), Qt::LeftButton);
  EXPECT_EQ(create.Title, "Create new Material");
  EXPECT_EQ(create.Parent, window.get());
  EXPECT_GE(create.Width, title_font.horizontalAdvance("Create new Material") + 4 * 20);

  QString open_title = "none";
  WhenModal<QFileDialog>([&open_title](QFileDialog& dialog) {
    open_title = dialog.windowTitle();
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  ClickMenu(*window, "File", "Load");
  EXPECT_FALSE(open_title.isEmpty()) << "an empty title shows the program file's name";
  EXPECT_NE(open_title, "none");

  window->LoadTerrain(kValley);
  WaitForMapWindow();
  ASSERT_NE(frmTerMap, nullptr);
  TSeenBox message;
  WhenModal<TfrmScaleIt>([&message](TfrmScaleIt& dialog) {
    WhenModal<QMessageBox>([&message](QMessageBox& box) {
      message = {box.windowTitle(), box.text(), box.parentWidget(), box.width()};
      QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    dialog.edScaleX->clear();
    QTest::keyClicks(dialog.edScaleX, "abc");
    QTest::mouseClick(dialog.btTest, Qt::LeftButton);
    QTest::mouseClick(dialog.btCancel, Qt::LeftButton);
  });
  ClickMenu(*frmTerMap, "File", "Scale");
  EXPECT_EQ(message.Text, "'abc' is not a valid floating point value");
  EXPECT_EQ(message.Title, "Kalvor");
  EXPECT_EQ(message.Parent, frmTerMap);

  TfrmTerGL* preview = TfrmTerGL::Instance();
  if (!preview) GTEST_SKIP() << "no display with OpenGL";
  TSeenBox teleport;
  CancelInputBox(teleport);
  QTest::keyClick(&preview->GLWidget(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(teleport.Title, "Teleport");
  EXPECT_EQ(teleport.Text, "coordinates");
  EXPECT_EQ(teleport.Parent, preview);
}
