#include "views/znQtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Caption() {
  const QString name = QApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Kalvor") : name;
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void PrepareFileDialog(QFileDialog& dialog, const TznFileDialogRequest& request) {
  dialog.setWindowTitle(Q(request.Title));
  if (!request.Filter.empty()) dialog.setNameFilter(TznQtPrompts::QtFilter(request.Filter));
  if (!request.InitialDir.empty()) dialog.setDirectory(Q(request.InitialDir));
  if (!request.FileName.empty()) dialog.selectFile(Q(request.FileName));
  if (!request.DefaultExt.empty()) dialog.setDefaultSuffix(Q(request.DefaultExt));
}

}  // namespace

void TznQtPrompts::ShowMessage(const std::string& text) { QMessageBox::information(FParent, Caption(), Q(text)); }

bool TznQtPrompts::AskYesNo(const std::string& text) {
  return QMessageBox::question(FParent, Caption(), Q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<std::string> TznQtPrompts::InputBox(const std::string& caption, const std::string& prompt,
                                                  const std::string& default_value) {
  bool ok = false;
  const QString text = QInputDialog::getText(FParent, Q(caption), Q(prompt), QLineEdit::Normal, Q(default_value), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<TColor> TznQtPrompts::PickColor(TColor initial) {
  const QColor start(ColorRed(initial), ColorGreen(initial), ColorBlue(initial));
  const QColor chosen = QColorDialog::getColor(start, FParent, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<TColor>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
}

std::optional<std::string> TznQtPrompts::OpenFileName(const TznFileDialogRequest& request) {
  QFileDialog dialog(FParent);
  PrepareFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

std::optional<std::string> TznQtPrompts::SaveFileName(const TznFileDialogRequest& request) {
  QFileDialog dialog(FParent);
  PrepareFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The save run takes the name as a prefix for many files and replaces
  // them without asking.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

QString TznQtPrompts::QtFilter(const std::string& filter) {
  // Pairs of description and pattern; Qt shows the description, which
  // already names the pattern, and takes the patterns from its parentheses.
  const QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(';', ' ');
    filters << (description.contains('(') ? description : description + " (" + patterns + ")");
  }
  if (filters.isEmpty() && !parts.isEmpty()) filters << parts.first();
  return filters.join(QStringLiteral(";;"));
}
