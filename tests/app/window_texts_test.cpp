// Every text of the window is shown whole, in both languages: each control's
// size hint (its text at the window's font) fits the place the layout gives
// it; and the whole window fits small and scaled screens.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTranslator>

#include "app/interface_language.h"
#include "tests/app/window_fixture.h"

namespace qrsmith::app {
namespace {

// What of `control` is cut off, or empty when its text shows whole.
QString Clipped(QWidget* control) {
  const auto fits = [](int needed, int given, const QString& text) {
    return needed <= given
               ? QString()
               : QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(needed).arg(given);
  };
  if (auto* label = qobject_cast<QLabel*>(control)) {
    if (label->text().isEmpty()) return {};
    const int height =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    if (!label->wordWrap()) {
      if (QString why = fits(label->sizeHint().width(), label->width(), label->text());
          !why.isEmpty())
        return why;
    }
    return fits(height, label->height(), label->text());
  }
  if (auto* button = qobject_cast<QPushButton*>(control)) {
    const QString text = QString(button->text()).remove(QLatin1Char('&'));
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return fits(button->fontMetrics().horizontalAdvance(text) + icon + 8, button->width(), text);
  }
  if (auto* list = qobject_cast<QComboBox*>(control)) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.rect = list->rect();
    const int field =
        list->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
            .width();
    for (int i = 0; i < list->count(); ++i) {
      const QString text = list->itemText(i);
      if (QString why = fits(list->fontMetrics().horizontalAdvance(text), field, text);
          !why.isEmpty())
        return why;
    }
    return {};
  }
  if (auto* box = qobject_cast<QAbstractSpinBox*>(control)) {
    // Its hint holds the widest of its range's values, with the arrows.
    return fits(box->sizeHint().width(), box->width(), box->text());
  }
  if (auto* group = qobject_cast<QGroupBox*>(control)) {
    return fits(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width(),
                group->title());
  }
  return {};
}

TEST(WindowTexts, ShowWholeInBothLanguages) {
  for (const InterfaceLanguage language :
       {InterfaceLanguage::kChinese, InterfaceLanguage::kEnglish}) {
    SCOPED_TRACE(language == InterfaceLanguage::kChinese ? "Chinese" : "English");
    InstallTranslations(*qApp, language);
    QrGenerator generator;
    ScriptedDialogs dialogs;
    MainWindow window(generator, dialogs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (QWidget* control : window.findChildren<QWidget*>()) {
      if (control->objectName().isEmpty()) continue;
      const QString why = Clipped(control);
      EXPECT_TRUE(why.isEmpty()) << control->objectName().toStdString() << ": "
                                 << why.toStdString();
    }
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
}

// The whole window, title bar included, on the free area of small and scaled
// screens (in the logical pixels Qt lays out in): a 1366 x 768 screen at
// scale 1 and 2560 x 1440 at scale 2, each with a 28-pixel panel.
TEST(WindowTexts, TheWholeWindowFitsSmallAndScaledScreens) {
  const QRect opened(kWindowLeft, kWindowTop, kClientWidth, kClientHeight);
  const QRect screens[] = {{0, 0, 1366, 740}, {0, 28, 1280, 692}, {0, 0, 1920, 1050}};
  for (const QRect& available : screens) {
    const QRect place = FitOnScreen(opened, available, 40);
    EXPECT_TRUE(available.contains(place.adjusted(0, 0, 0, 40))) << available.height();
    EXPECT_GE(place.height(), kMinimumClientHeight);
    if (available.height() >= kClientHeight + 40 + kWindowTop) {
      EXPECT_EQ(place, opened);
    }
  }
}

}  // namespace
}  // namespace qrsmith::app
