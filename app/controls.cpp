#include "app/controls.h"

#include <QPainter>
#include <QPixmap>

#include "platform/colour.h"

namespace qrsmith::app {

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), bar_(new QTabBar(this)), panel_(new QFrame(this)) {
  panel_->setFrameShape(QFrame::StyledPanel);
  panel_->lower();
  bar_->setDrawBase(false);
  QObject::connect(bar_, &QTabBar::currentChanged, this, [this] { ShowCurrentPage(); });
}

QWidget* TabControl::AddPage(const QString& caption) {
  auto* page = new QWidget(this);
  page->setGeometry(rect());
  pages_.push_back(page);
  bar_->addTab(caption);
  bar_->raise();
  ShowCurrentPage();
  return page;
}

void TabControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int barHeight = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), barHeight);
  panel_->setGeometry(0, barHeight - 1, width(), height() - barHeight + 1);
  for (QWidget* page : pages_) page->setGeometry(rect());
}

void TabControl::ShowCurrentPage() {
  const int current = bar_->currentIndex();
  for (int i = 0; i < Count(); ++i) pages_[static_cast<std::size_t>(i)]->setVisible(i == current);
}

ColourPicker::ColourPicker(QWidget* parent, Dialogs& dialogs, Colour initial)
    : QPushButton(parent), dialogs_(dialogs), colour_(initial) {
  SetValue(initial);
  QObject::connect(this, &QPushButton::clicked, this, [this] {
    const platform::Channels c = platform::ChannelsOf(colour_);
    const QColor current(c.red, c.green, c.blue);
    if (const auto chosen = dialogs_.ChooseColour(window(), current)) {
      SetValue(platform::ColourOf({static_cast<std::uint8_t>(chosen->red()),
                                   static_cast<std::uint8_t>(chosen->green()),
                                   static_cast<std::uint8_t>(chosen->blue())}));
    }
  });
}

void ColourPicker::SetValue(Colour colour) {
  colour_ = colour & 0xFFFFFF;
  QPixmap swatch(28, 12);
  const platform::Channels c = platform::ChannelsOf(colour_);
  swatch.fill(QColor(c.red, c.green, c.blue));
  QPainter(&swatch).drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
  setIcon(swatch);
  setIconSize(swatch.size());
  // The colour as the user knows it from other programs: #RRGGBB.
  setText(
      QStringLiteral("#%1").arg(platform::SwapRedBlue(colour_), 6, 16, QLatin1Char('0')).toUpper());
  if (onChange_) onChange_();
}

FileDialogControl::FileDialogControl(QObject* parent, Dialogs& dialogs)
    : QObject(parent), dialogs_(dialogs) {}

QStringList FileDialogControl::DialogFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  // The dialog reads the pattern from the last parentheses and, listing the
  // labels alone, shows each label exactly as the filter writes it.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
  }
  return out;
}

bool FileDialogControl::Open(QWidget* owner) {
  FileRequest request;
  request.filters = DialogFilters(filter_);
  request.selectedFilter = 0;
  request.directory = initialDirectory_;
  request.labelsOnly = true;
  const auto answer = dialogs_.ChooseFile(owner, request);
  if (!answer) return false;
  fileName_ = answer->path;
  return true;
}

}  // namespace qrsmith::app
