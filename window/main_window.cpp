#include "window/main_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <QStyle>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "engine/model.h"
#include "engine/temperature_unit.h"
#include "numtext/numtext.h"
#include "oils/oil_directory.h"
#include "window/caption.h"
#include "window/fitting_label.h"
#include "window/fitting_line_edit.h"
#include "window/group_box.h"
#include "window/my_oils_dialog.h"
#include "window/report.h"
#include "window/system_colours.h"
#include "window/window_menu.h"

namespace project1 {

namespace {

const QString kLubricantListText = QStringLiteral("Lubricant List");
const QString kCalculateCaption = QStringLiteral("Calculate Viscosity at Reference Temperature");

// Where each control sits: its container and its rectangle in twips (left, top, width, height)
// from the container's outer top-left corner.
struct ControlPlace {
  std::string_view name;
  std::string_view container;
  int left, top, width, height;
};

constexpr ControlPlace kLayout[] = {
    {"kinematicFrame", "mainWindow", 60, 360, 7155, 5655},
    {"dynamicFrame", "mainWindow", 7890, 360, 5085, 5655},
    {"visc40Label", "kinematicFrame", 360, 690, 2835, 405},
    {"visc40", "mainWindow", 3090, 1020, 1155, 435},
    {"visc100Label", "kinematicFrame", 360, 1230, 2835, 405},
    {"visc100", "mainWindow", 3090, 1590, 1155, 435},
    {"lubricantList", "kinematicFrame", 4860, 630, 1905, 360},
    {"temperatureLabel", "kinematicFrame", 330, 1920, 2835, 405},
    {"temp1", "mainWindow", 420, 2640, 1125, 435},
    {"temp2", "kinematicFrame", 1860, 2280, 1095, 435},
    {"calculateButton", "mainWindow", 3450, 3000, 3375, 795},
    {"resultLabel", "kinematicFrame", 270, 3150, 2835, 405},
    {"visc1", "mainWindow", 420, 3870, 1155, 435},
    {"visc2", "kinematicFrame", 1860, 3510, 1155, 465},
    {"notice", "kinematicFrame", 270, 4770, 6645, 525},
    {"gravityLabel", "dynamicFrame", 300, 690, 2205, 465},
    {"gravity", "dynamicFrame", 2640, 690, 1575, 465},
    {"dynamicLabel", "dynamicFrame", 240, 2250, 4305, 375},
    {"dynamic1", "dynamicFrame", 510, 2850, 1335, 435},
    {"dynamic2", "dynamicFrame", 2370, 2850, 1395, 465},
};

const ControlPlace& PlaceOf(std::string_view name) {
  for (const ControlPlace& place : kLayout) {
    if (place.name == name) return place;
  }
  qFatal("The layout has no control named %.*s.", static_cast<int>(name.size()), name.data());
}

// A rectangle in twips as pixels.
QRect Twips(const ControlPlace& place) {
  return {place.left / kTwipsPerPixel, place.top / kTwipsPerPixel, place.width / kTwipsPerPixel,
          place.height / kTwipsPerPixel};
}

// The family of the named fonts: MS Sans Serif where installed, else the system's sans-serif.
// Looked up once and by name: listing every installed family would cost start-up time that
// grows with the fonts installed.
const QString& NamedFontFamily() {
  static const QString family = [] {
    const QString wanted = QStringLiteral("MS Sans Serif");
    if (!QFontDatabase::styles(wanted).isEmpty()) return wanted;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

// A named font: bold, at `points`.
QFont NamedFont(double points) {
  QFont font(NamedFontFamily());
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

// The platform's default font, set on a control so that it does not take its frame's font.
QFont DefaultFont() {
  QFont font = QApplication::font();
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

// Breaks `text` at blanks into lines no wider than `width` pixels in `font`.
QString WrapToWidth(const QString& text, const QFont& font, int width) {
  const QFontMetrics metrics(font);
  QStringList lines;
  QString line;
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
      lines << line;
      line = word;
    } else {
      line = longer;
    }
  }
  if (!line.isEmpty()) lines << line;
  return lines.join(QLatin1Char('\n'));
}

void SetColour(QWidget* widget, QPalette::ColorRole role, ColourValue colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, ColourFromValue(colour, palette));
  widget->setPalette(palette);
}

}  // namespace

template <typename Control, typename... Args>
Control* MainWindow::Create(const char* name, Args&&... args) {
  const ControlPlace& place = PlaceOf(name);
  QWidget* container = this;
  if (place.container == "kinematicFrame") container = kinematic_frame_;
  if (place.container == "dynamicFrame") container = dynamic_frame_;
  auto* control = new Control(std::forward<Args>(args)..., container);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(Twips(place));
  return control;
}

QLineEdit* MainWindow::CreateTextBox(const char* name, const QString& text,
                                     const QString& accessible_name, const QString& tooltip) {
  // The font first: the text is then laid out once, in the font it is shown in.
  auto* box = Create<QLineEdit>(name);
  box->setFont(DefaultFont());
  box->setText(text);
  box->setAccessibleName(accessible_name);
  box->setToolTip(tooltip);
  return box;
}

QLineEdit* MainWindow::CreateResultBox(const char* name, const QString& accessible_name,
                                       const char* unit, double CalcState::*temperature) {
  auto* box = Create<FittingLineEdit>(name);
  box->setFont(DefaultFont());
  box->setAccessibleName(accessible_name);
  box->setReadOnly(true);
  // "cSt at the first reference temperature", then the whole result: "85.642 cSt at 71 °C".
  const QString at_start = QString::fromUtf8(unit) + QStringLiteral(" at the ") +
                           accessible_name.section(QStringLiteral(" at the "), 1);
  box->setToolTip(at_start);
  connect(
      box, &QLineEdit::textChanged, box,
      [this, box, unit, temperature, at_start](const QString& text) {
        if (text.isEmpty()) {
          box->setToolTip(at_start);
          return;
        }
        box->setToolTip(text + QLatin1Char(' ') + QString::fromUtf8(unit) + QStringLiteral(" at ") +
                        QString::fromStdString(DegreesText(NumberToText(latest_.*temperature))));
      });
  return box;
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromUtf8(kCaption));
  setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
  BuildControls();
  LoadUserOils();
  FillLubricantList();
  SetTabOrder();
  temp1_box_->setFocus();
  for (QLineEdit* box : {visc1_box_, visc2_box_, dynamic1_box_, dynamic2_box_}) {
    SetBackgroundColour(*box, QPalette::Base, kSystemActiveBorder);
  }

