#pragma once
// The window's one language: its own texts are written in Chinese, which is
// the default; an English translation is used when the user's interface
// language is English. Qt's own dialogs and buttons are translated into the
// same language, so that the whole window speaks one.

#include <QStringList>

class QCoreApplication;

namespace qrsmith::app {

enum class InterfaceLanguage { kChinese, kEnglish };

// The first Chinese or English entry of the user's interface languages (as
// QLocale::uiLanguages() lists them from LANGUAGE, LC_ALL, LC_MESSAGES and
// LANG) decides; with neither among them (the C locale, say) Chinese.
InterfaceLanguage ChooseInterfaceLanguage(const QStringList& uiLanguages);

// The language for this process's user.
InterfaceLanguage UsersInterfaceLanguage();

// Installs on `application` the window's translation and Qt's own for
// `language`. A missing Qt translation leaves Qt's English texts.
void InstallTranslations(QCoreApplication& application, InterfaceLanguage language);

}  // namespace qrsmith::app
