#include "window/form1.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <QStyle>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "engine/calculate.h"
#include "numtext/numtext.h"
#include "window/caption.h"
#include "window/fitting_label.h"
#include "window/fitting_line_edit.h"
#include "window/report.h"
#include "window/system_colours.h"
#include "window/window_menu.h"

namespace project1 {

namespace {

const QString kLubListText = QStringLiteral("Lubricant List");
const QString kCommand1Caption = QStringLiteral("Calculate Viscosity at Reference Temperature");

// Where each control sits: its container and its rectangle in twips (left, top, width, height)
// from the container's outer top-left corner.
struct ControlPlace {
  std::string_view name;
  std::string_view container;
  int left, top, width, height;
};

constexpr ControlPlace kLayout[] = {
    {"Frame1", "Form1", 60, 360, 7155, 5655},     {"Frame2", "Form1", 7890, 360, 5085, 5655},
    {"Label2_0", "Frame1", 360, 690, 2835, 405},  {"vc", "Form1", 3090, 1020, 1155, 435},
    {"Label2_1", "Frame1", 360, 1230, 2835, 405}, {"vh", "Form1", 3090, 1590, 1155, 435},
    {"LubList", "Frame1", 4860, 630, 1905, 360},  {"Label2_2", "Frame1", 330, 1920, 2835, 405},
    {"tref", "Form1", 420, 2640, 1125, 435},      {"tref2", "Frame1", 1860, 2280, 1095, 435},
    {"Command1", "Form1", 3450, 3000, 3375, 795}, {"Label2_3", "Frame1", 270, 3150, 2835, 405},
    {"vcalc", "Form1", 420, 3870, 1155, 435},     {"vcalc2", "Frame1", 1860, 3510, 1155, 465},
    {"Label4", "Frame1", 270, 4770, 6645, 525},   {"Label1", "Frame2", 300, 690, 2205, 465},
    {"SG", "Frame2", 2640, 690, 1575, 465},       {"Label3", "Frame2", 240, 2250, 4305, 375},
    {"DynVisc", "Frame2", 510, 2850, 1335, 435},  {"DynVisc2", "Frame2", 2370, 2850, 1395, 465},
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
Control* Form1Window::Create(const char* name, Args&&... args) {
  const ControlPlace& place = PlaceOf(name);
  QWidget* container = this;
  if (place.container == "Frame1") container = frame1_;
  if (place.container == "Frame2") container = frame2_;
  auto* control = new Control(std::forward<Args>(args)..., container);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(Twips(place));
  return control;
}

QLineEdit* Form1Window::CreateTextBox(const char* name, const QString& text,
                                      const QString& accessible_name, const QString& tooltip) {
  // The font first: the text is then laid out once, in the font it is shown in.
  auto* box = Create<QLineEdit>(name);
  box->setFont(DefaultFont());
  box->setText(text);
  box->setAccessibleName(accessible_name);
  box->setToolTip(tooltip);
  return box;
}

QLineEdit* Form1Window::CreateResultBox(const char* name, const QString& accessible_name,
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
      box, &QLineEdit::textChanged, box, [box, unit, temperature, at_start](const QString& text) {
        if (text.isEmpty()) {
          box->setToolTip(at_start);
          return;
        }
        box->setToolTip(text + QLatin1Char(' ') + QString::fromUtf8(unit) + QStringLiteral(" at ") +
                        QString::fromStdString(NumberToText(ModuleState().*temperature)) +
                        QStringLiteral(" °C"));
      });
  return box;
}

Form1Window::Form1Window(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(kCaption));
  setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
  BuildControls();
  SetTabOrder();
  tref_->setFocus();

  controls_ = std::make_unique<QtForm1Controls>(Form1Widgets{
      vc_, vh_, tref_, tref2_, sg_, vcalc_, vcalc2_, dyn_visc_, dyn_visc2_, label4_, lub_list_});
  InstallForm1(controls_.get());

  connect(command1_, &QPushButton::clicked, this, &Form1Window::Command1_Click);
  connect(lub_list_, &PickComboBox::picked, this, &Form1Window::LubList_Click);
  window_menu_ = new WindowMenu(this, command1_);
  connect(this, &Form1Window::calculated, window_menu_, &WindowMenu::Calculated);

