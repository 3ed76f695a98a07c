#pragma once
// The module's arrays: arguments that are numbers or NumPy arrays, broadcast against each other
// as NumPy broadcasts them, one result a broadcast element; and the engine's errors as
// ValueError naming the argument (and, in an array, the first bad element's index).

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "error/error.h"

namespace project1::python {

namespace py = pybind11;

// An argument of a broadcast call: its name in messages and its values.
struct Arg {
  const char* name;
  py::array_t<double, py::array::forcecast> values;
};
// An argument as given: a number, a sequence of numbers or an array.
Arg ArgOf(const char* name, const py::object& given);

// An error of the engine about the arguments in `args` (bit i for the call's argument i, those
// of a step that reads them together), to be raised as ValueError.
struct Blamed {
  unsigned args;
  Error error;
};
constexpr unsigned ArgBit(int i) { return 1u << i; }

// Runs `step`, its error the fault of the arguments in `args`.
template <typename Step>
auto Blame(unsigned args, Step step) {
  try {
    return step();
  } catch (const Error& error) {
    throw Blamed{args, error};
  }
}

// ValueError: "<name>: <message>", or "<name>[i, j]: <message>" for an element of an array
// argument, the index the element's in that argument's own array; each blamed argument named,
// "v40, v100[3]: ...".
[[noreturn]] void RaiseFor(const Arg* args, std::size_t count, unsigned blamed,
                           const std::vector<py::ssize_t>& result_index, const Error& error);

// The broadcast shape of the arguments; ValueError naming them when they do not broadcast.
std::vector<py::ssize_t> BroadcastShape(const Arg* args, std::size_t count);

// Calls `element(values)` for every element of the arguments broadcast, `values` the arguments'
// numbers there (an array of N doubles), and returns the results: a float when every argument is
// a number, otherwise an array of the broadcast shape. An element's Blamed error is raised as
// ValueError naming its argument and index.
template <std::size_t N, typename Element>
py::object Broadcast(const std::array<Arg, N>& args, Element element) {
  const std::vector<py::ssize_t> shape = BroadcastShape(args.data(), N);
  const std::size_t ndim = shape.size();
  // Each argument's byte strides along the result's dimensions: 0 where it is broadcast.
  std::array<std::vector<py::ssize_t>, N> strides;
  std::array<const char*, N> data{};
  for (std::size_t a = 0; a < N; ++a) {
    const py::array& values = args[a].values;
    strides[a].assign(ndim, 0);
    const std::size_t own = static_cast<std::size_t>(values.ndim());
    for (std::size_t d = 0; d < own; ++d) {
      if (values.shape(static_cast<py::ssize_t>(d)) != 1) {
        strides[a][ndim - own + d] = values.strides(static_cast<py::ssize_t>(d));
      }
    }
    data[a] = static_cast<const char*>(values.data());
  }
  py::array_t<double> result(shape);
  double* out = result.mutable_data();
  const py::ssize_t size = result.size();
  std::vector<py::ssize_t> index(ndim, 0);
  std::array<double, N> values{};
  std::array<py::ssize_t, N> offset{};
  for (py::ssize_t i = 0; i < size; ++i) {
    for (std::size_t a = 0; a < N; ++a) {
      values[a] = *reinterpret_cast<const double*>(data[a] + offset[a]);
    }
    try {
      out[i] = element(values);
    } catch (const Blamed& blamed) {
      RaiseFor(args.data(), N, blamed.args, index, blamed.error);
    }
    // The next element in C order.
    for (std::size_t d = ndim; d-- > 0;) {
      if (++index[d] < shape[d]) {
        for (std::size_t a = 0; a < N; ++a) offset[a] += strides[a][d];
        break;
      }
      for (std::size_t a = 0; a < N; ++a) offset[a] -= strides[a][d] * (shape[d] - 1);
      index[d] = 0;
    }
  }
  if (ndim == 0) return py::float_(out[0]);
  return result;
}

}  // namespace project1::python
