#pragma once
// The window's modal dialogs behind one seam: message boxes, file dialogs and
// the colour choice. The program uses the Qt dialogs; tests install a
// scripted implementation that answers from a queue ("the next answer"), so
// that no test ever blocks on a dialog.

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;
class QWidget;

namespace qrsmith::app {

enum class MessageIcon { kStop, kQuestion, kInformation };
enum class MessageButtons { kOk, kOkCancel };
enum class MessageAnswer { kOk, kCancel };

struct MessageRequest {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::kInformation;
  MessageButtons buttons = MessageButtons::kOk;
};

struct FileRequest {
  bool save = false;       // a file-save dialog; otherwise file-open
  QStringList filters;     // "label (*.ext ...)", in the order offered
  int selectedFilter = 0;  // the filter in force when the dialog opens
  QString directory;       // where the dialog starts
  // The dialog lists each filter by its label alone (the text before the
  // last "(pattern)"), for labels that name their pattern in their own way.
  bool labelsOnly = false;
};

struct FileAnswer {
  QString path;    // the full path of the chosen file
  int filter = 0;  // the index of the filter in force when it was chosen
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a modal message box; closing it without a choice answers kCancel
  // for OK/Cancel boxes.
  virtual MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request) = 0;
  // nullopt when the user cancels.
  virtual std::optional<FileAnswer> ChooseFile(QWidget* owner, const FileRequest& request) = 0;
  virtual std::optional<QColor> ChooseColour(QWidget* owner, const QColor& initial) = 0;
};

// Sets up `dialog` for `request`: mode, filters, the filter in force, folder.
void ConfigureFileDialog(QFileDialog& dialog, const FileRequest& request);

// The Qt dialogs: QMessageBox, QFileDialog and QColorDialog.
class QtDialogs final : public Dialogs {
 public:
  MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request) override;
  std::optional<FileAnswer> ChooseFile(QWidget* owner, const FileRequest& request) override;
  std::optional<QColor> ChooseColour(QWidget* owner, const QColor& initial) override;
};

}  // namespace qrsmith::app