  connect(calculate_button_, &QPushButton::clicked, this, &MainWindow::OnCalculate);
  connect(lubricant_list_, &PickComboBox::picked, this, &MainWindow::OnLubricantPicked);
  window_menu_ = new WindowMenu(this, calculate_button_);
  connect(this, &MainWindow::calculated, window_menu_, &WindowMenu::Calculated);
  connect(window_menu_->save_oil_action(), &QAction::triggered, this, &MainWindow::OnSaveAsMyOil);
  connect(window_menu_->my_oils_action(), &QAction::triggered, this, &MainWindow::OnMyOils);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
  const QFont label_font = NamedFont(9.75);
  const auto label = [&](const char* name, const QString& text, const QFont& font) {
    auto* made = Create<FittingLabel>(name);
    made->setTextFormat(Qt::PlainText);
    made->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    made->setWordWrap(true);
    made->setFont(font);
    made->setText(text);
    return made;
  };

  // Each control gets its font before its text, so that no text is measured in a font it is
  // never shown in.
  kinematic_frame_ = Create<GroupBox>("kinematicFrame");
  kinematic_frame_->setFont(NamedFont(13.5));
  kinematic_frame_->setTitle(QStringLiteral("Kinematic Viscosity"));
  dynamic_frame_ = Create<GroupBox>("dynamicFrame");
  dynamic_frame_->setFont(NamedFont(13.5));
  dynamic_frame_->setTitle(QStringLiteral("Dynamic Viscosity"));

