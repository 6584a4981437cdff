// The window as a desktop user works it: the content handed over as typed,
// the keyboard, the lists' pop-ups, the icon dialog's filters, the window's
// language, and symbols read back from dropped or pasted pictures.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QUrl>

#include "app/interface_language.h"
#include "app/save_formats.h"
#include "platform/clipboard.h"
#include "platform/qt/qt_clipboard.h"
#include "tests/app/window_fixture.h"

namespace qrsmith::app {
namespace {

class WindowUse : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  QPlainTextEdit* ContentBox() const { return Control<QPlainTextEdit>("超级编辑框1"); }
  void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(target, key, modifiers);
  }
};

TEST_F(WindowUse, ContentReachesTheGeneratorAsTyped) {
  const struct {
    const char16_t* pasted;
    const char* sent;  // nullptr: refused with the ANSI choice
    int encoding;
  } cases[] = {
      {u"a\u00A0b", "a\u00A0b", 1},
      {u"a\u2028b", "a\u2028b", 1},
      {u"a\u2029b\nc", "a\nb\nc", 1},  // paragraph breaks as line feeds
      {u"a\u00A0b", nullptr, 0},       // GBK holds no U+00A0: refused, not a space
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent ? c.sent : "refused");
    dialogs_.messages.clear();
    ContentBox()->clear();
    ContentBox()->insertPlainText(QString::fromUtf16(c.pasted));
    Control<QComboBox>("组合框1")->setCurrentIndex(c.encoding);
    Click("按钮1");
    if (c.sent != nullptr) {
      EXPECT_EQ(generator_.Content(), c.sent);
      EXPECT_TRUE(dialogs_.messages.empty());
    } else {
      ASSERT_EQ(dialogs_.messages.size(), 1u);
      EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("编码错误"));
    }
  }
}

