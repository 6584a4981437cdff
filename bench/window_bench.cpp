// The window's wait after Generate at version 40: the scan check alone, and
// the whole command as the window runs it (Generate, the preview's paint and
// the scan check on its worker thread), offscreen; a keystroke's
// regeneration and paint on the window's thread, and the time until the scan
// label follows it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <string>

#include "app/main_window.h"
#include "app/save_formats.h"
#include "generator/qr_generator.h"
#include "platform/codecs/image.h"
#include "verify/qr_reader.h"
#include "verify/scan_check.h"

namespace {

using qrsmith::QrGenerator;

const std::string kVersion40Content(2953, 'a');  // fills version 40 at level L

qrsmith::Bytes Icon(int side) {
  return qrsmith::platform::codecs::EncodeImage(
      *qrsmith::platform::Bitmap::Create(side, side, 0x2040C0),
      qrsmith::platform::codecs::ImageFormat::kPng);
}

void BM_ScanCheckVersion40(benchmark::State& state) {
  qrsmith::verify::UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);
  QrGenerator g;
  const int icon = static_cast<int>(state.range(0));
  g.Generate(kVersion40Content, false, 40, 1, -1, 0, qrsmith::kWhite,
             icon ? std::optional(Icon(icon)) : std::nullopt);
  for (auto _ : state) {
    const auto grade = qrsmith::verify::CheckSavedPicture(g, qrsmith::app::kSavePixelsPerModule);
    if (!grade || grade->Overall() < qrsmith::verify::Letter::kC) state.SkipWithError("below C");
  }
}
BENCHMARK(BM_ScanCheckVersion40)->Arg(0)->Arg(32)->Unit(benchmark::kMillisecond);

// Dialogs never open here.
class NoDialogs final : public qrsmith::app::Dialogs {
 public:
  qrsmith::app::MessageAnswer ShowMessage(QWidget*, const qrsmith::app::MessageRequest&) override {
    return qrsmith::app::MessageAnswer::kCancel;
  }
  std::optional<qrsmith::app::FileAnswer> ChooseFile(QWidget*,
                                                     const qrsmith::app::FileRequest&) override {
    return std::nullopt;
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&) override { return std::nullopt; }
};

// Runs the window's events until the scan label shows the verdict.
void WaitForVerdict(const qrsmith::app::MainWindow& window) {
  while (window.ScanCheckPending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_WindowGenerateVersion40(benchmark::State& state) {
  QrGenerator g;
  NoDialogs dialogs;
  qrsmith::app::MainWindow window(g, dialogs);
  window.show();
  const qrsmith::app::MainForm& form = window.Form();
  form.contentBox->setPlainText(QString::fromStdString(kVersion40Content));
  form.sizeList->setCurrentIndex(40);
  for (auto _ : state) {
    window.Generate();
    form.previewArea->repaint();
    WaitForVerdict(window);
  }
  if (!form.scanStatus->isVisible()) state.SkipWithError("no scan verdict shown");
}
// Wall time: the check runs on a worker thread while the window's thread
// waits for events.
BENCHMARK(BM_WindowGenerateVersion40)->Unit(benchmark::kMillisecond)->UseRealTime();

// A keystroke at version 40 on the window's thread, once its pause is over:
// the new symbol made and the preview painted; the scan check follows later.
void BM_WindowKeystrokeVersion40(benchmark::State& state) {
  QrGenerator g;
  NoDialogs dialogs;
  qrsmith::app::MainWindow window(g, dialogs);
  window.show();
  const qrsmith::app::MainForm& form = window.Form();
  form.sizeList->setCurrentIndex(40);
  QString content = QString::fromStdString(kVersion40Content);
  form.contentBox->setPlainText(content);
  int typed = 0;
  for (auto _ : state) {
    content[typed++ % content.size()] = QLatin1Char('b');
    form.contentBox->setPlainText(content);
    window.Refresh();
    form.previewArea->repaint();
  }
  if (!window.MissingSymbolReason().isEmpty()) state.SkipWithError("no symbol");
}
BENCHMARK(BM_WindowKeystrokeVersion40)->Unit(benchmark::kMillisecond);

// From the end of a keystroke's pause to the scan label's verdict (wall
// time): the regeneration and paint, then the check on its worker thread.
void BM_WindowScanLabelAfterKeystroke(benchmark::State& state) {
  QrGenerator g;
  NoDialogs dialogs;
  qrsmith::app::MainWindow window(g, dialogs);
  window.show();
  const qrsmith::app::MainForm& form = window.Form();
  form.sizeList->setCurrentIndex(40);
  QString content = QString::fromStdString(kVersion40Content);
  int typed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    content[typed++ % content.size()] = QLatin1Char('c');
    form.contentBox->setPlainText(content);
    state.ResumeTiming();
    window.Refresh();
    form.previewArea->repaint();
    WaitForVerdict(window);
  }
  if (!form.scanStatus->text().startsWith(QStringLiteral("扫描等级"))) {
    state.SkipWithError("no scan verdict shown");
  }
}
BENCHMARK(BM_WindowScanLabelAfterKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
