#pragma once
// The main window: the layout of form_layout.* and its commands (Generate,
// Clear, Save, Copy, Close, the icon file choice and the exit confirmation),
// their keys, and the reading of a symbol's picture dropped or pasted on the
// preview area.
// The window only reads its controls and calls the generator; symbols,
// files and formats live in the core.

#include <QFutureWatcher>
#include <QSettings>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <qrsmith/app/dialogs.h>
#include <qrsmith/app/form_layout.h>
#include <qrsmith/platform/qt/qt_preview_window.h>
#include <qrsmith/verify/grade.h>

class QMimeData;
class QTimer;

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::app {

// The preview draws the symbol at the largest whole number of pixels a
// module that fits the preview area, but never fewer than this: one pixel a
// module cannot be read off a screen.
inline constexpr std::int32_t kLeastPreviewPixelsPerModule = 2;
// How long the window waits after a change before it makes the new symbol,
// so that typing is not slowed by a symbol for every keystroke.
inline constexpr int kRefreshDelayMs = 150;

class MainWindow final : public QWidget {
 public:
  MainWindow(QrGenerator& generator, Dialogs& dialogs);
  ~MainWindow() override;

  // Keeps the choices between runs in `settings` (the program passes the
  // user's; without it nothing is kept): read when the window first opens,
  // written when it goes. The keys name no text of either language.
  void UseSettings(std::unique_ptr<QSettings> settings) { settings_ = std::move(settings); }

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
  // Makes the symbol for what the controls hold now, as the pause after a
  // change does: no message box, the reason shown in the preview instead.
  void Refresh();
  // Why Save and Copy have no symbol to hand out; empty while they have one.
  QString MissingSymbolReason() const;
  // Whether the scan label is still waiting for the check of the symbol on show.
  bool ScanCheckPending() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Drops and pastes on the preview area and the icon path box.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetUpOnOpen();
  bool ConfirmExit();
  void ShowPlaceholders(bool visible);
  void ShowPreview();
  void HidePreview();
  void ShowFailure(const QString& reason);
  void Stop(const char* title, const QString& text);  // `title` untranslated
  struct Refusal {
    const char* title;  // untranslated
    QString text;
  };
  // Makes the symbol of the controls' values; the reason when it cannot.
  std::optional<Refusal> MakeSymbol();
  void ContentChanged();
  void CheckScan();
  void StartScanCheck();
  void ScanCheckDone();
  void ShowStatus(const QString& text);
  void ReadSettings();
  void WriteSettings();
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
  // True while the generator's symbol is the one of the controls' values.
  bool symbolCurrent_ = false;
  // Why there is no current symbol (empty: none was asked for yet, or Clear).
  QString failure_;
  QTimer* refreshTimer_;
  // The scan check runs on a worker thread, on a copy of the symbol, so that
  // typing never waits for it. Each symbol made gets the next serial number;
  // a verdict on an older symbol than the one on show is dropped.
  QFutureWatcher<std::optional<verify::ScanGrade>>* scanCheck_;
  std::uint64_t symbolSerial_ = 0;   // of the symbol on show
  std::uint64_t checkedSerial_ = 0;  // of the symbol the running check grades
  bool scanCheckQueued_ = false;     // a newer symbol waits for the running check
  // From the start of a check until its verdict is handled on this thread; the
  // watcher stops running before its finished signal arrives here.
  bool scanCheckBusy_ = false;
  // The icon folder last browsed in this run.
  QString lastIconFolder_;
  std::unique_ptr<QSettings> settings_;
  // Save's memory for this run: the folder last saved to and the form last
  // saved in (its index among the save filters).
  QString lastSaveFolder_;
  int lastSaveForm_ = 0;
};

}  // namespace qrsmith::app
