#include "cli/batch_bearing.h"

#include <algorithm>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "cli/batch.h"
#include "cli/fields.h"
#include "engine/temperature_unit.h"
#include "error/error.h"

namespace project1::cli {

namespace {

constexpr std::string_view kColumnNames[] = {
    "dm", "bore", "outside", "speed", "rating", "load", "fatigue_load", "contamination", "type"};

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

}  // namespace

bool BatchBearing::Take(std::string_view name, std::size_t index) {
  const auto* found = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
  if (found == std::end(kColumnNames)) return false;
  std::optional<std::size_t>& slot = columns_[static_cast<std::size_t>(found - kColumnNames)];
  if (slot) {
    throw Error(ErrorKind::BadInput,
                "line 1: the header names the column " + std::string(name) + " twice.");
  }
  slot = index;
  return true;
}

void BatchBearing::AddColumns(std::span<const std::string> at_names, std::vector<Field>& columns,
                              std::deque<std::string>& texts) {
  const auto has = [this](Column column) { return columns_[column].has_value(); };
  const auto refuse = [](const std::string& problem) {
    throw Error(ErrorKind::BadInput, "line 1: the header names " + problem + ".");
  };
  const bool sized = has(kDm) || has(kBore) || has(kOutside);
  if (has(kDm) && (has(kBore) || has(kOutside))) refuse("dm and bore or outside; name one");
  if (has(kBore) != has(kOutside) && !has(kDm)) {
    refuse(has(kBore) ? "bore without outside" : "outside without bore");
  }
  if (sized != has(kSpeed)) refuse(sized ? "a bearing size without speed" : "speed without dm");
  life_ = has(kRating) && has(kLoad);
  modified_ = life_ && has(kFatigueLoad) && has(kContamination);
  if (has(kRating) != has(kLoad))
    refuse(has(kRating) ? "rating without load" : "load without rating");
  if (has(kFatigueLoad) != has(kContamination)) {
    refuse(has(kFatigueLoad) ? "fatigue_load without contamination"
                             : "contamination without fatigue_load");
  }
  if ((life_ || has(kType)) && !sized) refuse("a bearing's loads without its dm and speed");
  if (has(kFatigueLoad) && !life_) refuse("fatigue_load without rating and load");
  for (const auto& column : columns_) {
    if (column) needed_ = std::max(needed_, *column + 1);
  }
  if (!sized) return;

  const auto add = [&](const Field& field, std::string_view at_name, std::string_view at_label) {
    Field column = Labelled(field, field.label, std::nullopt, "-");
    if (!at_name.empty()) {
      column.key = texts.emplace_back(std::string(field.key) + "_at_" + std::string(at_name));
      column.label = texts.emplace_back(std::string(field.label) + " " + std::string(at_label));
    }
    fields_.push_back(column);
    columns.push_back(column);
  };
  add(Labelled(kRatedField, "ν1"), {}, {});
  if (life_) add(Labelled(kBasicHoursField, "L10h"), {}, {});
  for (const std::string& name : at_names) {
    // "40c" is shown as "at 40 °C".
    const std::string label =
        "at " + DegreesText(name.substr(0, name.size() - 1), UnitOfLetter(name.back()));
    add(kKappaField, name, label);
    if (modified_) {
      add(kAIsoField, name, label);
      add(kModifiedHoursField, name, label);
    }
  }
  size_ = fields_.size();
}

void BatchBearing::Answer(std::span<const std::string_view> fields, const ViscosityLine& line,
                          std::span<const double> at, std::span<Value> out) const {
  std::fill(out.begin(), out.end(), Value());
  if (!any()) return;
  // The cells of the row, blank ones absent.
  std::array<std::optional<std::string_view>, 9> cell;
  bool blank = true;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i]) continue;
    const std::string_view text = Trimmed(fields[*columns_[i]]);
    if (!text.empty()) cell[i] = text;
    blank = blank && text.empty();
  }
  if (blank) return;
  const auto number = [&cell](Column column) {
    return BatchFieldNumber(kColumnNames[column], *cell[column]);
  };
  const auto needs = [&cell](Column column, Column missing) {
    if (cell[column] && !cell[missing]) {
      throw Error(ErrorKind::BadInput, "the row gives " + std::string(kColumnNames[column]) +
                                           " but no " + std::string(kColumnNames[missing]) + ".");
    }
  };
  needs(kBore, kOutside);
  needs(kOutside, kBore);
  needs(kRating, kLoad);
  needs(kLoad, kRating);
  needs(kFatigueLoad, kContamination);
  needs(kContamination, kFatigueLoad);
  needs(kFatigueLoad, kRating);
  if (!cell[kDm] && !cell[kBore]) {
    throw Error(ErrorKind::BadInput, std::string("the row gives no bearing size: ") +
                                         (columns_[kDm] ? "dm." : "bore and outside."));
  }
  if (!cell[kSpeed]) throw Error(ErrorKind::BadInput, "the row gives no speed.");
  const double dm = cell[kDm] ? number(kDm) : MeanDiameter(number(kBore), number(kOutside));
  const double speed = number(kSpeed);
  const double rated = RatedViscosity(dm, speed);

  std::optional<LifeInputs> life;
  std::optional<BasicLife> basic;
  if (cell[kRating]) {
    life.emplace();
    if (cell[kType]) {
      const std::optional<BearingType> type = BearingTypeNamed(*cell[kType]);
      if (!type) {
        std::string names;
        for (const std::string_view name : BearingTypeNames()) {
          names += (names.empty() ? "" : ", ") + std::string(name);
        }
        throw Error(ErrorKind::BadInput,
                    "type \"" + std::string(*cell[kType]) + "\" is not one of " + names + ".");
      }
      life->type = *type;
    }
    life->rating_kn = number(kRating);
    life->load_kn = number(kLoad);
    life->speed_rpm = speed;
    if (cell[kFatigueLoad]) {
      life->fatigue_load_kn = number(kFatigueLoad);
      const std::optional<Cleanliness> level = CleanlinessNamed(*cell[kContamination]);
      life->contamination = level ? ContaminationFactor(*level, dm) : number(kContamination);
    }
    basic = BasicLifeOf(*life);
  }

  std::size_t i = 0;
  out[i++] = rated;
  if (life_) out[i++] = basic ? Value(basic->basic_rating_life_hours) : Value();
  for (const double t : at) {
    const double kappa = Kappa(KinematicAt(line, t), rated);
    out[i++] = kappa;
    if (!modified_) continue;
    if (basic && basic->contamination_factor) {
      const ModifiedLife modified = ModifiedLifeAt(*life, *basic, kappa);
      out[i] = modified.a_iso ? Value(*modified.a_iso) : Value();
      out[i + 1] = modified.modified_rating_life_hours ? Value(*modified.modified_rating_life_hours)
                                                       : Value();
    }
    i += 2;
  }
}

void BatchBearing::AddToJsonRow(std::span<const Value> values, Json& row, Json& points) const {
  if (!any()) return;
  const std::size_t shared = life_ ? 2 : 1;
  const Field row_fields[] = {kRatedField, kBasicHoursField};
  AddToJson(row, std::span(row_fields).first(shared), values.first(shared));
  const std::size_t per_t = modified_ ? 3 : 1;
  const Field point_fields[] = {kKappaField, kAIsoField, kModifiedHoursField};
  for (std::size_t i = 0; i < points.size(); ++i) {
    AddToJson(points[i], std::span(point_fields).first(per_t),
              values.subspan(shared + i * per_t, per_t));
  }
}

}  // namespace project1::cli
