// The debug log: reports only while the switch is on, the window shown
// with every earlier line, its close box only hiding it.
#include <QPlainTextEdit>

#include "app/untDebug.h"
#include "appTest.h"
#include "views/znDebugLog.h"

TEST(DebugLog, ReportsFollowTheSwitchAndCloseOnlyHides) {
  test::App();
  TfrmDebug window;
  TznDebugLog& log = TznDebugLog::Instance();
  EXPECT_EQ(window.windowTitle(), "Debug");

  log.SetDebugMode(false);
  log.Report("draw terrain: invalid enumeration");
  EXPECT_TRUE(window.Memo1->toPlainText().isEmpty());
  EXPECT_FALSE(window.isVisible());

  log.SetDebugMode(true);
  log.Report("draw terrain: invalid enumeration");
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_FALSE(window.isVisible());
  log.Report("draw water: invalid value");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.Memo1->toPlainText(), "draw terrain: invalid enumeration\ndraw water: invalid value");

  // Notes are kept whatever the switch, without showing the window.
  window.hide();
  log.SetDebugMode(false);
  log.Note("settings kept elsewhere");
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Memo1->toPlainText().endsWith("settings kept elsewhere"));
}
