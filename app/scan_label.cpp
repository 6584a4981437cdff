#include "app/scan_label.h"

#include "app/window_text.h"

namespace qrsmith::app {

namespace {

constexpr int kLevelQ = 2;  // "高—25%"
constexpr int kLevelH = 3;  // "非常高—30%"

// What helps when the centre icon covers too much: a level that restores
// more, while there is one, and a smaller icon.
QString IconAdvice(const QComboBox& levels) {
  const int level = levels.currentIndex();
  if (level < kLevelQ) {
    return WindowText::tr("请选择“%1”或“%2”，或换用较小的图标。")
        .arg(levels.itemText(kLevelQ), levels.itemText(kLevelH));
  }
  if (level == kLevelQ) {
    return WindowText::tr("请选择“%1”，或换用较小的图标。").arg(levels.itemText(kLevelH));
  }
  return WindowText::tr("请换用较小的图标。");
}

QString Unscannable(verify::ScanVerdict verdict, const QComboBox& levels) {
  switch (verdict) {
    case verify::ScanVerdict::kIconTooLarge:
      return WindowText::tr("无法扫描：中心图标遮住了太多模块。") + IconAdvice(levels);
    case verify::ScanVerdict::kLowContrast:
      return WindowText::tr("无法扫描：前景色与背景色相差太小。请选择深色的前景和浅色的背景。");
    case verify::ScanVerdict::kReadsOtherwise:
      return WindowText::tr("无法扫描：读出的内容与输入的内容不同。");
    default:
      return WindowText::tr(
          "无法扫描：读码器找不到这个二维码。请选择更高的纠错等级，"
          "或去掉中心图标。");
  }
}

}  // namespace

void ShowScanVerdict(QLabel& label, verify::ScanVerdict verdict, const QComboBox& levelList) {
  if (verdict == verify::ScanVerdict::kNoReader) {
    label.hide();
    return;
  }
  const bool scannable = verdict == verify::ScanVerdict::kScannable;
  label.setText(scannable ? WindowText::tr("可以扫描") : Unscannable(verdict, levelList));
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText,
                   QColor::fromRgb(scannable ? kScannableColour : kUnscannableColour));
  label.setPalette(palette);
  label.show();
}

}  // namespace qrsmith::app
