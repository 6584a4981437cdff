#pragma once
// The main window's layout: every control with its layout name as its
// objectName, its place (left, top, width, height in its parent's client
// area), its caption and its fixed choices. The commands live in
// main_window.*; this only builds.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

#include <qrsmith/app/controls.h>
#include <qrsmith/app/dialogs.h>

namespace qrsmith::app {

// The product name and version shown in the title and the about text.
inline constexpr char kProductName[] = "qrsmith";
QString ProductVersion();

inline constexpr int kWindowLeft = 50;
inline constexpr int kWindowTop = 50;
// The window's client area: the layout's controls with a margin of 8 pixels
// on every side. The window manager adds its frame around it (with a usual
// frame the whole window is about 479 x 725), and the position is that of
// the frame's top-left corner. With a 40-pixel title bar it fits the free
// area of a 1366 x 768 screen with a 28-pixel panel.
inline constexpr int kLayoutMargin = 8;
inline constexpr int kClientWidth = 472;
inline constexpr int kClientHeight = 697;
// The print-size row of the Basic page: the tab control, and so the window,
// is this much taller than the classic layout.
inline constexpr int kPrintRowHeight = 30;

struct MainForm {
  QWidget* previewArea;            // 图片框1: the symbol is painted here
  QLabel* placeholderPicture;      // 图片框5
  QLabel* placeholderPrompt;       // 标签9
  QLabel* placeholderIcon;         // 图片框4
  QLabel* scanStatus;              // 扫描结果: the scan check's verdict, below the symbol
  QLabel* failureReason;           // 失败原因: why the content makes no symbol, in its place
  QLabel* statusLine;              // 状态栏: what the last Save wrote, at the preview's top
  TabControl* tabs;                // 选择夹1
  QPlainTextEdit* contentBox;      // 超级编辑框1
  QLineEdit* passwordBox;          // 编辑框2
  QComboBox* encodingList;         // 组合框1
  QComboBox* sizeList;             // 组合框2: filled at window set-up
  QComboBox* levelList;            // 组合框3
  ColourPicker* foregroundPicker;  // 颜色选择器1
  ColourPicker* backgroundPicker;  // 颜色选择器2
  // The printed size of a saved symbol and its quiet zone, below the options.
  QDoubleSpinBox* moduleMmBox;    // 数值框1: millimetres a module
  QSpinBox* dpiBox;               // 数值框2: a saved picture's dots per inch
  QSpinBox* quietZoneBox;         // 数值框3: the quiet zone in modules
  QLineEdit* iconPathBox;         // 编辑框1
  QPushButton* browseButton;      // 按钮6
  FileDialogControl* fileDialog;  // 通用对话框1
  QPushButton* generateButton;    // 按钮1
  QPushButton* clearButton;       // 按钮2
  QPushButton* saveButton;        // 按钮3
  QPushButton* copyButton;        // 按钮4
  QPushButton* closeButton;       // 按钮5
};

// Builds every control on `window` (title, place and size included).
MainForm BuildMainForm(QWidget* window, Dialogs& dialogs);

// Places the controls for a client area of `size`: the preview area takes
// every pixel the window grows by, the tabs and the button row keep their
// sizes below it. At kClientWidth x kClientHeight this is the layout above.
void PlaceForSize(const MainForm& form, QSize size);
// The smallest client area: a version 40 symbol still fits the preview at two
// pixels a module.
inline constexpr int kMinimumClientWidth = kClientWidth;
inline constexpr int kMinimumClientHeight = 600 + kPrintRowHeight;

// Where the window goes on a screen whose free area is `available`: `wanted`
// (the frame's top-left corner and the client area's size) when it fits,
// else moved up and shortened (the preview gives way, to no less than the
// minimum) so that the whole window, with `frame` pixels of title bar above
// its client area, stays on the screen.
QRect FitOnScreen(const QRect& wanted, const QRect& available, int frame);

// A drop-down list keeps its width in the layout, but its pop-up is as wide
// as its longest item and scrolls when the items are many. Called again
// whenever items are added.
void FitListPopup(QComboBox* list);

}  // namespace qrsmith::app
