// The main window's choices kept between runs: encoding, size, level,
// colours, the save form and the last folders, under keys that name no text
// of either language.

#include <QComboBox>
#include <QSettings>
#include <algorithm>

#include "app/main_window.h"
#include "app/main_window_shared.h"
#include "app/save_formats.h"

namespace qrsmith::app {

namespace {

constexpr const char* kLevelKeys[] = {"L", "M", "Q", "H"};

QString ColourKey(Colour colour) {  // #RRGGBB
  return QStringLiteral("#%1").arg(
      ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF), 6, 16,
      QLatin1Char('0'));
}

std::optional<Colour> ColourOfKey(const QString& key) {
  bool ok = false;
  const uint rgb = key.mid(1).toUInt(&ok, 16);
  if (!key.startsWith(QLatin1Char('#')) || key.size() != 7 || !ok) return std::nullopt;
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

}  // namespace

// Values that are missing or out of range leave the first start's choice.
void MainWindow::ReadSettings() {
  if (!settings_) return;
  QSettings& s = *settings_;
  const QString encoding = s.value(QStringLiteral("encoding")).toString();
  if (encoding == QLatin1String("ansi")) form_.encodingList->setCurrentIndex(0);
  if (encoding == QLatin1String("utf-8")) form_.encodingList->setCurrentIndex(kUtf8EncodingIndex);
  const QString level = s.value(QStringLiteral("level")).toString();
  for (int i = 0; i < 4; ++i) {
    if (level == QLatin1String(kLevelKeys[i])) form_.levelList->setCurrentIndex(i);
  }
  bool ok = false;
  const int version = s.value(QStringLiteral("version")).toInt(&ok);
  if (ok && version >= 0 && version <= kLargestVersion) form_.sizeList->setCurrentIndex(version);
  if (const auto c = ColourOfKey(s.value(QStringLiteral("foreground")).toString())) {
    form_.foregroundPicker->SetValue(*c);
  }
  if (const auto c = ColourOfKey(s.value(QStringLiteral("background")).toString())) {
    form_.backgroundPicker->SetValue(*c);
  }
  lastSaveFolder_ = s.value(QStringLiteral("saveFolder")).toString();
  lastIconFolder_ = s.value(QStringLiteral("iconFolder")).toString();
  const auto forms = SaveForms();
  const QString formName = s.value(QStringLiteral("saveForm")).toString();
  for (std::size_t i = 0; i < forms.size(); ++i) {
    if (formName ==
        QString::fromUtf8(forms[i]->name.data(), static_cast<qsizetype>(forms[i]->name.size()))) {
      lastSaveForm_ = static_cast<int>(i);
    }
  }
}

void MainWindow::WriteSettings() {
  if (!settings_ || !setUp_) return;
  QSettings& s = *settings_;
  s.setValue(QStringLiteral("encoding"), form_.encodingList->currentIndex() == kUtf8EncodingIndex
                                             ? QStringLiteral("utf-8")
                                             : QStringLiteral("ansi"));
  s.setValue(QStringLiteral("level"),
             QLatin1String(kLevelKeys[std::clamp(form_.levelList->currentIndex(), 0, 3)]));
  s.setValue(QStringLiteral("version"), form_.sizeList->currentIndex());
  s.setValue(QStringLiteral("foreground"), ColourKey(form_.foregroundPicker->Value()));
  s.setValue(QStringLiteral("background"), ColourKey(form_.backgroundPicker->Value()));
  s.setValue(QStringLiteral("saveFolder"), lastSaveFolder_);
  s.setValue(QStringLiteral("iconFolder"), lastIconFolder_);
  const auto forms = SaveForms();
  if (lastSaveForm_ >= 0 && lastSaveForm_ < static_cast<int>(forms.size())) {
    const std::string_view name = forms[static_cast<std::size_t>(lastSaveForm_)]->name;
    s.setValue(QStringLiteral("saveForm"),
               QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  s.sync();
}

}  // namespace qrsmith::app
