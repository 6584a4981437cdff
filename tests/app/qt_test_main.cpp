// GoogleTest with a Qt application: widgets need one before the first test.
// Without a display the tests draw offscreen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QFont::insertSubstitutions(QStringLiteral("黑体"), {QStringLiteral("WenQuanYi Micro Hei")});
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
