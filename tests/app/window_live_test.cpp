// What the window shows, saves and copies is the symbol of what it holds now,
// read back by zbar and zxing-cpp from the saved files and from the screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "generator/imaging.h"
#include "tests/app/window_fixture.h"

namespace qrsmith::app {
namespace {

class LiveWindow : public WindowTest {
 protected:
  // The picture and its text as both readers see it; nullopt when either
  // fails or they disagree.
  static std::optional<std::string> ReadBoth(const QImage& image) {
    const auto bitmap = platform::FromQImage(image);
    if (!bitmap) return std::nullopt;
    const auto zbar = testing::DecodeWithZbar(*bitmap, 1);
    const auto zxing = testing::DecodeWithZxing(*bitmap, 1);
    if (!zbar || !zxing || zbar->text != zxing->text) return std::nullopt;
    return zbar->text;
  }
  // Saves with the PNG filter and reads the file back.
  QImage SaveNow(const QString& name) {
    const QString path = folder_.filePath(name);
    dialogs_.nextFiles.push_back(FileAnswer{path, 0});
    Click("按钮3");
    return QImage(path);
  }
  bool PreviewReads(const std::string& text) {
    return QTest::qWaitFor([&] { return ReadSymbol(Preview()) == text; }, 500);
  }
  QTemporaryDir folder_;
};

// Typed over without Generate, a picture pasted, a colour changed, Clear: Save
// writes the symbol of what the window holds after each.
TEST_F(LiveWindow, SaveWritesTheSymbolOfWhatTheWindowHoldsNow) {
  auto* box = Control<QPlainTextEdit>("超级编辑框1");
  Type(QStringLiteral("SAVE-TEST-1"));
  Click("按钮1");
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("https://example.org/NEW-2"));
  EXPECT_TRUE(PreviewReads("https://example.org/NEW-2"));  // within half a second
  EXPECT_EQ(ReadBoth(SaveNow(QStringLiteral("typed.png"))), "https://example.org/NEW-2");

  // A pasted picture's content, saved at once: the pending change is made first.
  Type(QStringLiteral("PASTED-3"));
  QApplication::clipboard()->setImage(SaveNow(QStringLiteral("source.png")));
  Type(QStringLiteral("other"));
  Control("图片框1")->setFocus();
  QTest::keyClick(Control("图片框1"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ReadBoth(SaveNow(QStringLiteral("pasted.png"))), "PASTED-3");

  Control<ColourPicker>("颜色选择器1")->SetValue(0x800000);  // dark blue, as 0x00BBGGRR
  const QImage coloured = SaveNow(QStringLiteral("coloured.png"));
  EXPECT_EQ(coloured.pixel(15, 15), 0xFF000080u);  // the finder's corner module
  EXPECT_EQ(ReadBoth(coloured), "PASTED-3");

  Click("按钮2");
  dialogs_.messages.clear();
  EXPECT_TRUE(SaveNow(QStringLiteral("cleared.png")).isNull());
  Click("按钮4");
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  for (const auto& message : dialogs_.messages) {
    EXPECT_EQ(message.text, QStringLiteral("请先生成二维码！"));
  }
  EXPECT_FALSE(QFile::exists(folder_.filePath(QStringLiteral("cleared.png"))));
  EXPECT_TRUE(Control<QLabel>("状态栏")->toolTip().endsWith(QStringLiteral("coloured.png")));
}

// Content that makes no symbol: the reason in the preview, and Save and Copy
// give the same reason instead of an older symbol.
TEST_F(LiveWindow, ContentWithoutSymbolSaysWhyInThePreviewSaveAndCopy) {
  const struct {
    QString content;
    int encoding, size;
    const char* reason;
  } cases[] = {
      {QString(3000, QLatin1Char('a')), 1, 0,
       "内容太长：纠错级别为低时任何尺寸都放不下，多了47字节。"},
      {QString(62, QLatin1Char('u')), 1, 1, "内容太长：尺寸1、纠错级别低放不下，多了45字节。"},
      {QStringLiteral("smile 😀"), 0, 0,
       "内容中含有无法用所选编码表示的字符，请改用UTF-8编码或修改内容。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    Type(QStringLiteral("good"));
    Control<QComboBox>("组合框1")->setCurrentIndex(1);
    Control<QComboBox>("组合框2")->setCurrentIndex(0);
    ASSERT_TRUE(PreviewReads("good"));
    dialogs_.messages.clear();
    Type(c.content);
    Control<QComboBox>("组合框1")->setCurrentIndex(c.encoding);
    Control<QComboBox>("组合框2")->setCurrentIndex(c.size);
    auto* reason = Control<QLabel>("失败原因");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reason->isVisible(); }, 500));
    EXPECT_EQ(reason->text(), QString::fromUtf8(c.reason));
    EXPECT_FALSE(ReadSymbol(Preview()).has_value());
    EXPECT_TRUE(SaveNow(QStringLiteral("refused.png")).isNull());
    Click("按钮4");
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    for (const auto& message : dialogs_.messages) EXPECT_EQ(message.text, reason->text());
    EXPECT_TRUE(dialogs_.files.empty());
  }
}

