#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/untComposeSelect.h"
#include "app/znComposerTab.h"
#include "app/znFileListBox.h"
#include "appTest.h"
#include "rwx/znComposerFile.h"
#include "support/testFiles.h"

namespace {

class ComposerSelect : public test::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    for (const char* name : {"b.CMP", "A.CMP", "Standard.CMP"}) {
      TznComposerFile data;
      data.BasicMaterial = std::string(name) + ".MTR";
      WriteComposerFile(Settings(name), data);
    }
    test::WriteFile(Settings("Rock.MTR"), "[Material]\n");
    tab_ = std::make_unique<TznComposerTab>(context_, TznEditorLink{}, TznEditorLink{});
    tab_->Start();
  }

  // Runs "select composer" with the dialog driven by the given steps in
  // place of the user.
  void RunSelector(std::function<void(TfrmComposeSelect&)> user) {
    tab_->SetSelectDialogRunner([user](TfrmComposeSelect& dialog) {
      user(dialog);
      return dialog.result();
    });
    tab_->mnuSelectorClick();
  }

  std::unique_ptr<TznComposerTab> tab_;
};

TEST_F(ComposerSelect, ListsTheComposerFilesOfTheSettingsFolder) {
  TfrmComposeSelect dialog(context_.SettingsDir);
  EXPECT_EQ(dialog.windowTitle(), "select commposer");
  EXPECT_EQ(dialog.size(), QSize(178, 269));
  EXPECT_TRUE(dialog.isModal());
  EXPECT_EQ(dialog.FileList()->objectName(), "FileList");
  EXPECT_EQ(dialog.FileList()->Names(), (std::vector<std::string>{"A.CMP", "b.CMP", "Standard.CMP"}));
  QPushButton* accept = test::Find<QPushButton>(dialog, "btAccept");
  EXPECT_EQ(accept->text(), "select");
  EXPECT_TRUE(accept->isDefault());
  EXPECT_EQ(test::Find<QPushButton>(dialog, "btCancel")->text(), "cancel");
  EXPECT_EQ(dialog.FileName(), "");
}

TEST_F(ComposerSelect, AcceptOrDoubleClickLoadsTheChosenFile) {
  RunSelector([](TfrmComposeSelect& dialog) {
    dialog.FileList()->SelectName("b.cmp");
    test::Find<QPushButton>(dialog, "btAccept")->click();
  });
  EXPECT_EQ(tab_->ComposerName(), "b.CMP");
  EXPECT_EQ(tab_->ComposerData().BasicMaterial, "b.CMP.MTR");

  RunSelector([](TfrmComposeSelect& dialog) {
    QListWidgetItem* entry = dialog.FileList()->item(0);
    dialog.FileList()->setCurrentItem(entry);
    emit dialog.FileList()->itemDoubleClicked(entry);
  });
  EXPECT_EQ(tab_->ComposerName(), "A.CMP");
}

TEST_F(ComposerSelect, CancelOrNoSelectionKeepsTheComposer) {
  const int updates = composer_updates_;
  RunSelector([](TfrmComposeSelect& dialog) {
    dialog.FileList()->SelectName("b.CMP");
    test::Find<QPushButton>(dialog, "btCancel")->click();
  });
  RunSelector([](TfrmComposeSelect& dialog) { test::Find<QPushButton>(dialog, "btAccept")->click(); });
  EXPECT_EQ(tab_->ComposerName(), "Standard.CMP");
  EXPECT_EQ(composer_updates_, updates);
}

TEST_F(ComposerSelect, ModalRunEndsWithTheUsersKey) {
  // The real modal loop, answered by a key press once it runs: Return
  // presses the default button, Escape cancels.
  TfrmComposeSelect dialog(context_.SettingsDir);
  dialog.FileList()->SelectName("A.CMP");
  const auto press = [&dialog](Qt::Key key) {
    QMetaObject::invokeMethod(
        &dialog, [&dialog, key] { QTest::keyClick(&dialog, key); }, Qt::QueuedConnection);
  };
  press(Qt::Key_Return);
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.FileName(), context_.SettingsDir + "A.CMP");
  press(Qt::Key_Escape);
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

}  // namespace
