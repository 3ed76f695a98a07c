#include "window/my_oils_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <utility>

#include "engine/model.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "window/report.h"

namespace project1 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Wide enough for a long value or name and a note's first words.
constexpr int kBoxCharacters = 32;

}  // namespace

std::string ShownViscosity(double cst) { return FormatNumber(cst, kKinematicPattern); }

std::string ShownGravity(const std::optional<double>& gravity) {
  return gravity ? FormatNumber(*gravity, kGravityPattern) : std::string();
}

UserOil ReadOilValues(const std::string& visc40, const std::string& visc100,
                      const std::string& gravity, bool gravity_may_be_blank) {
  CalcState s;
  s.visc40 = TextToNumber(visc40, kVisc40Name);
  s.visc100 = TextToNumber(visc100, kVisc100Name);
  FitViscosityLine(s);
  UserOil oil;
  oil.nu40 = s.visc40;
  oil.nu100 = s.visc100;
  if (gravity_may_be_blank && gravity.find_first_not_of(" \t") == std::string::npos) return oil;
  s.gravity = TextToNumber(gravity, kGravityName);
  DensityFromGravity(s);
  oil.gravity = s.gravity;
  return oil;
}

OilForm::OilForm(QWidget* parent, const QString& title, Boxes boxes, const UserOil& start)
    : QDialog(parent), start_(start) {
  setObjectName(QStringLiteral("OilForm"));
  setWindowTitle(title);
  auto* form = new QFormLayout;
  const auto add = [&](const char* name, const QString& label, const std::string& text) {
    auto* box = new QLineEdit(Q(text), this);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(label);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * kBoxCharacters);
    form->addRow(label, box);
  };
  const auto show = [&](const char* name, const QString& label, const std::string& text) {
    auto* value = new QLabel(Q(text.empty() ? std::string("none") : text), this);
    value->setObjectName(QString::fromLatin1(name));
    value->setAccessibleName(label);
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    form->addRow(label, value);
  };
  if (boxes == kNameAndNote) {
    add("name", QStringLiteral("Name"), start.name);
    show("shown40", QStringLiteral("Viscosity @ 40 C, cSt"), ShownViscosity(start.nu40));
    show("shown100", QStringLiteral("Viscosity @ 100 C, cSt"), ShownViscosity(start.nu100));
    show("shownGravity", QStringLiteral("Specific Gravity"), ShownGravity(start.gravity));
  } else {
    add("visc40", QStringLiteral("Viscosity @ 40 C, cSt"), ShownViscosity(start.nu40));
    add("visc100", QStringLiteral("Viscosity @ 100 C, cSt"), ShownViscosity(start.nu100));
    add("gravity", QStringLiteral("Specific Gravity"), ShownGravity(start.gravity));
  }
  add("note", QStringLiteral("Note (optional)"), start.note);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

QLineEdit* OilForm::Box(const char* box) const {
  return findChild<QLineEdit*>(QString::fromLatin1(box));
}

std::string OilForm::Text(const char* box) const { return Box(box)->text().toStdString(); }

std::string OilForm::ValueText(const char* box) const {
  const std::string text = Text(box);
  const std::string_view name(box);
  if (name == "visc40" && text == ShownViscosity(start_.nu40)) return NumberToText(start_.nu40);
  if (name == "visc100" && text == ShownViscosity(start_.nu100)) return NumberToText(start_.nu100);
  if (name == "gravity" && start_.gravity && text == ShownGravity(start_.gravity)) {
    return NumberToText(*start_.gravity);
  }
  return text;
}

MyOilsDialog::MyOilsDialog(QWidget* parent, std::filesystem::path file)
    : QDialog(parent),
      file_(std::move(file)),
      table_(new QTableWidget(this)),
      rename_(new QPushButton(QStringLiteral("Rename…"), this)),
      edit_(new QPushButton(QStringLiteral("Edit…"), this)),
      remove_(new QPushButton(QStringLiteral("Remove"), this)) {
  setObjectName(QStringLiteral("MyOils"));
  setWindowTitle(QStringLiteral("My oils"));
  table_->setObjectName(QStringLiteral("myOilsTable"));
  table_->setColumnCount(5);
  table_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("@ 40 C, cSt"),
                                     QStringLiteral("@ 100 C, cSt"),
                                     QStringLiteral("Specific Gravity"), QStringLiteral("Note")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  auto* where = new QLabel(QString::fromStdString(file_.string()), this);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {rename_, edit_, remove_}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(where);
  layout->addLayout(buttons);
  resize(620, 320);
  connect(rename_, &QPushButton::clicked, this, &MyOilsDialog::AskRename);
  connect(edit_, &QPushButton::clicked, this, &MyOilsDialog::AskEdit);
  connect(remove_, &QPushButton::clicked, this, &MyOilsDialog::AskRemove);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { AskEdit(); });
  Reload();
}