// A 131-module symbol (version 28 and its margins) read off the screen: two
// whole pixels a module in the window as it opens, five once it is enlarged.
TEST_F(LiveWindow, ALargeSymbolReadsOffTheScreenAndGrowsWithTheWindow) {
  const QString content =
      QStringLiteral("https://example.org/a/fairly/long/address?with=parameters");
  Type(content);
  Control<QComboBox>("组合框2")->setCurrentIndex(28);
  Click("按钮1");
  ASSERT_EQ(generator_.SymbolWidth(), 131);
  for (const auto& [size, scale] : {std::pair{QSize(472, 697), 2}, {QSize(900, 1000), 5}}) {
    SCOPED_TRACE(scale);
    window_->resize(size);
    const QImage shown = Preview();
    EXPECT_EQ(shown.size(), size - QSize(22, 247));
    EXPECT_EQ(ReadBoth(shown), content.toStdString());
    // The symbol's dark top-left module, centred, at `scale` pixels a module.
    const QPoint corner((shown.width() - 131 * scale) / 2 + scale,
                        (shown.height() - 131 * scale) / 2 + scale);
    EXPECT_EQ(shown.pixel(corner), 0xFF000000u);
    EXPECT_EQ(shown.pixel(corner - QPoint(1, 1)), 0xFFFFFFFFu);
    EXPECT_EQ(shown.pixel(corner + QPoint(7 * scale - 1, 0)), 0xFF000000u);
    EXPECT_EQ(shown.pixel(corner + QPoint(7 * scale, 0)), 0xFFFFFFFFu);
  }
}

}  // namespace
}  // namespace qrsmith::app

namespace qrsmith::app {
namespace {

// The choices of one run are those of the next; a first run (no file) and
// values that make no sense keep the defaults.
TEST(WindowSettings, AreKeptBetweenRunsByLanguageFreeKeys) {
  QTemporaryDir home;
  const QString file = home.filePath(QStringLiteral("qrsmith.conf"));
  const auto open = [&](auto&& use) {
    QrGenerator generator;
    ScriptedDialogs dialogs;
    MainWindow window(generator, dialogs);
    window.UseSettings(std::make_unique<QSettings>(file, QSettings::IniFormat));
    window.show();
    use(window, dialogs);
  };
  open([&](MainWindow& window, ScriptedDialogs& dialogs) {
    const MainForm& form = window.Form();
    EXPECT_EQ(form.encodingList->currentIndex(), 1);  // a first start as without settings
    EXPECT_EQ(form.foregroundPicker->Value(), kBlack);
    EXPECT_EQ(form.moduleMmBox->value(), 0.5);
    EXPECT_EQ(form.dpiBox->value(), 508);
    EXPECT_EQ(form.quietZoneBox->value(), 1);
    form.encodingList->setCurrentIndex(0);
    form.moduleMmBox->setValue(1.25);
    form.dpiBox->setValue(600);
    form.quietZoneBox->setValue(3);
    form.levelList->setCurrentIndex(2);
    form.sizeList->setCurrentIndex(7);
    form.foregroundPicker->SetValue(0x102030);
    form.contentBox->setPlainText(QStringLiteral("kept"));
    dialogs.nextFiles.push_back(FileAnswer{home.filePath(QStringLiteral("k.svg")), 0});
    window.Save();
  });
  {
    QSettings written(file, QSettings::IniFormat);
    EXPECT_EQ(written.value("level").toString(), QStringLiteral("Q"));
    EXPECT_EQ(written.value("encoding").toString(), QStringLiteral("ansi"));
    EXPECT_EQ(written.value("foreground").toString(), QStringLiteral("#302010"));
    EXPECT_EQ(written.value("moduleMm").toDouble(), 1.25);
    EXPECT_EQ(written.value("quietZone").toInt(), 3);
    // The window's SVG is the form of one rectangle a module.
    EXPECT_EQ(written.value("saveForm").toString(), QStringLiteral("svg-rects"));
  }
  open([&](MainWindow& window, ScriptedDialogs& dialogs) {
    const MainForm& form = window.Form();
    EXPECT_EQ(form.encodingList->currentIndex(), 0);
    EXPECT_EQ(form.levelList->currentIndex(), 2);
    EXPECT_EQ(form.sizeList->currentIndex(), 7);
    EXPECT_EQ(form.foregroundPicker->Value(), 0x102030u);
    EXPECT_EQ(form.backgroundPicker->Value(), kWhite);
    EXPECT_EQ(form.moduleMmBox->value(), 1.25);
    EXPECT_EQ(form.dpiBox->value(), 600);
    EXPECT_EQ(form.quietZoneBox->value(), 3);
    form.contentBox->setPlainText(QStringLiteral("again"));
    window.Save();
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_EQ(dialogs.files[0].directory, home.path());
    EXPECT_EQ(dialogs.files[0].selectedFilter, 5);  // SVG
  });
  {
    QSettings nonsense(file, QSettings::IniFormat);
    nonsense.setValue("level", "低");
    nonsense.setValue("version", 99);
    nonsense.setValue("foreground", "black");
    nonsense.setValue("dpi", 99999);
  }
  open([&](MainWindow& window, ScriptedDialogs&) {
    EXPECT_EQ(window.Form().levelList->currentIndex(), 0);
    EXPECT_EQ(window.Form().sizeList->currentIndex(), 0);
    EXPECT_EQ(window.Form().foregroundPicker->Value(), kBlack);
    EXPECT_EQ(window.Form().dpiBox->value(), 508);
  });
}

}  // namespace
}  // namespace qrsmith::app
