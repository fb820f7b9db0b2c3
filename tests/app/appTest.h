// Shared set-up of the window tests: one QApplication (on Qt's offscreen
// platform when there is no display), a fresh Settings and Textures folder per test, scripted prompts.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include "support/qtApp.h"

#include <filesystem>
#include <functional>
#include <string>

#include "app/znAppContext.h"
#include "app/znAppFolders.h"
#include "views/znScriptedPrompts.h"

namespace test {

// A test with its own home folder holding empty Settings and Textures
// folders, and a context whose prompts follow the script.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    namespace fs = std::filesystem;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    home_ = fs::current_path() / (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(home_);
    fs::create_directories(home_ / "Settings");
    fs::create_directories(home_ / "Textures");
    context_.SettingsDir = (home_ / "Settings").string() + "/";
    context_.TexturesDir = (home_ / "Textures").string() + "/";
    context_.Prompts = &prompts_;
    context_.UpdateTerrainComposer = [this] { ++composer_updates_; };
  }

  std::string Home() const { return home_.string() + "/"; }
  // The program's folders with the test's home folder as KALVOR_HOME.
  TznAppFolders HomeFolders() const { return ResolveAppFolders("/usr/bin/kalvor", Home(), "", FolderWritable); }
  std::string Settings(const std::string& name) const { return context_.SettingsDir + name; }
  std::string Textures(const std::string& name) const { return context_.TexturesDir + name; }

  std::filesystem::path home_;
  TznScriptedPrompts prompts_;
  TznAppContext context_;
  int composer_updates_ = 0;
};

// The child widget of the given type and object name; fails the test when
// it is missing.
template <typename T>
T* Find(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << "no widget named " << name;
  return child;
}

// Opens the menu from the window's menu bar and clicks the entry, as the
// user does.
inline void ClickMenuEntry(QMainWindow& window, QMenu* menu, QAction* entry) {
  QMenuBar* bar = window.menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

// Runs act once a modal dialog of type T is up, inside its own event loop;
// act must close it.
template <typename T>
void WhenModal(std::function<void(T&)> act) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*dialog);
  });
  timer->start(10);
}

}  // namespace test
