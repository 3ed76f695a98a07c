#pragma once
// The windows about the user's own oils: the small form that asks for an oil's name, note or
// values, and "My oils", which lists the user's oils with their values and renames, edits and
// removes them. Every change goes through the oils file at once.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "user_oils/user_oils.h"

namespace project1 {

// The three values of an oil read from their texts with the window's number rules and messages;
// an Error's subject names the input (kVisc40Name, ...). A blank gravity is no gravity when
// `gravity_may_be_blank`.
UserOil ReadOilValues(const std::string& visc40, const std::string& visc100,
                      const std::string& gravity, bool gravity_may_be_blank);

// An oil's value as the window shows it: a viscosity in the kinematic results' pattern
// ("1,003.5"), a gravity to at most 8 decimals ("0.87078371"); "" for no gravity.
std::string ShownViscosity(double cst);
std::string ShownGravity(const std::optional<double>& gravity);

// A form of text boxes, each named by its object name ("name", "note", "visc40", "visc100",
// "gravity"), with OK and Cancel. Its values start as the window shows them; with only the name
// and the note to type, the form shows the values it saves beside them.
class OilForm : public QDialog {
  Q_OBJECT

 public:
  enum Boxes { kNameAndNote, kValuesAndNote };
  OilForm(QWidget* parent, const QString& title, Boxes boxes, const UserOil& start = {});

  std::string Text(const char* box) const;
  QLineEdit* Box(const char* box) const;
  // A value box's text, or, while it still reads as the form showed it, the exact value it was
  // shown from, so that an oil edited and saved keeps every digit it had.
  std::string ValueText(const char* box) const;

 private:
  UserOil start_;
};

class MyOilsDialog : public QDialog {
  Q_OBJECT

 public:
  MyOilsDialog(QWidget* parent, std::filesystem::path file);

  // Reads the file again and shows what it holds.
  void Reload();
  const std::vector<UserOil>& oils() const { return oils_; }
  QTableWidget* table() const { return table_; }

  // The changes, each written to the file at once; a refused one is reported and changes
  // nothing. The row is the table's, which follows the file's order.
  void Rename(int row, const std::string& new_name);
  void Edit(int row, const UserOil& values);
  void Remove(int row);

 signals:
  // The file has changed.
  void changed();

 private:
  void Change(const std::function<void(std::vector<UserOil>&)>& change);
  void AskRename();
  void AskEdit();
  void AskRemove();

  std::filesystem::path file_;
  std::vector<UserOil> oils_;
  QTableWidget* table_;
  QPushButton* rename_;
  QPushButton* edit_;
  QPushButton* remove_;
};

}  // namespace project1
