#pragma once
// The main window's layout: every control with its layout name as its
// objectName, its place (left, top, width, height in its parent's client
// area), its caption and its fixed choices. The commands live in
// main_window.*; this only builds.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "app/controls.h"
#include "app/dialogs.h"

namespace qrsmith::app {

// The product name and version shown in the title and the about text.
inline constexpr char kProductName[] = "qrsmith";
QString ProductVersion();

inline constexpr int kWindowLeft = 50;
inline constexpr int kWindowTop = 50;
inline constexpr int kWindowWidth = 479;
inline constexpr int kWindowHeight = 695;

// The file dialog's filter, label and pattern pairs; BMP is in force first.
inline constexpr char kIconFileFilter[] =
    "BMP图像(*.bmp)|*.bmp|JPG图像（*.jpg）|*.jpg|GIF图像（*.gif）|*.gif|ICO图标（*.ico）|*.ico";

struct MainForm {
  QWidget* previewArea;            // 图片框1: the symbol is painted here
  QLabel* placeholderPicture;      // 图片框5
  QLabel* placeholderPrompt;       // 标签9
  QLabel* placeholderIcon;         // 图片框4
  TabControl* tabs;                // 选择夹1
  QPlainTextEdit* contentBox;      // 超级编辑框1
  QLineEdit* passwordBox;          // 编辑框2
  QComboBox* encodingList;         // 组合框1
  QComboBox* sizeList;             // 组合框2: filled at window set-up
  QComboBox* levelList;            // 组合框3
  ColourPicker* foregroundPicker;  // 颜色选择器1
  ColourPicker* backgroundPicker;  // 颜色选择器2
  QLineEdit* iconPathBox;          // 编辑框1
  QPushButton* browseButton;       // 按钮6
  FileDialogControl* fileDialog;   // 通用对话框1
  QPushButton* generateButton;     // 按钮1
  QPushButton* clearButton;        // 按钮2
  QPushButton* saveButton;         // 按钮3
  QPushButton* copyButton;         // 按钮4
  QPushButton* closeButton;        // 按钮5
};

// Builds every control on `window` (title, place and size included).
MainForm BuildMainForm(QWidget* window, Dialogs& dialogs);

}  // namespace qrsmith::app
