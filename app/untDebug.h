// The debug log window: one multi-line text box that collects the reports
// of the debug log. It lives for the whole run; closing it only hides it.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include <string>

class TfrmDebug : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmDebug(QWidget* parent = nullptr);
  ~TfrmDebug() override;

  QPlainTextEdit* Memo1 = nullptr;

  // Appends one line; shows the window when asked.
  void AppendLine(const std::string& line, bool show);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
};
