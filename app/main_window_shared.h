#pragma once
// What the main window's source files share: the window's list positions and
// the content box's text as the core takes it.

#include <QPlainTextEdit>
#include <QString>
#include <QTextBlock>
#include <string>

namespace qrsmith::app {

inline constexpr int kLargestVersion = 40;
inline constexpr int kUtf8EncodingIndex = 1;

// The content and password as the core takes them: UTF-8 text.
inline std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// The content box's text exactly as typed. toPlainText() would turn U+00A0
// into a space and U+2028 into a line feed; here only the paragraph breaks
// (Return, or a pasted LF, CR or U+2029, which the box all holds as one)
// become line feeds.
inline QString TypedText(const QPlainTextEdit& box) {
  QString text;
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    if (block.previous().isValid()) text += QLatin1Char('\n');
    text += block.text();
  }
  return text;
}

}  // namespace qrsmith::app
