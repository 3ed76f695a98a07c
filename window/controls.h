#pragma once
// The window's named controls and the few property calls the engine and the catalogue make on
// them. The Qt window implements this surface; tests use an in-memory one. No Qt here.
//
// Every call either succeeds or throws Error(ControlError), which ends the calling handler.

#include <cstdint>
#include <string>

#include "numtext/error.h"

namespace project1 {

// A colour value: 0x00BBGGRR for a fixed colour, 0x80000000 plus an index for a system colour.
using ColourValue = std::uint32_t;

inline constexpr ColourValue kLightGreen = 0x0080FF80;
inline constexpr ColourValue kWhite = 0x00FFFFFF;
inline constexpr ColourValue kRed = 0x000000FF;
inline constexpr ColourValue kSystemMenu = 0x80000004;
inline constexpr ColourValue kSystemWindowText = 0x80000008;
inline constexpr ColourValue kSystemActiveBorder = 0x8000000A;

class TextBox {
 public:
  virtual ~TextBox() = default;
  // The text the box shows now, as typed or as last written.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetBackColor(ColourValue colour) = 0;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetFontBold(bool bold) = 0;
  virtual void SetFontSize(double points) = 0;
};

class ComboBox {
 public:
  virtual ~ComboBox() = default;
  // The text of the edit field: the picked item's text after a pick from the list.
  virtual std::string Text() const = 0;
  virtual int ListCount() const = 0;
  // Appends an item at the end of the list.
  virtual void AddItem(const std::string& item) = 0;
};

// The controls of the main window, by name.
class Form1Controls {
 public:
  virtual ~Form1Controls() = default;
  virtual TextBox& vc() = 0;
  virtual TextBox& vh() = 0;
  virtual TextBox& tref() = 0;
  virtual TextBox& tref2() = 0;
  virtual TextBox& SG() = 0;
  virtual TextBox& vcalc() = 0;
  virtual TextBox& vcalc2() = 0;
  virtual TextBox& DynVisc() = 0;
  virtual TextBox& DynVisc2() = 0;
  virtual Label& Label4() = 0;
  virtual ComboBox& LubList() = 0;
};

namespace detail {
inline Form1Controls* form1_instance = nullptr;
}

// Makes `controls` the window's single instance (the real window at start, a fake in tests).
inline void InstallForm1(Form1Controls* controls) { detail::form1_instance = controls; }

// The window's single instance; Error(ControlError) when no window exists.
inline Form1Controls& Form1() {
  if (detail::form1_instance == nullptr) {
    throw Error(ErrorKind::ControlError, "The main window does not exist.");
  }
  return *detail::form1_instance;
}

}  // namespace project1
