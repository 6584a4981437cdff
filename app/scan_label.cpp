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

QString ParameterName(const std::string& name) {
  if (name == "decode") return WindowText::tr("解码");
  if (name == "contrast") return WindowText::tr("对比度");
  if (name == "modulation") return WindowText::tr("调制");
  if (name == "fixed patterns") return WindowText::tr("固定图形");
  if (name == "axial") return WindowText::tr("轴向均匀性");
  if (name == "grid") return WindowText::tr("网格均匀性");
  return WindowText::tr("未用纠错");
}

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

// The advice for the parameter that limits the grade, by its cause.
QString Advice(const verify::ScanGrade& grade, const verify::Parameter& limiting,
               const QComboBox& levels) {
  const auto cause = [&grade](std::string_view start) {
    for (const verify::Parameter& p : grade.parameters) {
      if (StartsWith(p.detail, start)) return true;
    }
    return false;
  };
  if (cause("light on dark")) {
    return WindowText::tr("前景比背景浅，许多读码器读不出。请选择深色的前景和浅色的背景。");
  }
  if (limiting.name == "contrast") {
    return WindowText::tr("前景色与背景色相差太小。请选择深色的前景和浅色的背景。");
  }
  if (cause("icon")) return WindowText::tr("中心图标遮住了太多模块。") + IconAdvice(levels);
  if (limiting.name == "axial" || limiting.name == "grid") {
    return WindowText::tr("模块的像素大小不均匀。请选择每个模块整数个像素的尺寸。");
  }
  if (limiting.name == "fixed patterns") {
    return WindowText::tr(
        "空白边太窄：读码器需要四个模块宽的空白边。放到页面上时请在四周留出空白。");
  }
  if (StartsWith(limiting.detail, "it reads back as")) {
    return WindowText::tr("读出的内容与输入的内容不同。");
  }
  return WindowText::tr("请选择更高的纠错等级。");
}

}  // namespace

void ShowScanVerdict(QLabel& label, const std::optional<verify::ScanGrade>& grade,
                     const QComboBox& levelList) {
  if (!grade) {
    label.hide();
    return;
  }
  const verify::Letter overall = grade->Overall();
  const QString letter(QChar(verify::LetterChar(overall)));
  QString text = WindowText::tr("扫描等级 %1").arg(letter);
  const verify::Parameter* limiting = grade->Limiting();
  if (overall != verify::Letter::kA && limiting != nullptr) {
    text += WindowText::tr("：%1 %2。").arg(ParameterName(limiting->name), letter) +
            Advice(*grade, *limiting, levelList);
  }
  label.setText(text);
  QPalette palette = label.palette();
  palette.setColor(
      QPalette::WindowText,
      QColor::fromRgb(overall >= verify::Letter::kC ? kScannableColour : kUnscannableColour));
  label.setPalette(palette);
  label.show();
}

void ShowScanChecking(QLabel& label) {
  label.setText(WindowText::tr("正在检查能否扫描……"));
  label.setPalette(QPalette());
  label.show();
}

}  // namespace qrsmith::app
