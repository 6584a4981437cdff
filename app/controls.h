#pragma once
// The few controls of the window layout that Qt has no direct widget for:
// a tab control whose pages share its own coordinates (the layout places page
// contents relative to the whole control, tab strip included), a colour
// picker, and the file dialog control, which is not drawn and only holds the
// dialog's filter, starting directory and chosen file.

#include <QFrame>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>
#include <functional>
#include <vector>

#include <qrsmith/app/dialogs.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::app {

class TabControl final : public QWidget {
 public:
  explicit TabControl(QWidget* parent);

  // A new page under `caption`, as large as the whole control.
  QWidget* AddPage(const QString& caption);
  int Count() const { return static_cast<int>(pages_.size()); }
  QWidget* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  QString Caption(int index) const { return bar_->tabText(index); }
  int CurrentIndex() const { return bar_->currentIndex(); }
  void SetCurrentIndex(int index) { bar_->setCurrentIndex(index); }
  QTabBar* Bar() const { return bar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowCurrentPage();

  QTabBar* bar_;
  QFrame* panel_;  // the frame around the pages, below the tab strip
  std::vector<QWidget*> pages_;
};

// A button that shows a colour and lets the user choose another.
class ColourPicker final : public QPushButton {
 public:
  ColourPicker(QWidget* parent, Dialogs& dialogs, Colour initial);

  Colour Value() const { return colour_; }  // 0x00BBGGRR
  void SetValue(Colour colour);
  // Called after every change of the colour.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 private:
  Dialogs& dialogs_;
  Colour colour_;
  std::function<void()> onChange_;
};

// The file-open dialog control: not drawn, it keeps the dialog's settings.
class FileDialogControl final : public QObject {
 public:
  FileDialogControl(QObject* parent, Dialogs& dialogs);

  // "label|pattern|label|pattern|..." pairs, the first in force on opening.
  void SetFilter(const QString& filter) { filter_ = filter; }
  void SetInitialDirectory(const QString& directory) { initialDirectory_ = directory; }
  QString FileName() const { return fileName_; }

  // Shows the dialog; true when a file was chosen (then in FileName()).
  bool Open(QWidget* owner);

  // The filter text as the dialog takes it: "label (pattern)" per pair; the
  // dialog shows the labels alone.
  static QStringList DialogFilters(const QString& filter);

 private:
  Dialogs& dialogs_;
  QString filter_;
  QString initialDirectory_;
  QString fileName_;
};

}  // namespace qrsmith::app
