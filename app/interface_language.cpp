#include "app/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qrsmith::app {

InterfaceLanguage ChooseInterfaceLanguage(const QStringList& uiLanguages) {
  for (const QString& name : uiLanguages) {
    const QLocale::Language language = QLocale(name).language();
    // QLocale("C") is English by Qt's reckoning; the C locale names no language.
    if (name == QLatin1String("C") || name.startsWith(QLatin1String("C."))) continue;
    if (language == QLocale::Chinese) return InterfaceLanguage::kChinese;
    if (language == QLocale::English) return InterfaceLanguage::kEnglish;
  }
  return InterfaceLanguage::kChinese;
}

InterfaceLanguage UsersInterfaceLanguage() {
  return ChooseInterfaceLanguage(QLocale::system().uiLanguages());
}

void InstallTranslations(QCoreApplication& application, InterfaceLanguage language) {
  const bool english = language == InterfaceLanguage::kEnglish;
  // Qt's own texts are English at the source; Chinese needs its catalogue.
  if (!english) {
    auto* qt = new QTranslator(&application);
    if (qt->load(QStringLiteral("qtbase_zh_CN"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(qt);
    } else {
      delete qt;
    }
    return;
  }
  // The window's own texts are Chinese at the source; English needs its
  // catalogue, built into the program.
  auto* window = new QTranslator(&application);
  if (window->load(QStringLiteral(":/qrsmith/translations/qrsmith_en.qm"))) {
    QCoreApplication::installTranslator(window);
  } else {
    delete window;
  }
}

}  // namespace qrsmith::app
