#pragma once
// An in-memory main window for tests.
//
// FakeForm holds the named controls with the texts, colours and list of the window as it starts,
// records every property call in order as a readable string, and can be told to refuse a chosen
// call. The strings are "<control>.<property>=<value>" for a write, "<control>.<property>?" for
// a read, "LubList.AddItem=<item>" for an append, e.g. "vcalc.Text=85.642",
// "vcalc.BackColor=0x0080FF80", "Label4.Bold=true", "Label4.Size=14", "vc.Text?".
// A call is named by the part before its value: "vcalc.Text=", "vc.Text?", "LubList.AddItem=".

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "test_support.h"
#include "window/controls.h"

namespace project1 {

class FakeForm;

// The back colour of a text box the window has not coloured: the system window colour.
inline constexpr ColourValue kSystemWindowBackground = 0x80000005;

inline std::string ColourText(ColourValue colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
  return text;
}

class FakeTextBox : public TextBox {
 public:
  FakeTextBox(FakeForm& form, std::string name, std::string initial_text,
              ColourValue initial_colour)
      : shown(std::move(initial_text)),
        back_colour(initial_colour),
        form_(form),
        name_(std::move(name)) {}
  FakeTextBox(const FakeTextBox&) = delete;
  FakeTextBox& operator=(const FakeTextBox&) = delete;

  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SetBackColor(ColourValue colour) override;
  const std::string& Name() const { return name_; }

  // What the box shows now; a test types into the box by assigning to `shown`.
  std::string shown;
  ColourValue back_colour;

 private:
  FakeForm& form_;
  std::string name_;
};

class FakeLabel : public Label {
 public:
  explicit FakeLabel(FakeForm& form) : form_(form) {}
  FakeLabel(const FakeLabel&) = delete;
  FakeLabel& operator=(const FakeLabel&) = delete;

  void SetCaption(const std::string& caption) override;
  void SetFontBold(bool bold) override;
  void SetFontSize(double points) override;

  std::string caption;
  bool bold = false;
  double size = 8.25;

 private:
  FakeForm& form_;
};

class FakeComboBox : public ComboBox {
 public:
  explicit FakeComboBox(FakeForm& form) : form_(form) {}
  FakeComboBox(const FakeComboBox&) = delete;
  FakeComboBox& operator=(const FakeComboBox&) = delete;

  std::string Text() const override;
  int ListCount() const override;
  void AddItem(const std::string& item) override;

  // The edit field; a test picks an item by assigning its text here.
  std::string shown = "Lubricant List";
  std::vector<std::string> items;

 private:
  FakeForm& form_;
};

class FakeForm : public Form1Controls {
 public:
  // Installs itself as the window's single instance.
  FakeForm() : previous_(detail::form1_instance) { InstallForm1(this); }
  // Puts back whatever instance was there before (none, as a rule).
  ~FakeForm() override {
    if (detail::form1_instance == this) InstallForm1(previous_);
  }
  FakeForm(const FakeForm&) = delete;
  FakeForm& operator=(const FakeForm&) = delete;

  TextBox& vc() override { return vc_; }
  TextBox& vh() override { return vh_; }
  TextBox& tref() override { return tref_; }
  TextBox& tref2() override { return tref2_; }
  TextBox& SG() override { return sg_; }
  TextBox& vcalc() override { return vcalc_; }
  TextBox& vcalc2() override { return vcalc2_; }
  TextBox& DynVisc() override { return dyn_visc_; }
  TextBox& DynVisc2() override { return dyn_visc2_; }
  Label& Label4() override { return label4_; }
  ComboBox& LubList() override { return lub_list_; }

  // The controls with their state, for tests to read and to set as a user would.
  FakeTextBox& Box(std::string_view name) {
    for (FakeTextBox* box : Boxes()) {
      if (box->Name() == name) return *box;
    }
    throw std::invalid_argument("no text box named " + std::string(name));
  }
  FakeLabel& Notice() { return label4_; }
  FakeComboBox& List() { return lub_list_; }

  // Every call that succeeded, in order; Writes() leaves out the reads.
  const std::vector<std::string>& Calls() const { return calls_; }
  std::vector<std::string> Writes() const {
    std::vector<std::string> writes;
    for (const std::string& call : calls_) {
      if (call.back() != '?') writes.push_back(call);
    }
    return writes;
  }
  void ClearCalls() { calls_.clear(); }

  // Makes the nth call named `call` (counted from now, 1 = the next one) throw
  // Error(ControlError, RefusalMessage(call)) without changing anything.
  void FailCall(const std::string& call, int nth = 1) { failures_[call] = Counter{nth, 0}; }
  static std::string RefusalMessage(const std::string& call) {
    const std::size_t dot = call.find('.');
    const bool read = call.back() == '?';
    const std::string property = call.substr(dot + 1, call.size() - dot - 2);
    const std::string what = property == "AddItem" ? "add an item"
                             : read                ? "give its " + property
                                                   : "take a new " + property;
    return "The window control " + call.substr(0, dot) + " refused to " + what + ".";
  }