  // The kinematic frame.
  auto* visc40_label = label("visc40Label", QStringLiteral("Viscosity @ 40 C, cSt"), label_font);
  visc40_label->setAutoFillBackground(true);
  SetBackgroundColour(*visc40_label, QPalette::Window, kSystemMenu);
  SetColour(visc40_label, QPalette::WindowText, kSystemWindowText);
  label("visc100Label", QStringLiteral("Viscosity @ 100 C, cSt"), label_font);

  lubricant_list_ = Create<PickComboBox>("lubricantList");
  lubricant_list_->setFont(label_font);
  lubricant_list_->setInsertPolicy(QComboBox::NoInsert);
  lubricant_list_->setCompleter(nullptr);  // the edit field keeps exactly what is typed
  lubricant_list_->setEditText(kLubricantListText);
  lubricant_list_->setAccessibleName(QStringLiteral("Lubricant list"));
  lubricant_list_->setToolTip(QStringLiteral("Pick an oil to fill in its viscosities and gravity"));

  label("temperatureLabel", QStringLiteral("Reference Temperature, C"), label_font);
  temp2_box_ = CreateTextBox("temp2", QStringLiteral("150"),
                             QStringLiteral("Second reference temperature"), QStringLiteral("°C"));
  SetBackgroundColour(*temp2_box_, QPalette::Base, kWhite);
  label("resultLabel", QStringLiteral("Calculated Viscosity, cSt"), label_font);
  visc2_box_ =
      CreateResultBox("visc2", QStringLiteral("Viscosity at the second reference temperature"),
                      "cSt", &CalcState::temp2);
  notice_ = label("notice", QString(), DefaultFont());
  SetColour(notice_, QPalette::WindowText, kRed);
  // The folder named in the notice can be selected and copied.
  notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // The dynamic frame.
  label("gravityLabel", QStringLiteral("Specific Gravity"), label_font);
  gravity_box_ =
      CreateTextBox("gravity", QStringLiteral("0.87"), QStringLiteral("Specific gravity"),
                    QStringLiteral("Specific gravity: density relative to water, no unit"));
  label("dynamicLabel", QStringLiteral("Dynamic Viscosity in Reyns (lbf-s/in^2)"), label_font);
  dynamic1_box_ = CreateResultBox(
      "dynamic1", QStringLiteral("Dynamic viscosity at the first reference temperature"),
      "reyn (lbf·s/in²)", &CalcState::temp1);
  dynamic2_box_ = CreateResultBox(
      "dynamic2", QStringLiteral("Dynamic viscosity at the second reference temperature"),
      "reyn (lbf·s/in²)", &CalcState::temp2);

  // Controls of the window itself that lie over Frame1, drawn above it.
  visc40_box_ = CreateTextBox("visc40", QStringLiteral("320"), QStringLiteral("Viscosity at 40 °C"),
                              QStringLiteral("cSt at 40 °C"));
  visc100_box_ =
      CreateTextBox("visc100", QStringLiteral("35"), QStringLiteral("Viscosity at 100 °C"),
                    QStringLiteral("cSt at 100 °C"));
  temp1_box_ = CreateTextBox("temp1", QStringLiteral("71"),
                             QStringLiteral("First reference temperature"), QStringLiteral("°C"));

  calculate_button_ = Create<QPushButton>("calculateButton");
  calculate_button_->setFont(NamedFont(12));
  const int margin = 2 * calculate_button_->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr,
                                                                 calculate_button_);
  calculate_button_->setText(WrapToWidth(kCalculateCaption, calculate_button_->font(),
                                         calculate_button_->width() - margin));
  calculate_button_->setAccessibleName(kCalculateCaption);
  calculate_button_->setAutoDefault(false);
  calculate_button_->setDefault(false);
  SetBackgroundColour(*calculate_button_, QPalette::Button, kLightGreen);

