// qrsmith-gui: the desktop program. One generator object for the whole
// process, the main window, and the Qt clipboard behind the clipboard seam.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QSettings>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/dialogs.h"
#include "app/interface_language.h"
#include "app/main_window.h"
#include "generator/qr_generator.h"
#include "platform/clipboard.h"
#include "platform/qt/qt_clipboard.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // A file size limit makes a write fail (and the atomic save remove its
  // temporary file and report it) rather than end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  if (!HasDisplay()) {
    std::fputs(
        "qrsmith-gui: no display to open the window on (neither DISPLAY nor "
        "WAYLAND_DISPLAY is set).\nThe command-line tool works without one: qrsmith TEXT\n",
        stderr);
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qrsmith"));
  QApplication::setApplicationVersion(qrsmith::app::ProductVersion());
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/qrsmith/qrsmith.png")));
  QApplication::setDesktopFileName(QStringLiteral("qrsmith"));
  qrsmith::app::InstallTranslations(application, qrsmith::app::UsersInterfaceLanguage());
  // The placeholder prompt asks for the "黑体" face; where it is missing, an
  // installed CJK sans-serif face stands in.
  QFont::insertSubstitutions(QStringLiteral("黑体"),
                             {QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Micro Hei"),
                              QStringLiteral("Noto Sans CJK SC")});

  qrsmith::platform::InstallClipboard(std::make_shared<qrsmith::platform::QtClipboard>());
  int code = 0;
  {
    qrsmith::QrGenerator generator;  // the process's one generator
    qrsmith::app::QtDialogs dialogs;
    qrsmith::app::MainWindow window(generator, dialogs);
    // ~/.config/qrsmith/qrsmith.conf
    window.UseSettings(
        std::make_unique<QSettings>(QStringLiteral("qrsmith"), QStringLiteral("qrsmith")));
    window.show();
    code = QApplication::exec();
  }
  qrsmith::platform::InstallClipboard(nullptr);  // before the application goes
  return code;
}
