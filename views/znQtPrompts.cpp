#include "views/znQtPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <functional>

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The title of every message box: the program's name as its windows write
// it (the application's name is the program file's, "kalvor").
QString Caption() { return QStringLiteral("Kalvor"); }

// The least width of a dialog whose title bar shows the caption whole, with
// the window's icon and buttons beside it. The window manager's title font
// is not known here: a quarter more than the desktop's title font, and four
// squares of the title bar's height (at least 20 px) for the icon and three
// buttons.
int TitleBarWidth(const QWidget& dialog, const QString& caption) {
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  const int icon_and_buttons = 4 * std::max(dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight), 20);
  return metrics.horizontalAdvance(caption) * 5 / 4 + icon_and_buttons;
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void PrepareFileDialog(QFileDialog& dialog, const TznFileDialogRequest& request) {
  // Without a title of its own the dialog keeps Qt's ("Open", "Save As");
  // an empty one would show the program file's name.
  if (!request.Title.empty()) dialog.setWindowTitle(Q(request.Title));
  if (!request.Filter.empty()) {
    dialog.setNameFilter(TznQtPrompts::QtFilter(request.Filter));
    const QStringList filters = dialog.nameFilters();
    if (request.FilterIndex > 0 && request.FilterIndex < filters.size())
      dialog.selectNameFilter(filters[request.FilterIndex]);
  }
  if (!request.InitialDir.empty()) dialog.setDirectory(Q(request.InitialDir));
  if (!request.FileName.empty()) dialog.selectFile(Q(request.FileName));
  if (!request.DefaultExt.empty()) dialog.setDefaultSuffix(Q(request.DefaultExt));
}

// A label under the dialog's own widgets that shows the information for the
// name in the file name edit and the filter chosen, as they change. It
// needs the dialog's own widgets, not the desktop's.
void AddInformationLine(QFileDialog& dialog, const std::function<std::string(const std::string&, int)>& information) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* layout = qobject_cast<QGridLayout*>(dialog.layout());
  auto* name_edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (!layout || !name_edit) return;
  auto* label = new QLabel(&dialog);
  label->setObjectName(QStringLiteral("lbInformation"));
  layout->addWidget(label, layout->rowCount(), 0, 1, layout->columnCount());
  const auto update = [&dialog, label, name_edit, information] {
    const int filter = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    label->setText(Q(information(name_edit->text().toStdString(), std::max(filter, 0))));
  };
  QObject::connect(name_edit, &QLineEdit::textChanged, label, update);
  QObject::connect(&dialog, &QFileDialog::filterSelected, label, update);
  update();
}

}  // namespace

void TznQtPrompts::ShowMessage(const std::string& text) { QMessageBox::information(FParent, Caption(), Q(text)); }

bool TznQtPrompts::AskYesNo(const std::string& text) {
  return QMessageBox::question(FParent, Caption(), Q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<std::string> TznQtPrompts::InputBox(const std::string& caption, const std::string& prompt,
                                                  const std::string& default_value) {
  QInputDialog dialog(FParent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(Q(caption));
  dialog.setLabelText(Q(prompt));
  dialog.setTextValue(Q(default_value));
  // Sized by its prompt and edit alone, the box is narrower than its
  // caption, and the window manager cuts the caption short.
  const QSize natural = dialog.sizeHint();
  dialog.resize(std::max(natural.width(), TitleBarWidth(dialog, dialog.windowTitle())), natural.height());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<int> TznQtPrompts::Choose(const std::string& caption, const std::string& prompt,
                                        const std::vector<std::string>& choices) {
  QStringList items;
  for (const std::string& choice : choices) items << Q(choice);
  QInputDialog dialog(FParent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  dialog.setWindowTitle(Q(caption));
  dialog.setLabelText(Q(prompt));
  const QSize natural = dialog.sizeHint();
  dialog.resize(std::max(natural.width(), TitleBarWidth(dialog, dialog.windowTitle())), natural.height());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int index = static_cast<int>(items.indexOf(dialog.textValue()));
  if (index < 0) return std::nullopt;
  return index;
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

std::optional<std::string> TznQtPrompts::SaveFileName(TznFileDialogRequest& request) {
  QFileDialog dialog(FParent);
  PrepareFileDialog(dialog, request);
  if (request.Information) AddInformationLine(dialog, request.Information);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The save run takes the name as a prefix for many files and replaces
  // them without asking.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  request.FilterIndex = std::max(0, static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
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
