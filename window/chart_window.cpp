#include "window/chart_window.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "chart/chart_scene.h"
#include "chart/chart_svg.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "table_file/replace_file.h"
#include "window/chart_painter.h"
#include "window/report.h"

namespace project1 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr std::string_view kKappaPattern = kFactorPattern;
const QString kNoValue = QStringLiteral("–");

// The rows of the bearing box's answers, by the object names of their value labels.
constexpr const char* kRatedRow = "Bearing: rated viscosity";
constexpr const char* kFirstKappaRow = "Bearing: κ at the first temperature";
constexpr const char* kSecondKappaRow = "Bearing: κ at the second temperature";
constexpr const char* kKappaOneRow = "Bearing: κ = 1 temperature";
constexpr const char* kEcRow = "Bearing: e_C";
constexpr const char* kBasicLifeRow = "Bearing: L10h";
constexpr const char* kFirstFactorRow = "Bearing: a_ISO at the first temperature";
constexpr const char* kFirstLifeRow = "Bearing: L_nmh at the first temperature";
constexpr const char* kSecondFactorRow = "Bearing: a_ISO at the second temperature";
constexpr const char* kSecondLifeRow = "Bearing: L_nmh at the second temperature";
constexpr const char* kAnswerRows[] = {
    kRatedRow,     kFirstKappaRow,  kSecondKappaRow, kKappaOneRow,     kEcRow,
    kBasicLifeRow, kFirstFactorRow, kFirstLifeRow,   kSecondFactorRow, kSecondLifeRow};

// A number typed in a life box: nullopt when the box is empty, which means not given.
std::optional<double> Given(const QLineEdit* box, std::string_view what) {
  const std::string text = box->text().trimmed().toStdString();
  if (text.empty()) return std::nullopt;
  return TextToNumber(text, what);
}

QComboBox* ChoiceBox(QWidget* parent, const char* name, const QString& accessible) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(accessible);
  return box;
}

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
  bearing_type_ = ChoiceBox(bearing, "BearingType", QStringLiteral("Bearing type"));
  for (const BearingType type : kBearingTypes) {
    bearing_type_->addItem(QString::fromUtf8(std::string(BearingTypeName(type)).c_str()));
  }
  bearing_rating_ =
      BearingBox(bearing, "BearingRating", QStringLiteral("Dynamic load rating C, kN"));
  bearing_load_ = BearingBox(bearing, "BearingLoad", QStringLiteral("Equivalent load P, kN"));
  bearing_fatigue_load_ =
      BearingBox(bearing, "BearingFatigueLoad", QStringLiteral("Fatigue load limit C_u, kN"));
  bearing_cleanliness_ = ChoiceBox(bearing, "BearingCleanliness", QStringLiteral("Cleanliness"));
  bearing_cleanliness_->addItem(QString());  // not given
  for (const Cleanliness level : kCleanlinessLevels) {
    bearing_cleanliness_->addItem(QString::fromUtf8(std::string(CleanlinessName(level)).c_str()));
  }
  bearing_reliability_ = ChoiceBox(bearing, "BearingReliability", QStringLiteral("Reliability, %"));
  for (const double percent : kReliabilities) {
    bearing_reliability_->addItem(Q(NumberToText(percent)));
  }
  bearing_rating_->setToolTip(QStringLiteral("the basic dynamic load rating; empty: not given"));
  bearing_load_->setToolTip(QStringLiteral("the equivalent dynamic load; empty: not given"));
  bearing_fatigue_load_->setToolTip(QStringLiteral("empty: not given"));
  bearing_cleanliness_->setToolTip(
      QStringLiteral("the lubricant's cleanliness: e_C is the lower end of the level's range"));
  // The life's boxes two to a row, so that the window stays short enough for small screens.
  auto* life = new QGridLayout;
  const struct {
    const char* label;
    QWidget* box;
  } life_boxes[] = {{"Type:", bearing_type_},
                    {"Reliability, %:", bearing_reliability_},
                    {"C, kN:", bearing_rating_},
                    {"P, kN:", bearing_load_},
                    {"C_u, kN:", bearing_fatigue_load_},
                    {"Cleanliness:", bearing_cleanliness_}};
  for (int i = 0; i < static_cast<int>(std::size(life_boxes)); ++i) {
    auto* label = new QLabel(QString::fromUtf8(life_boxes[i].label), bearing);
    label->setBuddy(life_boxes[i].box);
    life->addWidget(label, i / 2, 2 * (i % 2));
    life->addWidget(life_boxes[i].box, i / 2, 2 * (i % 2) + 1);
  }
  bearing_form->addRow(life);
  bearing_results_ = new QFormLayout;
  bearing_form->addRow(bearing_results_);
  const struct {
    const char* name;
    const char* label;
  } rows[] = {{kRatedRow, "ν1:"},          {kFirstKappaRow, "κ:"},    {kSecondKappaRow, "κ:"},
              {kKappaOneRow, "κ = 1 at:"}, {kEcRow, "e_C:"},          {kBasicLifeRow, "L10h:"},
              {kFirstFactorRow, "a_ISO:"}, {kFirstLifeRow, "L_nmh:"}, {kSecondFactorRow, "a_ISO:"},
              {kSecondLifeRow, "L_nmh:"}};
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
  for (QLineEdit* box : {bearing_rating_, bearing_load_, bearing_fatigue_load_}) {
    connect(box, &QLineEdit::textChanged, this, [this] { UpdateChart(); });
  }
  for (QComboBox* box : {bearing_type_, bearing_cleanliness_, bearing_reliability_}) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { UpdateChart(); });
  }
  ShowLifeRows(false, false);
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
  for (const char* name : kAnswerRows)
    findChild<QLabel*>(QString::fromUtf8(name))->setText(kNoValue);
  ShowLifeRows(false, false);
  bearing_message_->setText(message);
  bearing_message_->setVisible(!message.isEmpty());
}