  visc1_box_ =
      CreateResultBox("visc1", QStringLiteral("Viscosity at the first reference temperature"),
                      "cSt", &CalcState::temp1);

  for (QWidget* over_frame :
       {static_cast<QWidget*>(visc40_box_), static_cast<QWidget*>(visc100_box_),
        static_cast<QWidget*>(temp1_box_), static_cast<QWidget*>(calculate_button_),
        static_cast<QWidget*>(visc1_box_)}) {
    over_frame->raise();
  }
}

void MainWindow::FillLubricantList() {
  const auto text = [](std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  };
  const bool first = lubricant_list_->count() == 0;
  const QString shown = lubricant_list_->currentText();
  QStringList items;
  items.reserve(static_cast<qsizetype>(LubricantCatalogue.size() + user_oils_.size() + 1));
  for (const Lubricant& lubricant : LubricantCatalogue) items << text(lubricant.name);
  for (const UserOil& oil : user_oils_) items << text(oil.name);
  items << text(kOtherLubricant);
  lubricant_list_->clear();
  lubricant_list_->addItems(items);
  // The edit field keeps its text, which is no item of the list.
  lubricant_list_->setCurrentIndex(-1);
  lubricant_list_->setEditText(first ? kLubricantListText : shown);
}

void MainWindow::LoadUserOils() {
  UserOilLibrary library;
  try {
    library = ReadUserOils(UserOilsPath());
  } catch (const Error&) {
    // No folder for the user's oils: there are none.
  }
  // A name the catalogue took is the catalogue's; the others in name order.
  std::vector<std::pair<QString, UserOil*>> named;
  named.reserve(library.oils.size());
  for (UserOil& oil : library.oils) {
    if (ShadowedByCatalogue(oil.name)) continue;
    named.emplace_back(QString::fromStdString(oil.name), &oil);
  }
  std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
    return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
  });
  user_oils_.clear();
  user_oils_.reserve(named.size());
  for (const auto& [name, oil] : named) user_oils_.push_back(std::move(*oil));
  if (!library.problems.empty()) notice_->setText(QString::fromStdString(library.problems.front()));
}

void MainWindow::ReloadUserOils() {
  LoadUserOils();
  FillLubricantList();
}

