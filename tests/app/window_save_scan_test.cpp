// Save's overwrite question and memory, and the scan label under the symbol.

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>

#include "tests/app/window_fixture.h"

namespace qrsmith::app {
namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(WindowTest, SaveAsksBeforeReplacingTheFileItsAddedExtensionNames) {
  Type(QStringLiteral("replace"));
  Click("按钮1");
  QTemporaryDir folder;
  const QString existing = folder.filePath(QStringLiteral("f0.png"));
  QFile old(existing);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  const struct {
    MessageAnswer answer;
    bool replaced;
  } cases[] = {{MessageAnswer::kCancel, false}, {MessageAnswer::kOk, true}};
  for (const auto& c : cases) {
    dialogs_.messages.clear();
    dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QStringLiteral("f0")), 0});
    dialogs_.nextMessages.push_back(c.answer);
    Click("按钮3");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kQuestion);
    EXPECT_EQ(dialogs_.messages[0].buttons, MessageButtons::kOkCancel);
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("f0.png")));
    EXPECT_EQ(Contents(existing).startsWith("\x89PNG"), c.replaced);
  }
  // A name whose added extension names no file yet asks nothing.
  dialogs_.messages.clear();
  dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QStringLiteral("f1")), 0});
  Click("按钮3");
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(Contents(folder.filePath(QStringLiteral("f1.png"))).startsWith("\x89PNG"));
}

TEST_F(WindowTest, SaveOpensInTheLastFolderElsePicturesElseHomeWithTheLastForm) {
  QTemporaryDir home, elsewhere;
  const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
  Type(QStringLiteral("folders"));
  Click("按钮1");
  // Opens the dialog and answers `path` and `filter`; an empty path cancels.
  const auto opened = [this](const QString& path = QString(), int filter = 0) {
    if (!path.isEmpty()) dialogs_.nextFiles.push_back(FileAnswer{path, filter});
    Click("按钮3");
    return dialogs_.files.back();
  };
  EXPECT_EQ(opened().directory, home.path());
  ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Pictures")));
  const FileRequest first = opened(elsewhere.filePath(QStringLiteral("a")), 5);
  EXPECT_EQ(first.directory, home.filePath(QStringLiteral("Pictures")));
  EXPECT_EQ(first.selectedFilter, 0);
  // The form written counts, not the filter: a typed ".png" under the SVG filter is PNG.
  const FileRequest second = opened(elsewhere.filePath(QStringLiteral("b.png")), 5);
  EXPECT_EQ(second.directory, elsewhere.path());
  EXPECT_EQ(second.selectedFilter, 5);
  EXPECT_EQ(opened().selectedFilter, 0);
  qputenv("HOME", oldHome);
  if (oldConfig.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", oldConfig);
  }
}

// The Basic page's printed size and quiet zone, as the files' readers see
// them: 1 mm at 300 dpi is 12 pixels a module, and the PDF page is the
// symbol and its 2-module quiet zone at 1 mm a module.
TEST_F(WindowTest, SaveWritesTheBasicPagesPrintedSizeAndQuietZone) {
  const QString content = QStringLiteral("printed size");
  Type(content);
  Control<QDoubleSpinBox>("数值框1")->setValue(1.0);
  Control<QSpinBox>("数值框2")->setValue(300);
  Control<QSpinBox>("数值框3")->setValue(2);
  Click("按钮1");
  const int modules = 17 + 4 * generator_.SymbolVersion();
  ASSERT_EQ(generator_.SymbolWidth(), modules + 4);
  QTemporaryDir folder;
  for (const char* name : {"s.png", "s.pdf"}) {
    dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QString::fromUtf8(name)), 0});
    Click("按钮3");
  }
  ASSERT_TRUE(dialogs_.messages.empty());

  const QImage png(folder.filePath(QStringLiteral("s.png")));
  EXPECT_EQ(png.width(), 12 * (modules + 4));
  EXPECT_EQ(png.dotsPerMeterX(), 11811);  // 300 dpi
  EXPECT_EQ(ReadSymbol(png), content.toStdString());

  QProcess pdfinfo;
  pdfinfo.start(QStringLiteral("pdfinfo"), {folder.filePath(QStringLiteral("s.pdf"))});
  ASSERT_TRUE(pdfinfo.waitForFinished(30000));
  const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
  double w = 0, h = 0;
  ASSERT_EQ(std::sscanf(info.mid(info.indexOf(QStringLiteral("Page size:"))).toUtf8().constData(),
                        "Page size: %lf x %lf", &w, &h),
            2)
      << info.toStdString();
  EXPECT_NEAR(w, (modules + 4) * 72 / 25.4, 0.01);
  EXPECT_NEAR(h, w, 0.001);

  // Under one pixel a module (0.1 mm at 72 dpi) or wider than a picture can
  // be (10 mm at 2400 dpi): said, and nothing written.
  for (const auto& [mm, dpi] : {std::pair{0.1, 72}, {10.0, 2400}}) {
    Control<QDoubleSpinBox>("数值框1")->setValue(mm);
    Control<QSpinBox>("数值框2")->setValue(dpi);
    dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QStringLiteral("no.png")), 0});
    Click("按钮3");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kStop);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("no.png"))));
    dialogs_.messages.clear();
  }
}