  // Runs `action` right after the nth call named `call` has succeeded.
  void AfterCall(const std::string& call, std::function<void()> action, int nth = 1) {
    hooks_[call] = Hook{nth, 0, std::move(action)};
  }

  // Everything the window shows, by "<control>.<property>".
  std::map<std::string, std::string> State() const {
    std::map<std::string, std::string> state;
    for (const FakeTextBox* box : Boxes()) {
      state[box->Name() + ".Text"] = box->shown;
      state[box->Name() + ".BackColor"] = ColourText(box->back_colour);
    }
    state["Label4.Caption"] = label4_.caption;
    state["Label4.Bold"] = label4_.bold ? "true" : "false";
    state["Label4.Size"] = NumberString(label4_.size);
    state["LubList.Text"] = lub_list_.shown;
    std::string items;
    for (const std::string& item : lub_list_.items) items += item + "|";
    state["LubList.Items"] = items;
    return state;
  }

  static std::string NumberString(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
  }

  // Called by the controls: Check before changing anything, Record once done.
  void Check(const std::string& call) {
    auto failure = failures_.find(call);
    if (failure != failures_.end() && ++failure->second.seen == failure->second.nth) {
      throw Error(ErrorKind::ControlError, RefusalMessage(call));
    }
  }
  void Record(const std::string& call, const std::string& value) {
    calls_.push_back(call + value);
    auto hook = hooks_.find(call);
    if (hook != hooks_.end() && ++hook->second.seen == hook->second.nth) hook->second.action();
  }

 private:
  struct Counter {
    int nth;
    int seen;
  };
  struct Hook {
    int nth;
    int seen;
    std::function<void()> action;
  };
  std::vector<FakeTextBox*> Boxes() {
    return {&vc_, &vh_, &tref_, &tref2_, &sg_, &vcalc_, &vcalc2_, &dyn_visc_, &dyn_visc2_};
  }
  std::vector<const FakeTextBox*> Boxes() const {
    return {&vc_, &vh_, &tref_, &tref2_, &sg_, &vcalc_, &vcalc2_, &dyn_visc_, &dyn_visc2_};
  }

  Form1Controls* previous_;
  FakeTextBox vc_{*this, "vc", "320", kSystemWindowBackground};
  FakeTextBox vh_{*this, "vh", "35", kSystemWindowBackground};
  FakeTextBox tref_{*this, "tref", "71", kSystemWindowBackground};
  FakeTextBox tref2_{*this, "tref2", "150", kWhite};
  FakeTextBox sg_{*this, "SG", "0.87", kSystemWindowBackground};
  FakeTextBox vcalc_{*this, "vcalc", "", kSystemWindowBackground};
  FakeTextBox vcalc2_{*this, "vcalc2", "", kSystemWindowBackground};
  FakeTextBox dyn_visc_{*this, "DynVisc", "", kSystemWindowBackground};
  FakeTextBox dyn_visc2_{*this, "DynVisc2", "", kSystemWindowBackground};
  FakeLabel label4_{*this};
  FakeComboBox lub_list_{*this};
  std::vector<std::string> calls_;
  std::map<std::string, Counter> failures_;
  std::map<std::string, Hook> hooks_;
};

inline std::string FakeTextBox::Text() const {
  form_.Check(name_ + ".Text?");
  form_.Record(name_ + ".Text?", "");
  return shown;
}
inline void FakeTextBox::SetText(const std::string& text) {
  form_.Check(name_ + ".Text=");
  shown = text;
  form_.Record(name_ + ".Text=", text);
}
inline void FakeTextBox::SetBackColor(ColourValue colour) {
  form_.Check(name_ + ".BackColor=");
  back_colour = colour;
  form_.Record(name_ + ".BackColor=", ColourText(colour));
}

inline void FakeLabel::SetCaption(const std::string& text) {
  form_.Check("Label4.Caption=");
  caption = text;
  form_.Record("Label4.Caption=", text);
}
inline void FakeLabel::SetFontBold(bool on) {
  form_.Check("Label4.Bold=");
  bold = on;
  form_.Record("Label4.Bold=", on ? "true" : "false");
}
inline void FakeLabel::SetFontSize(double points) {
  form_.Check("Label4.Size=");
  size = points;
  form_.Record("Label4.Size=", FakeForm::NumberString(points));
}

inline std::string FakeComboBox::Text() const {
  form_.Check("LubList.Text?");
  form_.Record("LubList.Text?", "");
  return shown;
}
inline int FakeComboBox::ListCount() const {
  form_.Check("LubList.ListCount?");
  form_.Record("LubList.ListCount?", "");
  return static_cast<int>(items.size());
}
inline void FakeComboBox::AddItem(const std::string& item) {
  form_.Check("LubList.AddItem=");
  items.push_back(item);
  form_.Record("LubList.AddItem=", item);
}

}  // namespace project1