void ChartWindow::UpdateChart() {
  if (!record_) return;
  const ChartOil oil = ChartOilOf(*record_);
  // The κ rows name their temperatures before a bearing is entered, too.
  SetRowLabel(kFirstKappaRow, "κ at " + DegreesText(NumberToText(record_->temp1)) + ":");
  SetRowLabel(kSecondKappaRow, "κ at " + DegreesText(NumberToText(record_->temp2)) + ":");
  const QString diameter_text = bearing_diameter_->text().trimmed();
  const QString speed_text = bearing_speed_->text().trimmed();
  if (diameter_text.isEmpty() || speed_text.isEmpty()) {
    ClearBearing(QString());
    view_->SetChart(BuildChart({oil}));
    return;
  }
  try {
    const double mean_diameter = TextToNumber(diameter_text.toStdString(), "mean diameter");
    const double speed = TextToNumber(speed_text.toStdString(), "speed");
    const double rated = RatedViscosity(mean_diameter, speed);
    const std::string rated_text = FormatNumber(rated, kKinematicPattern) + " cSt";
    view_->SetChart(
        BuildChart({oil}, {},
                   {{rated, "ν1 = " + rated_text + " (κ = 1)"},
                    {4 * rated, "κ = 4: " + FormatNumber(4 * rated, kKinematicPattern) + " cSt"}}));
    SetRow(kRatedRow, rated_text);
    SetRow(kFirstKappaRow, FormatNumber(Kappa(record_->visc1, rated), kKappaPattern));
    SetRow(kSecondKappaRow, FormatNumber(Kappa(record_->visc2, rated), kKappaPattern));
    bearing_message_->clear();
    try {
      const OperatingRange range = OperatingRangeOf(oil.line, rated);
      SetRow(kKappaOneRow, DegreesText(FormatNumber(range.kappa_1_temperature_c, kDegreesPattern)));
    } catch (const Error& error) {
      SetRow(kKappaOneRow, kNoValue.toStdString());
      bearing_message_->setText(Q(error.what()));
    }
    UpdateLife(mean_diameter, speed, rated);
    bearing_message_->setVisible(!bearing_message_->text().isEmpty());
  } catch (const Error& error) {
    ClearBearing(Q(error.what()));
    view_->SetChart(BuildChart({oil}));
  }
}

void ChartWindow::SetRow(const char* name, const std::string& text) {
  findChild<QLabel*>(QString::fromUtf8(name))->setText(Q(text));
}

void ChartWindow::SetRowLabel(const char* name, const std::string& text) {
  auto* label = qobject_cast<QLabel*>(
      bearing_results_->labelForField(findChild<QLabel*>(QString::fromUtf8(name))));
  if (label != nullptr) label->setText(Q(text));
}

