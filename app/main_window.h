#pragma once
// The main window: the layout of form_layout.* and its commands (Generate,
// Clear, Save, Copy, Close, the icon file choice and the exit confirmation),
// their keys, and the reading of a symbol's picture dropped or pasted on the
// preview area.
// The window only reads its controls and calls the generator; symbols,
// files and formats live in the core.

#include <QWidget>
#include <functional>

#include "app/dialogs.h"
#include "app/form_layout.h"
#include "platform/qt/qt_preview_window.h"

class QMimeData;

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::app {

// Preview of a generated symbol: a 100 x 100 square in the middle of the
// preview area, on white (the offsets and noise matter only on a picture).
inline constexpr std::int32_t kPreviewSquare = 100;

class MainWindow final : public QWidget {
 public:
  MainWindow(QrGenerator& generator, Dialogs& dialogs);

  const MainForm& Form() const { return form_; }
  // What ends the process once the Close button's confirmation is answered
  // OK; by default the application's event loop ends with the code.
  void SetProcessEnd(std::function<void(int)> end) { endProcess_ = std::move(end); }

  // The commands, as the buttons run them.
  void Generate();
  void Clear();
  void Save();
  void Copy();
  void CloseCommand();
  void BrowseIcon();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Drops and pastes on the preview area and the icon path box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpOnOpen();
  bool ConfirmExit();
  void ShowPlaceholders(bool visible);
  void ShowPreview();
  void HidePreview();
  void Stop(const char* title, const QString& text);  // `title` untranslated
  void Refuse(const char* title, const QString& text);
  void AddShortcuts();
  void ReadCode(const QMimeData& data);
  void SetContent(const QString& text);
  bool RefuseWithoutSymbol();
  QString SaveFolder() const;
  bool ConfirmReplace(const QString& path);

  QrGenerator& generator_;
  Dialogs& dialogs_;
  MainForm form_;
  platform::QtPreviewWindow preview_;
  std::function<void(int)> endProcess_;
  bool setUp_ = false;
  // Save's memory for this run: the folder last saved to and the form last
  // saved in (its index among the save filters).
  QString lastSaveFolder_;
  int lastSaveForm_ = 0;
};

}  // namespace qrsmith::app
