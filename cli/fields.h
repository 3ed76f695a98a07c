#pragma once
// The fields that more than one command's answer holds, each described once. A command that
// shows one under another label takes it with Labelled, keeping its key and pattern.

#include <optional>
#include <string_view>

#include "bearing/bearing.h"
#include "cli/output.h"
#include "engine/oil_properties.h"

namespace project1::cli {

// The viscosities at one temperature, as columns.
inline constexpr Field kTemperatureField =
    TemperatureField({"temperature_c", "Temperature", "°C", kTemperatureText});
inline constexpr Field kKinematicField{"kinematic_cst", "Kinematic", "cSt", kKinematicText};
inline constexpr Field kReynField{"dynamic_reyn", "Dynamic", "reyn", kReynText};
inline constexpr Field kMpaSField{"dynamic_mpa_s", "Dynamic", "mPa·s", kMpaSText};
inline constexpr Field kPointFields[] = {kTemperatureField, kKinematicField, kReynField,
                                         kMpaSField};

// The viscosity index and the ISO grade.
inline constexpr Field kIndexField{"viscosity_index", "Viscosity index", "", kWholeText,
                                   kIndexUndefined};
inline constexpr Field kUnroundedIndexField{"viscosity_index_unrounded",
                                            "Viscosity index, unrounded", "", kIndexText};
inline constexpr Field kGradeField{"iso_vg", "ISO viscosity grade", "", kGradeText, "none"};

// The oil's reference viscosities and its name.
inline constexpr Field kNu40Field{"kinematic_40c_cst", "Kinematic at 40 °C", "cSt", kKinematicText};
inline constexpr Field kNu100Field{"kinematic_100c_cst", "Kinematic at 100 °C", "cSt",
                                   kKinematicText};
inline constexpr Field kNameField{"name", "Name"};
// The law of the oil's line, in CSV and JSON; text names it above the answer (LawHeading).
inline constexpr Field kLawField{"law"};

// A rolling bearing's need and life (bearing/life.h).
inline constexpr std::string_view kKappaText = kFactorPattern;
inline constexpr std::string_view kHoursText = kHoursPattern;
// Text shown for a bearing's quantity without a value.
inline constexpr std::string_view kNoneText = kNoValueText;
inline constexpr Field kRatedField{"rated_viscosity_cst", "Rated viscosity ν1", "cSt",
                                   kKinematicText};
inline constexpr Field kKappaField{"kappa", "κ", "", kKappaText, kNoneText};
inline constexpr Field kBasicHoursField{"basic_rating_life_hours", "Basic rating life L10h", "h",
                                        kHoursText};
inline constexpr Field kAIsoField{"a_iso", "a_ISO", "", kKappaText, kNoneText};
inline constexpr Field kModifiedHoursField{"modified_rating_life_hours", "L_nmh", "h", kHoursText,
                                           kNoneText};

// `field` shown under another label (and, given, with another unit and text for no value).
constexpr Field Labelled(Field field, std::string_view label,
                         std::optional<std::string_view> unit = std::nullopt,
                         std::optional<std::string_view> none = std::nullopt) {
  field.label = label;
  if (unit) field.unit = *unit;
  if (none) field.none = *none;
  return field;
}

// Values of the index and the grade, when there is one.
inline Value IndexValue(const std::optional<ViscosityIndex>& index) {
  return index ? Value(static_cast<long long>(index->rounded)) : Value();
}
inline Value IndexValue(const std::optional<long>& rounded) {
  return rounded ? Value(static_cast<long long>(*rounded)) : Value();
}
inline Value UnroundedIndexValue(const std::optional<ViscosityIndex>& index) {
  return index ? Value(index->unrounded) : Value();
}
inline Value GradeValue(const std::optional<int>& grade) {
  return grade ? Value(static_cast<long long>(*grade)) : Value();
}

}  // namespace project1::cli
