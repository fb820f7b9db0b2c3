#include "app/znFileListBox.h"

#include <QCollator>
#include <QDir>

#include <algorithm>

#include "base/znSafeFile.h"

TznFileListBox::TznFileListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The selection, not the current row: on a mouse press the current row
  // moves before the entry is selected, so a handler called for the row
  // would find no selection and load nothing.
  connect(this, &QListWidget::itemSelectionChanged, this, &TznFileListBox::Change);
}

void TznFileListBox::SetDirectory(const std::string& folder) {
  FDirectory = folder;
  if (!FDirectory.empty() && FDirectory.back() != '/') FDirectory += '/';
  Update();
}

void TznFileListBox::SetMask(const std::string& mask) {
  FMask = mask;
  Update();
}

void TznFileListBox::Update() {
  QStringList names;
  if (!FDirectory.empty()) {
    QDir dir(QString::fromStdString(FDirectory));
    dir.setNameFilters({QString::fromStdString(FMask)});
    dir.setFilter(QDir::Files | QDir::Hidden);
    names = dir.entryList();
  }
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setNumericMode(false);
  std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  const bool blocked = blockSignals(true);
  clear();
  addItems(names);
  setCurrentRow(-1);
  blockSignals(blocked);
}

QItemSelectionModel::SelectionFlags TznFileListBox::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
  const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
  const bool deselects =
      command.testFlag(QItemSelectionModel::Deselect) || command.testFlag(QItemSelectionModel::Toggle);
  if (deselects && index.isValid() && selectionModel()->isSelected(index)) return QItemSelectionModel::NoUpdate;
  return command;
}

std::string TznFileListBox::SelectedName() const {
  // While the selection changes the current item may still be the old one;
  // the selected items are already the new ones.
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? std::string() : selected.first()->text().toStdString();
}

std::string TznFileListBox::FileName() const {
  const std::string name = SelectedName();
  return name.empty() ? std::string() : FDirectory + name;
}

bool TznFileListBox::SelectName(const std::string& name) {
  const QString wanted = QString::fromStdString(name);
  for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive})
    for (int i = 0; i < count(); ++i)
      if (item(i)->text().compare(wanted, sensitivity) == 0) {
        SelectIndex(i);
        return true;
      }
  return false;
}

bool TznFileListBox::SelectFile(const std::string& name) {
  if (name.empty() || !MatchesMask(name) || !FileExists(FDirectory + name)) return false;
  if (SelectName(name)) return true;
  // Made after the list was read: read the folder again, and if the file is
  // still not listed, put the selection back where it was without loading.
  const std::string previous = SelectedName();
  Update();
  if (SelectName(name)) return true;
  const bool blocked = blockSignals(true);
  SelectName(previous);
  blockSignals(blocked);
  return false;
}

bool TznFileListBox::MatchesMask(const std::string& name) const {
  return QDir::match(QString::fromStdString(FMask), QString::fromStdString(name));
}

void TznFileListBox::SelectIndex(int index) {
  const int row = index >= 0 && index < count() ? index : -1;
  if (row == currentRow() && (row < 0 || item(row)->isSelected())) {
    emit Change();  // selecting the same entry again still reloads it
    return;
  }
  if (row < 0) clearSelection();
  setCurrentRow(row);
  if (row >= 0) item(row)->setSelected(true);
}

std::vector<std::string> TznFileListBox::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < count(); ++i) names.push_back(item(i)->text().toStdString());
  return names;
}