void ChartWindow::ShowLifeRows(bool basic, bool modified) {
  const auto show = [this](const char* name, bool shown) {
    bearing_results_->setRowVisible(findChild<QLabel*>(QString::fromUtf8(name)), shown);
  };
  show(kBasicLifeRow, basic);
  for (const char* name :
       {kEcRow, kFirstFactorRow, kFirstLifeRow, kSecondFactorRow, kSecondLifeRow}) {
    show(name, modified);
  }
}

void ChartWindow::UpdateLife(double mean_diameter_mm, double speed_rpm, double rated_cst) {
  for (const char* name :
       {kEcRow, kBasicLifeRow, kFirstFactorRow, kFirstLifeRow, kSecondFactorRow, kSecondLifeRow}) {
    findChild<QLabel*>(QString::fromUtf8(name))->setText(kNoValue);
  }
  // What the boxes allow: L10h with C and P, a_ISO and L_nmh with C_u and a cleanliness too.
  const auto filled = [](const QLineEdit* box) { return !box->text().trimmed().isEmpty(); };
  const int level = bearing_cleanliness_->currentIndex() - 1;  // the first is "not given"
  const bool basic = filled(bearing_rating_) && filled(bearing_load_);
  const bool modified = basic && filled(bearing_fatigue_load_) && level >= 0;
  ShowLifeRows(basic, modified);
  if (!basic) return;
  const struct {
    const char* factor_row;
    const char* life_row;
    double t_c;
    double nu;
  } at[] = {{kFirstFactorRow, kFirstLifeRow, record_->temp1, record_->visc1},
            {kSecondFactorRow, kSecondLifeRow, record_->temp2, record_->visc2}};
  for (const auto& row : at) {
    const std::string degrees = " at " + DegreesText(NumberToText(row.t_c)) + ":";
    SetRowLabel(row.factor_row, "a_ISO" + degrees);
    SetRowLabel(row.life_row, "L_nmh" + degrees);
  }
  try {
    const std::optional<double> rating = Given(bearing_rating_, "dynamic load rating C");
    const std::optional<double> load = Given(bearing_load_, "load P");
    const std::optional<double> fatigue_load =
        Given(bearing_fatigue_load_, "fatigue load limit C_u");
    LifeInputs inputs;
    inputs.type = kBearingTypes[std::max(bearing_type_->currentIndex(), 0)];
    inputs.rating_kn = *rating;
    inputs.load_kn = *load;
    inputs.speed_rpm = speed_rpm;
    inputs.reliability_percent = kReliabilities[std::max(bearing_reliability_->currentIndex(), 0)];
    if (modified) {
      inputs.fatigue_load_kn = fatigue_load;
      inputs.contamination = ContaminationFactor(kCleanlinessLevels[level], mean_diameter_mm);
    }
    const BasicLife life = BasicLifeOf(inputs);
    SetRow(kBasicLifeRow, ShownNumber(life.basic_rating_life_hours, kHoursPattern) + " h");
    if (!modified) return;
    SetRow(kEcRow, NumberToText(*life.contamination_factor));
    std::string outside;  // the temperatures where kappa is below the method's
    for (const auto& row : at) {
      const ModifiedLife modified_life = ModifiedLifeAt(inputs, life, Kappa(row.nu, rated_cst));
      if (!modified_life.a_iso) {
        outside += (outside.empty() ? std::string(modified_life.note) + " at " : " and ") +
                   DegreesText(NumberToText(row.t_c));
        continue;
      }
      SetRow(row.factor_row, ShownNumber(*modified_life.a_iso, kFactorPattern));
      SetRow(row.life_row,
             ShownNumber(*modified_life.modified_rating_life_hours, kHoursPattern) + " h");
    }
    if (!outside.empty()) AddBearingMessage(outside + ".");
  } catch (const Error& error) {
    for (const char* name : {kEcRow, kBasicLifeRow, kFirstFactorRow, kFirstLifeRow,
                             kSecondFactorRow, kSecondLifeRow}) {
      findChild<QLabel*>(QString::fromUtf8(name))->setText(kNoValue);
    }
    AddBearingMessage(error.what());
  }
}

void ChartWindow::AddBearingMessage(const std::string& message) {
  const QString shown = bearing_message_->text();
  bearing_message_->setText(shown.isEmpty() ? Q(message) : shown + "\n" + Q(message));
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
