#pragma once
// The window's texts are written in Chinese, and these source texts are what
// the window shows unless a translation is installed (interface_language.h).
// Every text goes through WindowText::tr() in the one context "qrsmith", so
// that Qt's lupdate finds them all and one catalogue translates them.

#include <QCoreApplication>

namespace qrsmith::app {

struct WindowText {
  Q_DECLARE_TR_FUNCTIONS(qrsmith)
};

}  // namespace qrsmith::app
