#include "window/chart_window.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "chart/chart_scene.h"
#include "chart/chart_svg.h"
#include "engine/safe_replace.h"
#include "window/chart_painter.h"
#include "window/report.h"

namespace project1 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::filesystem::path PathOf(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ChartView"));
  setAccessibleName(QString::fromUtf8(kChartTitle));
  setMinimumSize(480, 336);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::SetChart(const ChartDescription& chart) {
  chart_ = chart;
  setAccessibleDescription(Q(DescribeChart(chart)));
  update();
}

QImage ChartView::Picture(QSize size) const {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  if (chart_) {
    QPainter painter(&image);
    PaintChartScene(painter, LayOutChart(*chart_, size.width(), size.height()));
  }
  return image;
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (chart_) {
    PaintChartScene(painter, LayOutChart(*chart_, width(), height()));
  } else {
    painter.fillRect(rect(), Qt::white);
  }
  ++paints_;
  emit painted();
}

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("ChartWindow"));
  setWindowTitle(QString::fromUtf8(kChartWindowTitle));
  setAccessibleName(QString::fromUtf8(kChartWindowTitle));

  view_ = new ChartView(this);

  auto* side = new QVBoxLayout;
  auto* heading = new QLabel(QStringLiteral("Oil properties"), this);
  heading->setObjectName(QStringLiteral("PropertiesHeading"));
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  heading->setAccessibleName(QStringLiteral("Oil properties"));
  side->addWidget(heading);
  properties_ = new QFormLayout;
  side->addLayout(properties_);
  side->addStretch(1);

  save_svg_ = new QPushButton(QStringLiteral("Save as SVG…"), this);
  save_svg_->setObjectName(QStringLiteral("SaveSvg"));
  save_svg_->setAccessibleName(QStringLiteral("Save the chart as SVG"));
  save_png_ = new QPushButton(QStringLiteral("Save as PNG…"), this);
  save_png_->setObjectName(QStringLiteral("SavePng"));
  save_png_->setAccessibleName(QStringLiteral("Save the chart as PNG"));
  side->addWidget(save_svg_);
  side->addWidget(save_png_);
  connect(save_svg_, &QPushButton::clicked, this, [this] { AskAndSave(true); });
  connect(save_png_, &QPushButton::clicked, this, [this] { AskAndSave(false); });

  auto* close = new QAction(QStringLiteral("Close"), this);
  close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  connect(close, &QAction::triggered, this, &QWidget::close);
  addAction(close);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(side);
  // The usual size, kept within the screen the window opens on (large scale factors, small
  // screens).
  QSize size(1040, 600);
  if (const QScreen* shown_on = screen()) {
    size = size.boundedTo(shown_on->availableSize() * 9 / 10).expandedTo(minimumSizeHint());
  }
  resize(size);
}

void ChartWindow::ShowCalculation(const CalculationRecord& record) {
  view_->SetChart(BuildChart({ChartOilOf(record)}));
  while (properties_->rowCount() > 0) properties_->removeRow(0);
  for (const OilProperty& property : PropertiesOf(record)) {
    auto* value = new QLabel(Q(property.value), this);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    value->setAccessibleName(Q(property.name));
    value->setObjectName(Q("Property: " + property.name));
    properties_->addRow(Q(property.name + ":"), value);
  }
}

void ChartWindow::SaveSvg(const QString& path) const {
  if (!view_->chart()) return;
  ReplaceFile(PathOf(path), ChartSvg(*view_->chart(), view_->width(), view_->height()),
              "chart file");
}

void ChartWindow::SavePng(const QString& path) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  view_->Picture(view_->size()).save(&buffer, "PNG");
  ReplaceFile(PathOf(path),
              std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
              "chart file");
}

void ChartWindow::AskAndSave(bool svg) {
  const QString kind = svg ? QStringLiteral("SVG") : QStringLiteral("PNG");
  const QString suggested = QDir::home().filePath(svg ? QStringLiteral("viscosity-chart.svg")
                                                      : QStringLiteral("viscosity-chart.png"));
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save the chart as ") + kind, suggested,
      svg ? QStringLiteral("SVG pictures (*.svg)") : QStringLiteral("PNG pictures (*.png)"));
  if (path.isEmpty()) return;
  RunHandler(this, [&] {
    if (svg) {
      SaveSvg(path);
    } else {
      SavePng(path);
    }
  });
}

}  // namespace project1
