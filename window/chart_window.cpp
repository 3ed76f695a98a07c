#include "window/chart_window.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "bearing/bearing.h"
#include "chart/chart_scene.h"
#include "chart/chart_svg.h"
#include "engine/safe_replace.h"
#include "engine/viscosity_line.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "window/chart_painter.h"
#include "window/report.h"

namespace project1 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr std::string_view kKappaPattern = "###,##0.000";
constexpr std::string_view kDegreesPattern = "##0.0##";
const QString kNoValue = QStringLiteral("–");

// The rows of the bearing box's answers, by the object names of their value labels.
constexpr const char* kRatedRow = "Bearing: rated viscosity";
constexpr const char* kFirstKappaRow = "Bearing: κ at the first temperature";
constexpr const char* kSecondKappaRow = "Bearing: κ at the second temperature";
constexpr const char* kKappaOneRow = "Bearing: κ = 1 temperature";

QLineEdit* BearingBox(QWidget* parent, const char* name, const QString& accessible) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessible);
  return box;
}

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

  auto* bearing = new QGroupBox(QStringLiteral("Rolling bearing"), this);
  bearing->setObjectName(QStringLiteral("BearingBox"));
  bearing->setAccessibleName(QStringLiteral("Rolling bearing"));
  auto* bearing_form = new QFormLayout(bearing);
  bearing_diameter_ = BearingBox(bearing, "BearingDiameter", QStringLiteral("Mean diameter, mm"));
  bearing_speed_ = BearingBox(bearing, "BearingSpeed", QStringLiteral("Speed, r/min"));
  bearing_diameter_->setToolTip(QStringLiteral("(bore + outside diameter) / 2"));
  bearing_form->addRow(QStringLiteral("Mean diameter, mm:"), bearing_diameter_);
  bearing_form->addRow(QStringLiteral("Speed, r/min:"), bearing_speed_);
  bearing_results_ = new QFormLayout;
  bearing_form->addRow(bearing_results_);
  const struct {
    const char* name;
    const char* label;
  } rows[] = {{kRatedRow, "ν1:"},
              {kFirstKappaRow, "κ:"},
              {kSecondKappaRow, "κ:"},
              {kKappaOneRow, "κ = 1 at:"}};
  for (const auto& row : rows) {
    auto* value = new QLabel(kNoValue, bearing);
    value->setObjectName(QString::fromUtf8(row.name));
    value->setAccessibleName(QString::fromUtf8(row.name).mid(9));
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    bearing_results_->addRow(QString::fromUtf8(row.label), value);
  }
  bearing_message_ = new QLabel(bearing);
  bearing_message_->setObjectName(QStringLiteral("BearingMessage"));
  bearing_message_->setAccessibleName(QStringLiteral("Bearing message"));
  bearing_message_->setWordWrap(true);
  bearing_message_->setTextFormat(Qt::PlainText);
  bearing_form->addRow(bearing_message_);
  bearing_message_->hide();
  connect(bearing_diameter_, &QLineEdit::textChanged, this, [this] { UpdateChart(); });
  connect(bearing_speed_, &QLineEdit::textChanged, this, [this] { UpdateChart(); });
  side->addWidget(bearing);
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
  record_ = record;
  UpdateChart();
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

void ChartWindow::ClearBearing(const QString& message) {
  for (const char* name : {kRatedRow, kFirstKappaRow, kSecondKappaRow, kKappaOneRow}) {
    findChild<QLabel*>(QString::fromUtf8(name))->setText(kNoValue);
  }
  bearing_message_->setText(message);
  bearing_message_->setVisible(!message.isEmpty());
}

void ChartWindow::UpdateChart() {
  if (!record_) return;
  const ChartOil oil = ChartOilOf(*record_);
  const QString diameter_text = bearing_diameter_->text().trimmed();
  const QString speed_text = bearing_speed_->text().trimmed();
  if (diameter_text.isEmpty() || speed_text.isEmpty()) {
    ClearBearing(QString());
    view_->SetChart(BuildChart({oil}));
    return;
  }
  auto set = [this](const char* name, const std::string& text) {
    findChild<QLabel*>(QString::fromUtf8(name))->setText(Q(text));
  };
  auto label_of = [this](const char* name, const std::string& text) {
    auto* label = qobject_cast<QLabel*>(
        bearing_results_->labelForField(findChild<QLabel*>(QString::fromUtf8(name))));
    if (label != nullptr) label->setText(Q(text));
  };
  try {
    const double rated = RatedViscosity(TextToNumber(diameter_text.toStdString(), "mean diameter"),
                                        TextToNumber(speed_text.toStdString(), "speed"));
    const std::string rated_text = FormatNumber(rated, kKinematicPattern) + " cSt";
    view_->SetChart(
        BuildChart({oil}, {},
                   {{rated, "ν1 = " + rated_text + " (κ = 1)"},
                    {4 * rated, "κ = 4: " + FormatNumber(4 * rated, kKinematicPattern) + " cSt"}}));
    set(kRatedRow, rated_text);
    label_of(kFirstKappaRow, "κ at " + NumberToText(record_->temp1) + " °C:");
    label_of(kSecondKappaRow, "κ at " + NumberToText(record_->temp2) + " °C:");
    set(kFirstKappaRow, FormatNumber(Kappa(record_->visc1, rated), kKappaPattern));
    set(kSecondKappaRow, FormatNumber(Kappa(record_->visc2, rated), kKappaPattern));
    try {
      const OperatingRange range = OperatingRangeOf(oil.line, rated);
      set(kKappaOneRow, FormatNumber(range.kappa_1_temperature_c, kDegreesPattern) + " °C");
      bearing_message_->clear();
      bearing_message_->hide();
    } catch (const Error& error) {
      set(kKappaOneRow, kNoValue.toStdString());
      bearing_message_->setText(Q(error.what()));
      bearing_message_->show();
    }
  } catch (const Error& error) {
    ClearBearing(Q(error.what()));
    view_->SetChart(BuildChart({oil}));
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