TEST_F(WindowTest, TheScanLabelGradesEverySymbolAndSaysWhatHelps) {
  QTemporaryDir folder;
  const QString iconPath = folder.filePath(QStringLiteral("icon.png"));
  ASSERT_TRUE(SaveSolidPicture(iconPath, 48, QColor(0, 64, 192)));
  auto* label = Control<QLabel>("扫描结果");
  const QString iconAdvice = QString::fromUtf8("中心图标遮住了太多模块。");
  const struct {
    const char* name;
    bool icon;
    int level;          // index in the level list
    const char* start;  // the label's first words: the grade and what limits it
    bool adviceOnIcon;
    QRgb colour;
  } cases[] = {
      // The window's one-module margin is a narrow quiet zone.
      {"plain", false, 0, "扫描等级 C：固定图形 C。空白边太窄：", false, 0x008000},
      {"icon at L", true, 0, "扫描等级 F：", true, 0xC00000},
      {"icon at H", true, 3, "扫描等级 C：", true, 0x008000},
  };
  Type(QStringLiteral("scan me"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Control<QLineEdit>("编辑框1")->setText(c.icon ? iconPath : QString());
    Control<QComboBox>("组合框3")->setCurrentIndex(c.level);
    Click("按钮1");
    // The check runs on a worker thread; the label says so until it is done.
    EXPECT_TRUE(label->isVisible());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return label->text().startsWith(QString::fromUtf8("扫描等级")); }));
    EXPECT_TRUE(label->text().startsWith(QString::fromUtf8(c.start)))
        << label->text().toStdString();
    EXPECT_EQ(label->text().contains(iconAdvice), c.adviceOnIcon) << label->text().toStdString();
    EXPECT_EQ(label->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, c.colour);
  }
  Click("按钮2");
  EXPECT_FALSE(label->isVisible());
}

// Symbols made while an earlier one is being checked: the label ends on the
// verdict of the symbol on show, never an older one, and a window closed
// mid-check lets its worker finish.
TEST_F(WindowTest, TheScanLabelNeverShowsTheVerdictOfAnOlderSymbol) {
  QTemporaryDir folder;
  const QString iconPath = folder.filePath(QStringLiteral("icon.png"));
  ASSERT_TRUE(SaveSolidPicture(iconPath, 48, QColor(0, 64, 192)));
  auto* label = Control<QLabel>("扫描结果");
  Type(QStringLiteral("older and newer"));
  Control<QLineEdit>("编辑框1")->setText(iconPath);
  Click("按钮1");  // graded F at level L with the icon
  Control<QLineEdit>("编辑框1")->clear();
  Click("按钮1");  // graded C without it
  EXPECT_TRUE(window_->ScanCheckPending());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->ScanCheckPending(); }));
  EXPECT_TRUE(label->text().startsWith(QString::fromUtf8("扫描等级 C")))
      << label->text().toStdString();
  Click("按钮1");
  window_.reset();
}

}  // namespace
}  // namespace qrsmith::app
