// The main window's choices kept between runs: encoding, size, level,
// colours, the printed size and quiet zone, the save form and the last
// folders, under keys that name no text of either language.

#include <QComboBox>
#include <QSettings>
#include <algorithm>

#include "app/main_window.h"
#include "app/main_window_shared.h"
#include "app/save_formats.h"
#include "encoder/qr_encoder.h"
#include "platform/colour.h"

namespace qrsmith::app {

namespace {

// The level list's entries L, M, Q, H, as the settings name them.
QString LevelKey(int index) {
  return QString(QLatin1Char(LevelLetter(static_cast<Level>(std::clamp(index, 0, 3) + 1))));
}

QString ColourKey(Colour colour) {  // #rrggbb
  return QStringLiteral("#%1").arg(platform::SwapRedBlue(colour), 6, 16, QLatin1Char('0'));
}

std::optional<Colour> ColourOfKey(const QString& key) {
  if (!key.startsWith(QLatin1Char('#')) || key.size() != 7) return std::nullopt;
  const auto parsed = platform::ParseColourText(key.mid(1).toStdString());
  if (!parsed) return std::nullopt;
  return parsed->colour;
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
    if (level == LevelKey(i)) form_.levelList->setCurrentIndex(i);
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
  const double moduleMm = s.value(QStringLiteral("moduleMm")).toDouble(&ok);
  if (ok && moduleMm >= form_.moduleMmBox->minimum() && moduleMm <= form_.moduleMmBox->maximum()) {
    form_.moduleMmBox->setValue(moduleMm);
  }
  for (const auto& [key, box] :
       {std::pair{"dpi", form_.dpiBox}, {"quietZone", form_.quietZoneBox}}) {
    const int value = s.value(QLatin1String(key)).toInt(&ok);
    if (ok && value >= box->minimum() && value <= box->maximum()) box->setValue(value);
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
  s.setValue(QStringLiteral("level"), LevelKey(form_.levelList->currentIndex()));
  s.setValue(QStringLiteral("version"), form_.sizeList->currentIndex());
  s.setValue(QStringLiteral("foreground"), ColourKey(form_.foregroundPicker->Value()));
  s.setValue(QStringLiteral("background"), ColourKey(form_.backgroundPicker->Value()));
  s.setValue(QStringLiteral("moduleMm"), form_.moduleMmBox->value());
  s.setValue(QStringLiteral("dpi"), form_.dpiBox->value());
  s.setValue(QStringLiteral("quietZone"), form_.quietZoneBox->value());
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
