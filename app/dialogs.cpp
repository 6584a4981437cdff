#include "app/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace qrsmith::app {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kInformation:
      break;
  }
  return QMessageBox::Information;
}

}  // namespace

MessageAnswer QtDialogs::ShowMessage(QWidget* owner, const MessageRequest& request) {
  const bool okCancel = request.buttons == MessageButtons::kOkCancel;
  QMessageBox box(ToQtIcon(request.icon), request.title, request.text,
                  okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
  if (okCancel) box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok ? MessageAnswer::kOk : MessageAnswer::kCancel;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileRequest& request) {
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails, request.labelsOnly);
  dialog.setNameFilters(request.filters);
  if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size()) {
    dialog.selectNameFilter(request.filters[request.selectedFilter]);
  }
  dialog.setDirectory(request.directory);
}

std::optional<FileAnswer> QtDialogs::ChooseFile(QWidget* owner, const FileRequest& request) {
  QFileDialog dialog(owner);
  ConfigureFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FileAnswer{dialog.selectedFiles().front(),
                    static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()))};
}

std::optional<QColor> QtDialogs::ChooseColour(QWidget* owner, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, owner);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace qrsmith::app