  Form_Load();
}

Form1Window::~Form1Window() {
  if (detail::form1_instance == controls_.get()) InstallForm1(nullptr);
}

void Form1Window::BuildControls() {
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
  frame1_ = Create<QGroupBox>("Frame1");
  frame1_->setFont(NamedFont(13.5));
  frame1_->setTitle(QStringLiteral("Kinematic Viscosity"));
  frame2_ = Create<QGroupBox>("Frame2");
  frame2_->setFont(NamedFont(13.5));
  frame2_->setTitle(QStringLiteral("Dynamic Viscosity"));

  // Frame1.
  label2_[0] = label("Label2_0", QStringLiteral("Viscosity @ 40 C, cSt"), label_font);
  label2_[0]->setAutoFillBackground(true);
  SetBackgroundColour(*label2_[0], QPalette::Window, kSystemMenu);
  SetColour(label2_[0], QPalette::WindowText, kSystemWindowText);
  label2_[1] = label("Label2_1", QStringLiteral("Viscosity @ 100 C, cSt"), label_font);

  lub_list_ = Create<PickComboBox>("LubList");
  lub_list_->setFont(label_font);
  lub_list_->setEditable(true);
  lub_list_->setInsertPolicy(QComboBox::NoInsert);
  lub_list_->setCompleter(nullptr);  // the edit field keeps exactly what is typed
  lub_list_->setEditText(kLubListText);
  lub_list_->setAccessibleName(QStringLiteral("Lubricant list"));
  lub_list_->setToolTip(QStringLiteral("Pick an oil to fill in its viscosities and gravity"));

  label2_[2] = label("Label2_2", QStringLiteral("Reference Temperature, C"), label_font);
  tref2_ = CreateTextBox("tref2", QStringLiteral("150"),
                         QStringLiteral("Second reference temperature"), QStringLiteral("°C"));
  SetBackgroundColour(*tref2_, QPalette::Base, kWhite);
  label2_[3] = label("Label2_3", QStringLiteral("Calculated Viscosity, cSt"), label_font);
  vcalc2_ =
      CreateResultBox("vcalc2", QStringLiteral("Viscosity at the second reference temperature"),
                      "cSt", &CalcState::temp2);
  label4_ = label("Label4", QString(), DefaultFont());
  SetColour(label4_, QPalette::WindowText, kRed);
  // The folder named in the notice can be selected and copied.
  label4_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // Frame2.
  label1_ = label("Label1", QStringLiteral("Specific Gravity"), label_font);
  sg_ = CreateTextBox("SG", QStringLiteral("0.87"), QStringLiteral("Specific gravity"),
                      QStringLiteral("Specific gravity: density relative to water, no unit"));
  label3_ = label("Label3", QStringLiteral("Dynamic Viscosity in Reyns (lbf-s/in^2)"), label_font);
  dyn_visc_ = CreateResultBox(
      "DynVisc", QStringLiteral("Dynamic viscosity at the first reference temperature"),
      "reyn (lbf·s/in²)", &CalcState::temp1);
  dyn_visc2_ = CreateResultBox(
      "DynVisc2", QStringLiteral("Dynamic viscosity at the second reference temperature"),
      "reyn (lbf·s/in²)", &CalcState::temp2);

  // Controls of the window itself that lie over Frame1, drawn above it.
  vc_ = CreateTextBox("vc", QStringLiteral("320"), QStringLiteral("Viscosity at 40 °C"),
                      QStringLiteral("cSt at 40 °C"));
  vh_ = CreateTextBox("vh", QStringLiteral("35"), QStringLiteral("Viscosity at 100 °C"),
                      QStringLiteral("cSt at 100 °C"));
  tref_ = CreateTextBox("tref", QStringLiteral("71"), QStringLiteral("First reference temperature"),
                        QStringLiteral("°C"));

  command1_ = Create<QPushButton>("Command1");
  command1_->setFont(NamedFont(12));
  const int margin =
      2 * command1_->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, command1_);
  command1_->setText(WrapToWidth(kCommand1Caption, command1_->font(), command1_->width() - margin));
  command1_->setAccessibleName(kCommand1Caption);
  command1_->setAutoDefault(false);
  command1_->setDefault(false);
  SetBackgroundColour(*command1_, QPalette::Button, kLightGreen);

  vcalc_ = CreateResultBox("vcalc", QStringLiteral("Viscosity at the first reference temperature"),
                           "cSt", &CalcState::temp1);

  for (QWidget* over_frame :
       {static_cast<QWidget*>(vc_), static_cast<QWidget*>(vh_), static_cast<QWidget*>(tref_),
        static_cast<QWidget*>(command1_), static_cast<QWidget*>(vcalc_)}) {
    over_frame->raise();
  }
}

void Form1Window::SetTabOrder() {
  const std::array<QWidget*, 11> order{tref_,     command1_, vcalc_, vc_,     vh_,       sg_,
                                       dyn_visc_, lub_list_, tref2_, vcalc2_, dyn_visc2_};
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

void Form1Window::Form_Load() {
  RunHandler(this, [] {
    FillList();
    for (TextBox* box :
         {&Form1().vcalc(), &Form1().vcalc2(), &Form1().DynVisc(), &Form1().DynVisc2()}) {
      box->SetBackColor(kSystemActiveBorder);
    }
  });
}

void Form1Window::Command1_Click() {
  bool done = false;
  const std::optional<Error> error = RunHandler(this, [&done] {
    CalculateViscosity();
    done = true;
  });
  if (error) LeadBackTo(*error);
  if (done) emit calculated();
}

void Form1Window::LubList_Click() {
  RunHandler(this, [] { SelectLubricant(); });
}

void Form1Window::LeadBackTo(const Error& error) {
  const std::string_view name = InputBoxOf(error.subject());
  if (name.empty()) return;
  auto* box =
      findChild<QLineEdit*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (box == nullptr) return;
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
}

}  // namespace project1
