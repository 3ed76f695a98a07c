#pragma once
// The bearing columns of a batch: a header may name dm (or bore and outside), speed, rating, load,
// fatigue_load, contamination (e_C, or a cleanliness level) and type, and each row then gets the
// bearing's rated viscosity and, at each temperature, its kappa; with rating and load its L10h;
// with fatigue_load and contamination as well, a_ISO and L_nmh at each temperature. A row whose
// bearing cells are all blank gets none of them.

#include <array>
#include <cstddef>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"
#include "engine/viscosity_line.h"

namespace project1::cli {

class BatchBearing {
 public:
  // Takes the header's column `name` (lower case, trimmed) at `index`: false when it is not a
  // bearing column; Error(BadInput) for a bearing column named twice.
  bool Take(std::string_view name, std::size_t index);
  // After the header: Error(BadInput) for columns that cannot work together (bore without
  // outside, rating without load, ...). Then appends the answer's columns, named after the
  // temperatures (`at_names`, as "40c"); their texts are kept in `texts`.
  void AddColumns(std::span<const std::string> at_names, std::vector<Field>& columns,
                  std::deque<std::string>& texts);
  bool any() const { return size_ != 0; }
  // The number of columns AddColumns added.
  std::size_t size() const { return size_; }
  // The fields a row needs to hold all the bearing columns.
  std::size_t needed() const { return needed_; }

  // The answers of one row of `fields` on the oil's `line`, into `out` (size() values), computed
  // whole before the row is written; Error for a cell that is not what its column needs.
  void Answer(std::span<const std::string_view> fields, const ViscosityLine& line,
              std::span<const double> at, std::span<Value> out) const;

  // A JSON row's bearing keys: the row's and, in each of `points`, that temperature's.
  void AddToJsonRow(std::span<const Value> values, Json& row, Json& points) const;

 private:
  enum Column { kDm, kBore, kOutside, kSpeed, kRating, kLoad, kFatigueLoad, kContamination, kType };
  std::array<std::optional<std::size_t>, 9> columns_;
  bool life_ = false;      // rating and load
  bool modified_ = false;  // fatigue_load and contamination as well
  std::size_t size_ = 0;
  std::size_t needed_ = 0;
  std::vector<Field> fields_;  // the columns added, in order
};

}  // namespace project1::cli