void MainWindow::SetTabOrder() {
  const std::array<QWidget*, 11> order{
      temp1_box_,    calculate_button_, visc1_box_, visc40_box_, visc100_box_, gravity_box_,
      dynamic1_box_, lubricant_list_,   temp2_box_, visc2_box_,  dynamic2_box_};
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

void MainWindow::OnCalculate() {
  RunHandler(this, [this] {
    Show(Calculate({visc40_box_->text().toStdString(), visc100_box_->text().toStdString(),
                    temp1_box_->text().toStdString(), temp2_box_->text().toStdString(),
                    gravity_box_->text().toStdString()}));
  });
}

QLineEdit* MainWindow::ResultBox(Result result) const {
  switch (result) {
    case Result::kViscosity1:
      return visc1_box_;
    case Result::kViscosity2:
      return visc2_box_;
    case Result::kDynamic1:
      return dynamic1_box_;
    case Result::kDynamic2:
      return dynamic2_box_;
  }
  return nullptr;
}

QLineEdit* MainWindow::InputBoxOf(const Error& error) const {
  const std::optional<CalculationInput> input = InputOf(error);
  if (!input) return nullptr;
  // In the order of CalculationInput.
  QLineEdit* const boxes[kCalculationInputs] = {visc40_box_, visc100_box_, temp1_box_, temp2_box_,
                                                gravity_box_};
  return boxes[static_cast<std::size_t>(*input)];
}

void MainWindow::Show(const CalculationOutcome& outcome) {
  latest_ = outcome.values;
  for (const ShownResult& shown : outcome.shown) {
    QLineEdit* box = ResultBox(shown.result);
    box->setText(QString::fromStdString(shown.text));
    box->setCursorPosition(0);
  }
  if (outcome.failure) {
    ReportError(this, outcome.failure->what());
    if (QLineEdit* box = InputBoxOf(*outcome.failure)) {
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    }
    return;
  }
  notice_->setText(QString::fromStdString(CompletionNotice(outcome.table.parent_path().string())));
  QFont font = notice_->font();
  font.setBold(true);
  font.setPointSizeF(14);
  notice_->setFont(font);
  for (QLineEdit* box : {visc1_box_, visc2_box_, dynamic1_box_, dynamic2_box_}) {
    SetBackgroundColour(*box, QPalette::Base, kLightGreen);
  }
  emit calculated(Record(outcome));
}

CalculationRecord MainWindow::Record(const CalculationOutcome& outcome) const {
  const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
  const ShownTexts shown{text(visc40_box_), text(visc100_box_),  text(temp1_box_),
                         text(temp2_box_),  text(gravity_box_),  text(visc1_box_),
                         text(visc2_box_),  text(dynamic1_box_), text(dynamic2_box_)};
  return RecordCalculation(outcome, shown, lubricant_list_->currentText().toStdString());
}

void MainWindow::OnLubricantPicked() {
  const std::string name = lubricant_list_->currentText().toStdString();
  std::optional<double> values[3];
  if (const Lubricant* oil = FindOil(name)) {
    values[0] = oil->nu40;
    values[1] = oil->nu100;
    values[2] = oil->gravity;
  } else if (const UserOil* mine = FindUserOil(user_oils_, name)) {
    values[0] = mine->nu40;
    values[1] = mine->nu100;
    values[2] = mine->gravity;
  } else {
    return;
  }
  QLineEdit* const boxes[] = {visc40_box_, visc100_box_, gravity_box_};
  for (std::size_t i = 0; i < 3; ++i) {
    boxes[i]->setText(values[i] ? QString::fromStdString(NumberToText(*values[i])) : QString());
    boxes[i]->setCursorPosition(0);
  }
}

void MainWindow::OnSaveAsMyOil() {
  std::optional<UserOil> oil;
  const std::optional<Error> bad = RunHandler(this, [&] {
    oil = ReadOilValues(visc40_box_->text().toStdString(), visc100_box_->text().toStdString(),
                        gravity_box_->text().toStdString(), false);
  });
  if (bad) {
    if (QLineEdit* box = InputBoxOf(*bad)) {
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    }
    return;
  }
  OilForm form(this, QStringLiteral("Save as my oil"), OilForm::kNameAndNote, *oil);
  while (form.exec() == QDialog::Accepted) {
    oil->name = form.Text("name");
    oil->note = form.Text("note");
    if (SaveAsMyOil(*oil)) return;
    form.Box("name")->setFocus();
    form.Box("name")->selectAll();
  }
}

bool MainWindow::SaveAsMyOil(const UserOil& oil) {
  const std::optional<Error> refused = RunHandler(this, [&] {
    ChangeUserOils(UserOilsPath(), [&](std::vector<UserOil>& oils) { oils.push_back(oil); });
  });
  ReloadUserOils();
  if (my_oils_) my_oils_->Reload();
  return !refused;
}

void MainWindow::OnMyOils() {
  RunHandler(this, [this] {
    if (!my_oils_) {
      my_oils_ = new MyOilsDialog(this, UserOilsPath());
      my_oils_->setAttribute(Qt::WA_DeleteOnClose);
      connect(my_oils_, &MyOilsDialog::changed, this, &MainWindow::ReloadUserOils);
    }
    my_oils_->show();
    my_oils_->raise();
    my_oils_->activateWindow();
  });
}

}  // namespace project1