TEST_F(WindowUse, KeysRunTheCommandsAndMoveTheFocus) {
  EXPECT_EQ(QApplication::focusWidget(), ContentBox());
  QTest::keyClicks(ContentBox(), QStringLiteral("keys"));
  Press(ContentBox(), Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), ContentBox());
  EXPECT_EQ(ContentBox()->toPlainText(), QStringLiteral("keys"));
  ContentBox()->setFocus();
  Press(ContentBox(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_NE(QApplication::focusWidget(), ContentBox());
  ContentBox()->setFocus();

  Press(ContentBox(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(generator_.Content(), "keys");
  EXPECT_FALSE(PlaceholdersVisible());
  Press(ContentBox(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.files.size(), 1u);
  EXPECT_TRUE(dialogs_.files[0].save);

  const auto previous = platform::InstallClipboard(std::make_shared<platform::QtClipboard>());
  QApplication::clipboard()->clear();
  Press(ContentBox(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ReadSymbol(QApplication::clipboard()->image()), "keys");
  platform::InstallClipboard(previous);

  auto* tabs = Control<TabControl>("选择夹1");
  Press(ContentBox(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->CurrentIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), Control("编辑框2"));  // the page's first control
  Press(window_.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  Press(window_.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tabs->CurrentIndex(), 4);  // round from the first to the last page

  Type(QStringLiteral("alt"));
  Press(window_.get(), Qt::Key_G, Qt::AltModifier);  // clicks the button, after a moment
  EXPECT_TRUE(QTest::qWaitFor([this] { return generator_.Content() == "alt"; }));
}

TEST_F(WindowUse, ListPopupsShowTheirItemsWholeAndTheSizeListScrolls) {
  for (const char* name : {"组合框1", "组合框2", "组合框3"}) {
    SCOPED_TRACE(name);
    auto* list = Control<QComboBox>(name);
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
      widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    }
    list->showPopup();
    EXPECT_GT(list->view()->viewport()->width(), widest);
    EXPECT_EQ(list->width(), 140);
    if (list->count() == 41) {
      EXPECT_LT(list->view()->height(), list->view()->sizeHintForRow(0) * 20);
    }
    list->hidePopup();
  }
}

TEST_F(WindowUse, IconDialogShowsItsFiltersAsWritten) {
  Click("按钮6");
  ASSERT_EQ(dialogs_.files.size(), 1u);
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ConfigureFileDialog(dialog, dialogs_.files[0]);
  const auto* shown = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(shown, nullptr);
  QStringList labels;
  for (int i = 0; i < shown->count(); ++i) labels << shown->itemText(i);
  EXPECT_EQ(labels,
            (QStringList{"BMP图像(*.bmp)", "JPG图像（*.jpg）", "GIF图像（*.gif）",
                         "ICO图标（*.ico）", "PNG图像（*.png）", "所有图片", "所有文件（*.*）"}));
}

// --- Language ----------------------------------------------------------------------

TEST(InterfaceLanguage, EnglishOnlyWhenTheUserAsksForIt) {
  using enum InterfaceLanguage;
  const std::pair<QStringList, InterfaceLanguage> cases[] = {
      {{"zh-CN"}, kChinese},
      {{"en-US"}, kEnglish},
      {{"C"}, kChinese},
      {{}, kChinese},
      {{"de-DE", "en-GB"}, kEnglish},
      {{"de-DE"}, kChinese},
      {{"zh-TW", "en-US"}, kChinese},
      {{"en", "zh-CN"}, kEnglish},
  };
  for (const auto& [languages, expected] : cases) {
    EXPECT_EQ(ChooseInterfaceLanguage(languages), expected) << languages.join(',').toStdString();
  }
}

// The window's texts and Qt's own in the chosen language.
TEST(Translations, SpeakTheWindowsLanguage) {
  const struct {
    InterfaceLanguage language;
    const char* generate;
    const char* cancel;  // a message-box button
  } cases[] = {{InterfaceLanguage::kEnglish, "&Generate!", "Cancel"},
               {InterfaceLanguage::kChinese, "生成(&G)！", "取消"}};
  for (const auto& c : cases) {
    InstallTranslations(*qApp, c.language);
    QrGenerator generator;
    ScriptedDialogs dialogs;
    MainWindow window(generator, dialogs);
    EXPECT_EQ(window.Form().generateButton->text(), QString::fromUtf8(c.generate));
    EXPECT_EQ(window.Form().generateButton->shortcut(), QKeySequence(Qt::ALT | Qt::Key_G));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel));
    if (c.language == InterfaceLanguage::kEnglish) {
      // Every form of the save dialog, the ones added later too, has its English name.
      for (const QString& filter : SaveFilters()) {
        EXPECT_FALSE(filter.contains(QRegularExpression(QStringLiteral("[\\x{2E80}-\\x{9FFF}]"))))
            << filter.toStdString();
      }
    }
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }
}

// --- Reading a symbol back ---------------------------------------------------------

class ReadBack : public WindowUse {
 protected:
  // The window's own saved picture of `content`, in a file.
  QString SymbolPicture(const QString& content, int encoding) {
    Type(content);
    Control<QComboBox>("组合框1")->setCurrentIndex(encoding);
    Click("按钮1");
    const QString path = folder_.filePath(QStringLiteral("symbol%1.png").arg(encoding));
    dialogs_.nextFiles.push_back(FileAnswer{path, 0});
    Click("按钮3");
    Type(QString());
    return path;
  }
  void Drop(QWidget* target, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }
  static std::unique_ptr<QMimeData> FileData(const QString& path) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
  }
  QTemporaryDir folder_;
};

TEST_F(ReadBack, DroppedOrPastedPicturesFillTheContentBox) {
  const QString utf8 = QStringLiteral("读我 read");
  const QString gbk = QStringLiteral("二维码 gbk");
  const QString utf8Picture = SymbolPicture(utf8, 1);
  const QString gbkPicture = SymbolPicture(gbk, 0);  // ANSI: GBK bytes in the symbol

  Drop(Control("图片框1"), *FileData(utf8Picture));
  EXPECT_EQ(ContentBox()->toPlainText(), utf8);
  Drop(Control("图片框1"), *FileData(gbkPicture));
  EXPECT_EQ(ContentBox()->toPlainText(), gbk);

  QApplication::clipboard()->setImage(QImage(utf8Picture));
  Control("图片框1")->setFocus();
  Press(Control("图片框1"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ContentBox()->toPlainText(), utf8);
  EXPECT_TRUE(dialogs_.messages.empty());

  QImage blank(100, 100, QImage::Format_RGB32);
  blank.fill(Qt::white);
  QApplication::clipboard()->setImage(blank);
  Press(Control("图片框1"), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("图片中没有找到二维码。"));
  EXPECT_EQ(ContentBox()->toPlainText(), utf8);  // nothing lost

  auto* iconPath = Control<QLineEdit>("编辑框1");
  Drop(iconPath, *FileData(gbkPicture));
  EXPECT_EQ(iconPath->text(), gbkPicture);
}

}  // namespace
}  // namespace qrsmith::app
