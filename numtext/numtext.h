#pragma once
// Conversions between numbers and the texts shown in the window or written to the table file.
//
// Locale: the program always reads and writes "." as the decimal separator and "," as the
// thousands separator, whatever the system locale, so that a table file and a typed value mean
// the same on every machine.

#include <cstddef>
#include <string>
#include <string_view>

#include "error/error.h"

namespace project1 {

// The number a text denotes. Accepted: blanks (space, tab) around the number, one leading sign,
// digits with optional "," grouping in groups of three after a first group that does not start
// with zero ("12,345.5"; "0,870" is refused as a decimal comma), an optional fraction
// (".5" and "5." too) and an optional exponent ("1e3", "2.5E-4"). Parsing is correctly rounded.
// Throws Error(TypeMismatch) for anything else (empty or blank text, "nan", "inf", hexadecimal,
// a lone ".", two signs, trailing characters, "5,5") and Error(Overflow) for a number beyond
// the range of a double. A number too small for a double becomes zero.
double TextToNumber(std::string_view text);

// The same, for the input named `what` (e.g. "specific gravity"): the messages name it, as in
// 'The specific gravity "" is not a number.' and 'The viscosity at 40 °C "1e999" is too large.'
// The error's subject is `what`.
double TextToNumber(std::string_view text, std::string_view what);

// Shortest decimal text that reads back as the same double, plain (no exponent), no leading
// blank: 31 -> "31", 5.8 -> "5.8", 0.85 -> "0.85". A value that is not finite is spelled out
// for a message: "not a number", "infinite", "minus infinite".
std::string NumberToText(double value);

// Shortest text that reads back as the same double, plain or with an exponent, whichever is
// shorter (plain on a tie), for files other programs read: 40 -> "40", 6.5e-6 -> "6.5e-06",
// 1e10 -> "1e+10"; "inf", "-inf", "nan" for the values that are not finite.
std::string ShortestText(double value);
void AppendShortestText(std::string& out, double value);
// The same written at `at`, which needs room for kShortestTextRoom characters; returns the end.
// Allocates nothing: the writer of streamed output.
inline constexpr std::size_t kShortestTextRoom = 48;
char* PutShortestText(char* at, double value);
// The same shortest digits, always with an exponent of at least two digits: "1e+300",
// "6.5e-06" (a finite value, not zero).
std::string ScientificShortestText(double value);

// Reads `text`, digits with an optional fraction and exponent and nothing else around them (no
// sign, blank, "inf" or "nan"), as the nearest double. False when the text is not one, or when
// the number is too large or too small for a double (and not zero).
bool ReadDecimal(std::string_view text, double& value);

// The value rendered by a display pattern made of "#", "0", "," and at most one ".":
//   "0" shows a digit, a zero where the number has none; "#" shows a digit, nothing for a
//   leading or trailing zero; "." places the decimal separator; "," between integer placeholders
//   asks for thousands grouping. The value is rounded to as many decimals as there are
//   placeholders after the separator, exactly on the double's decimal expansion. More integer
//   digits than placeholders are all shown; a negative value gets a leading "-".
// Fixed choices: no trailing separator when no decimals show ("320", not "320."); a value with
// no digit to show renders "0"; a value that rounds to zero shows no minus sign.
// Throws Error(InvalidOperation) for a value that is not finite and Error(TypeMismatch) for a
// pattern outside that grammar.
std::string FormatNumber(double value, std::string_view pattern);
// The same appended to `out`, with nothing else allocated for a value below 2^53.
void AppendFormattedNumber(std::string& out, double value, std::string_view pattern);

// A number as the program shows it to a person: by `pattern` (see FormatNumber), or, from 10^15
// on (either sign), in the shortest scientific notation ("1e+300"), which a person can still
// read where a grouped number would run to dozens of digits.
std::string ShownNumber(double value, std::string_view pattern);
// Whether ShownNumber, and every other text the program shows a person, writes `value` in
// scientific notation.
bool IsShownInScientific(double value);

// A number as a message shows it, typed or exact: NumberToText's plain digits, but in the
// shortest scientific notation from 10^15 on and below 10^-6 (either sign), where the plain
// digits would run to dozens: 1e-300 -> "1e-300", 2.5e20 -> "2.5e+20", 0.4 -> "0.4".
std::string MessageNumber(double value);

// Every display pattern of the program, each named for what it shows; a front end asks for one
// here and writes no pattern of its own.
// The window's four, for its result boxes and its table file.
inline constexpr std::string_view kKinematicPattern = "###,###.###";       // kinematic results
inline constexpr std::string_view kDynamicPattern = "#.########";          // dynamic results
inline constexpr std::string_view kTemperaturePattern = "##0.0";           // table: temperature
inline constexpr std::string_view kTableViscosityPattern = "###,###.000";  // table: viscosity
// The tool's answers for a person (and the page's beyond the window's boxes).
// Every number from 1,000 on is grouped by thousands.
inline constexpr std::string_view kTemperatureText = "#,##0.0##";
inline constexpr std::string_view kKinematicText = "###,##0.000";
inline constexpr std::string_view kReynText = "###,##0.0000000000";
inline constexpr std::string_view kMpaSText = "###,##0.000";
inline constexpr std::string_view kIndexText = "#,##0.000";
inline constexpr std::string_view kSayboltText = "###,##0.00";
inline constexpr std::string_view kFractionText = "0.000000";
inline constexpr std::string_view kWholeText = "0";
// A rolling bearing's ratios and factors (kappa, a_ISO) and its lives in hours.
inline constexpr std::string_view kFactorPattern = "###,##0.000";
inline constexpr std::string_view kHoursPattern = "###,##0.0";
// A bearing's sizes (mm) and speed (r/min), its life exponent p, life factor a1, contamination
// factor e_C and e_C·C_u/P, as the tool writes them.
inline constexpr std::string_view kBearingSizeText = "###,##0.###";
inline constexpr std::string_view kLifeExponentText = "0.###";
inline constexpr std::string_view kLifeFactorText = "0.00";
inline constexpr std::string_view kContaminationText = "0.0##";
inline constexpr std::string_view kLoadRatioText = "0.000###";
// An ISO viscosity grade, its number after "VG ".
inline constexpr std::string_view kGradeText = "VG 0";
// A line's deviation from its measured points, in percent.
inline constexpr std::string_view kDeviationText = "#,##0.000";
// A temperature in a sentence or a box of the chart window and the page: "72.5 °C".
inline constexpr std::string_view kDegreesPattern = "##0.0##";
// A specific gravity typed or worked out from a density: at most eight decimals (870 / 999.10
// shows as 0.87078371), and to three in a message about the limits.
inline constexpr std::string_view kGravityPattern = "0.0#######";
inline constexpr std::string_view kGravityMessagePattern = "0.000";
// A density in kg/m³ and a count in a message: whole, grouped.
inline constexpr std::string_view kGroupedWholePattern = "#,##0";
// The density of water in kg/m³ in a formula.
inline constexpr std::string_view kWaterDensityPattern = "0.00";
// Numbers on a chart's axes and in its words.
inline constexpr std::string_view kChartNumberPattern = "###,##0.###";
// A coordinate of a drawn picture (SVG), to a hundredth of its unit.
inline constexpr std::string_view kDrawingCoordinatePattern = "0.##";
// `value` rounded to a hundredth and appended as kDrawingCoordinatePattern writes it, never "-0"
// (the shortest text where it is not finite): the general pattern's text without its work, for
// a picture's thousands of coordinates.
void AppendDrawingCoordinate(std::string& out, double value);
// A dynamic viscosity in mPa·s in the record of a calculation.
inline constexpr std::string_view kRecordMpaSPattern = "###,##0.###";

}  // namespace project1
