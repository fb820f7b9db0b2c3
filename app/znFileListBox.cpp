#include "app/znFileListBox.h"

#include <QCollator>
#include <QDir>

#include <algorithm>

#include "base/znSafeFile.h"

TznFileListBox::TznFileListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::currentRowChanged, this, [this](int) { emit Change(); });
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

std::string TznFileListBox::SelectedName() const {
  const QListWidgetItem* item = currentItem();
  return item && item->isSelected() ? item->text().toStdString() : std::string();
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
  SelectIndex(-1);
  return false;
}

bool TznFileListBox::SelectFile(const std::string& name) {
  if (name.empty() || !FileExists(FDirectory + name)) return false;
  if (SelectName(name)) return true;
  Update();
  return SelectName(name);
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
