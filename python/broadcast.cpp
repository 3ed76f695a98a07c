#include "python/broadcast.h"

#include <algorithm>
#include <utility>

namespace project1::python {

Arg ArgOf(const char* name, const py::object& given) {
  // A null array where the numbers cannot be read.
  auto values = py::array_t<double, py::array::forcecast>::ensure(given);
  if (values) return {name, std::move(values)};
  throw py::type_error(std::string(name) + " must be a number or an array of numbers.");
}

void RaiseFor(const Arg* args, std::size_t count, unsigned blamed,
              const std::vector<py::ssize_t>& result_index, const Error& error) {
  std::string where;
  for (std::size_t a = 0; a < count; ++a) {
    if ((blamed & ArgBit(static_cast<int>(a))) == 0) continue;
    const Arg& arg = args[a];
    where += (where.empty() ? "" : ", ") + std::string(arg.name);
    const auto own = static_cast<std::size_t>(arg.values.ndim());
    if (own == 0) continue;
    where += "[";
    for (std::size_t d = 0; d < own; ++d) {
      const py::ssize_t at = arg.values.shape(static_cast<py::ssize_t>(d)) == 1
                                 ? 0
                                 : result_index[result_index.size() - own + d];
      where += (d > 0 ? ", " : "") + std::to_string(at);
    }
    where += "]";
  }
  throw py::value_error(where.empty() ? std::string(error.what()) : where + ": " + error.what());
}

std::vector<py::ssize_t> BroadcastShape(const Arg* args, std::size_t count) {
  std::size_t ndim = 0;
  for (std::size_t a = 0; a < count; ++a) {
    ndim = std::max(ndim, static_cast<std::size_t>(args[a].values.ndim()));
  }
  std::vector<py::ssize_t> shape(ndim, 1);
  for (std::size_t a = 0; a < count; ++a) {
    const py::array& values = args[a].values;
    const auto own = static_cast<std::size_t>(values.ndim());
    for (std::size_t d = 0; d < own; ++d) {
      const py::ssize_t extent = values.shape(static_cast<py::ssize_t>(d));
      py::ssize_t& into = shape[ndim - own + d];
      if (extent == into || extent == 1) continue;
      if (into != 1) {
        std::string names;
        for (std::size_t b = 0; b < count; ++b) {
          names += std::string(b == 0 ? "" : b + 1 == count ? " and " : ", ") + args[b].name;
        }
        throw py::value_error("The shapes of " + names + " do not broadcast together.");
      }
      into = extent;
    }
  }
  return shape;
}

}  // namespace project1::python
