#include "window/form1.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <QStyle>

#include "catalogue/catalogue.h"
#include "engine/calculate.h"
#include "window/fitting_label.h"
#include "window/report.h"
#include "window/system_colours.h"
#include "window/window_menu.h"

namespace project1 {

namespace {

const QString kCaption = QStringLiteral("Tervane");
const QString kLubListText = QStringLiteral("Lubricant List");
const QString kCommand1Caption = QStringLiteral("Calculate Viscosity at Reference Temperature");

// Left, top, width, height in twips from the container's outer top-left corner, as pixels.
QRect Twips(int left, int top, int width, int height) {
  return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
          height / kTwipsPerPixel};
}

// The family of the named fonts: MS Sans Serif where installed, else the system's sans-serif.
QString NamedFontFamily() {
  QString wanted = QStringLiteral("MS Sans Serif");
  if (QFontDatabase::families().contains(wanted, Qt::CaseInsensitive)) {
    return wanted;
  }
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
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

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font) {
  auto* label = new FittingLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setFont(font);
  label->setGeometry(geometry);
  return label;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QString& text,
                       const QRect& geometry, const QString& accessible_name, const QString& unit) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(QLatin1String(name));
  box->setFont(DefaultFont());
  box->setGeometry(geometry);
  box->setAccessibleName(accessible_name);
  box->setToolTip(unit);
  return box;
}

QLineEdit* MakeResultBox(QWidget* parent, const char* name, const QRect& geometry,
                         const QString& accessible_name, const QString& unit) {
  QLineEdit* box = MakeTextBox(parent, name, QString(), geometry, accessible_name, unit);
  box->setReadOnly(true);
  return box;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, ColourValue colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, ColourFromValue(colour, palette));
  widget->setPalette(palette);
}

}  // namespace

Form1Window::Form1Window(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kCaption);
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

  frame1_ = new QGroupBox(QStringLiteral("Kinematic Viscosity"), this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setFont(NamedFont(13.5));
  frame1_->setGeometry(Twips(60, 360, 7155, 5655));

  frame2_ = new QGroupBox(QStringLiteral("Dynamic Viscosity"), this);
  frame2_->setObjectName(QStringLiteral("Frame2"));
  frame2_->setFont(NamedFont(13.5));
  frame2_->setGeometry(Twips(7890, 360, 5085, 5655));

  // Frame1.
  label2_[0] = MakeLabel(frame1_, "Label2_0", QStringLiteral("Viscosity @ 40 C, cSt"),
                         Twips(360, 690, 2835, 405), label_font);
  label2_[0]->setAutoFillBackground(true);
  SetColour(label2_[0], QPalette::Window, kSystemMenu);
  SetColour(label2_[0], QPalette::WindowText, kSystemWindowText);
  label2_[1] = MakeLabel(frame1_, "Label2_1", QStringLiteral("Viscosity @ 100 C, cSt"),
                         Twips(360, 1230, 2835, 405), label_font);

  lub_list_ = new PickComboBox(frame1_);
  lub_list_->setObjectName(QStringLiteral("LubList"));
  lub_list_->setEditable(true);
  lub_list_->setInsertPolicy(QComboBox::NoInsert);
  lub_list_->setCompleter(nullptr);  // the edit field keeps exactly what is typed
  lub_list_->setFont(label_font);
  lub_list_->setGeometry(Twips(4860, 630, 1905, 360));
  lub_list_->setEditText(kLubListText);
  lub_list_->setAccessibleName(QStringLiteral("Lubricant list"));
  lub_list_->setToolTip(QStringLiteral("Pick an oil to fill in its viscosities and gravity"));

  label2_[2] = MakeLabel(frame1_, "Label2_2", QStringLiteral("Reference Temperature, C"),
                         Twips(330, 1920, 2835, 405), label_font);
  tref2_ = MakeTextBox(frame1_, "tref2", QStringLiteral("150"), Twips(1860, 2280, 1095, 435),
                       QStringLiteral("Second reference temperature"), QStringLiteral("°C"));
  SetColour(tref2_, QPalette::Base, kWhite);
  label2_[3] = MakeLabel(frame1_, "Label2_3", QStringLiteral("Calculated Viscosity, cSt"),
                         Twips(270, 3150, 2835, 405), label_font);
  vcalc2_ = MakeResultBox(frame1_, "vcalc2", Twips(1860, 3510, 1155, 465),
                          QStringLiteral("Viscosity at the second reference temperature"),
                          QStringLiteral("cSt at the second reference temperature"));
  label4_ = MakeLabel(frame1_, "Label4", QString(), Twips(270, 4770, 6645, 525), DefaultFont());
  SetColour(label4_, QPalette::WindowText, kRed);

  // Frame2.
  label1_ = MakeLabel(frame2_, "Label1", QStringLiteral("Specific Gravity"),
                      Twips(300, 690, 2205, 465), label_font);
  sg_ = MakeTextBox(frame2_, "SG", QStringLiteral("0.87"), Twips(2640, 690, 1575, 465),
                    QStringLiteral("Specific gravity"),
                    QStringLiteral("Specific gravity: density relative to water, no unit"));
  label3_ = MakeLabel(frame2_, "Label3", QStringLiteral("Dynamic Viscosity in Reyns (lbf-s/in^2)"),
                      Twips(240, 2250, 4305, 375), label_font);
  dyn_visc_ = MakeResultBox(frame2_, "DynVisc", Twips(510, 2850, 1335, 435),
                            QStringLiteral("Dynamic viscosity at the first reference temperature"),
                            QStringLiteral("reyn (lbf·s/in²) at the first reference temperature"));
  dyn_visc2_ =
      MakeResultBox(frame2_, "DynVisc2", Twips(2370, 2850, 1395, 465),
                    QStringLiteral("Dynamic viscosity at the second reference temperature"),
                    QStringLiteral("reyn (lbf·s/in²) at the second reference temperature"));

  // Controls of the window itself that lie over Frame1, drawn above it.
  vc_ = MakeTextBox(this, "vc", QStringLiteral("320"), Twips(3090, 1020, 1155, 435),
                    QStringLiteral("Viscosity at 40 °C"), QStringLiteral("cSt at 40 °C"));
  vh_ = MakeTextBox(this, "vh", QStringLiteral("35"), Twips(3090, 1590, 1155, 435),
                    QStringLiteral("Viscosity at 100 °C"), QStringLiteral("cSt at 100 °C"));
  tref_ = MakeTextBox(this, "tref", QStringLiteral("71"), Twips(420, 2640, 1125, 435),
                      QStringLiteral("First reference temperature"), QStringLiteral("°C"));

  command1_ = new QPushButton(this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setFont(NamedFont(12));
  command1_->setGeometry(Twips(3450, 3000, 3375, 795));
  const int margin =
      2 * command1_->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, command1_);
  command1_->setText(WrapToWidth(kCommand1Caption, command1_->font(), command1_->width() - margin));
  command1_->setAccessibleName(kCommand1Caption);
  command1_->setAutoDefault(false);
  command1_->setDefault(false);
  SetColour(command1_, QPalette::Button, kLightGreen);

  vcalc_ = MakeResultBox(this, "vcalc", Twips(420, 3870, 1155, 435),
                         QStringLiteral("Viscosity at the first reference temperature"),
                         QStringLiteral("cSt at the first reference temperature"));

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
  RunHandler(this, [&done] {
    CalculateViscosity();
    done = true;
  });
  if (done) emit calculated();
}

void Form1Window::LubList_Click() {
  RunHandler(this, [] { SelectLubricant(); });
}

}  // namespace project1