void MyOilsDialog::Reload() {
  const UserOilLibrary library = ReadUserOils(file_);
  oils_ = library.oils;
  table_->setRowCount(static_cast<int>(oils_.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const UserOil& oil = oils_[static_cast<std::size_t>(row)];
    const std::string texts[] = {oil.name, ShownViscosity(oil.nu40), ShownViscosity(oil.nu100),
                                 ShownGravity(oil.gravity), oil.note};
    for (int column = 0; column < 5; ++column) {
      auto* item = new QTableWidgetItem(Q(texts[column]));
      if (column >= 1 && column <= 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
  table_->resizeColumnsToContents();
  if (!library.problems.empty()) {
    ReportError(this, library.problems.front() +
                          (library.problems.size() > 1
                               ? " (and " + std::to_string(library.problems.size() - 1) +
                                     " more rows that cannot be read)"
                               : std::string()));
  }
}

void MyOilsDialog::Change(const std::function<void(std::vector<UserOil>&)>& change) {
  const std::optional<Error> refused = RunHandler(this, [&] { ChangeUserOils(file_, change); });
  Reload();
  if (!refused) emit changed();
}

// The oil of `row` as the table shows it, found again in the file by its name.
static std::vector<UserOil>::iterator Same(std::vector<UserOil>& oils, const UserOil& shown) {
  const std::string key = NameKey(shown.name);
  for (auto it = oils.begin(); it != oils.end(); ++it) {
    if (NameKey(it->name) == key) return it;
  }
  throw Error(ErrorKind::File,
              "The oil \"" + shown.name + "\" is no longer in the file; the list is read again.");
}

void MyOilsDialog::Rename(int row, const std::string& new_name) {
  if (row < 0 || row >= static_cast<int>(oils_.size())) return;
  const UserOil shown = oils_[static_cast<std::size_t>(row)];
  Change([&](std::vector<UserOil>& oils) { Same(oils, shown)->name = new_name; });
}

void MyOilsDialog::Edit(int row, const UserOil& values) {
  if (row < 0 || row >= static_cast<int>(oils_.size())) return;
  const UserOil shown = oils_[static_cast<std::size_t>(row)];
  Change([&](std::vector<UserOil>& oils) {
    UserOil& oil = *Same(oils, shown);
    oil.nu40 = values.nu40;
    oil.nu100 = values.nu100;
    oil.gravity = values.gravity;
    oil.note = values.note;
  });
}

void MyOilsDialog::Remove(int row) {
  if (row < 0 || row >= static_cast<int>(oils_.size())) return;
  const UserOil shown = oils_[static_cast<std::size_t>(row)];
  Change([&](std::vector<UserOil>& oils) { oils.erase(Same(oils, shown)); });
}

void MyOilsDialog::AskRename() {
  const int row = table_->currentRow();
  if (row < 0) return;
  bool ok = false;
  const QString name =
      QInputDialog::getText(this, QStringLiteral("Rename oil"), QStringLiteral("New name:"),
                            QLineEdit::Normal, Q(oils_[static_cast<std::size_t>(row)].name), &ok);
  if (ok) Rename(row, name.toStdString());
}

void MyOilsDialog::AskEdit() {
  const int row = table_->currentRow();
  if (row < 0) return;
  const UserOil& shown = oils_[static_cast<std::size_t>(row)];
  OilForm form(this, QStringLiteral("Edit ") + Q(shown.name), OilForm::kValuesAndNote, shown);
  while (form.exec() == QDialog::Accepted) {
    std::optional<UserOil> values;
    const std::optional<Error> refused = RunHandler(&form, [&] {
      values = ReadOilValues(form.ValueText("visc40"), form.ValueText("visc100"),
                             form.ValueText("gravity"), true);
    });
    if (refused) {
      // The box the message named, ready for the correction.
      const char* box = refused->subject() == kVisc40Name    ? "visc40"
                        : refused->subject() == kVisc100Name ? "visc100"
                                                             : "gravity";
      form.Box(box)->setFocus();
      form.Box(box)->selectAll();
      continue;
    }
    values->note = form.Text("note");
    Edit(row, *values);
    return;
  }
}

void MyOilsDialog::AskRemove() {
  const int row = table_->currentRow();
  if (row < 0) return;
  const QString name = Q(oils_[static_cast<std::size_t>(row)].name);
  if (QMessageBox::question(this, QStringLiteral("Remove oil"),
                            QStringLiteral("Remove \"%1\" from your oils?").arg(name)) ==
      QMessageBox::Yes) {
    Remove(row);
  }
}

}  // namespace project1
