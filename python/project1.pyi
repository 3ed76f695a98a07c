# The type stub of the module project1 (python/module.cpp): each function's signature, checked
# against the module by tests/python/test_stub.py.
from typing import Any, TypedDict

import numpy
import numpy.typing

__version__: str

ArrayLike = numpy.typing.ArrayLike
# A float for numbers only, an array of the broadcast shape otherwise.
Floats = float | numpy.ndarray

class OilRecord(TypedDict):
    name: str
    v40: float
    v100: float
    sg: float | None
    note: str
    source: str

class Line:
    @property
    def law(self) -> str: ...
    @property
    def a(self) -> float: ...
    @property
    def b(self) -> float: ...
    @property
    def fit_max_deviation_percent(self) -> float | None: ...
    @property
    def deviations_percent(self) -> numpy.ndarray: ...
    def kinematic_at(self, t: ArrayLike, unit: str = "C") -> Floats: ...
    def temperature_for(self, nu: ArrayLike, unit: str = "C") -> Floats: ...

def kinematic_at(
    v40: ArrayLike,
    v100: ArrayLike | None = None,
    t: ArrayLike | None = None,
    *,
    vi: ArrayLike | None = None,
    law: str = "walther",
    unit: str = "C",
) -> Floats: ...
def line_from_points(
    temperatures: ArrayLike, viscosities: ArrayLike, *, law: str = "walther", unit: str = "C"
) -> Line: ...
def dynamic_viscosity(
    nu: ArrayLike,
    sg: ArrayLike,
    t: ArrayLike | None = None,
    *,
    unit: str = "mPa*s",
    expansion: ArrayLike | None = None,
    t_unit: str = "C",
) -> Floats: ...
def viscosity_index(v40: ArrayLike, v100: ArrayLike) -> tuple[Any, Any]: ...
def v100_for_index(v40: ArrayLike, vi: ArrayLike) -> Floats: ...
def iso_vg(v40: ArrayLike) -> int | None | numpy.ndarray: ...
def sae_j300_grades(v100: ArrayLike) -> list[str] | numpy.ndarray: ...
def sae_j306_grade(v100: ArrayLike) -> str | None | numpy.ndarray: ...
def saybolt_seconds(nu: ArrayLike, t: ArrayLike, unit: str = "C") -> Floats: ...
def blend(nu_first: ArrayLike, nu_second: ArrayLike, fraction: ArrayLike) -> Floats: ...
def blend_fraction(nu_first: ArrayLike, nu_second: ArrayLike, target: ArrayLike) -> Floats: ...
def mean_diameter(bore: ArrayLike, outside: ArrayLike) -> Floats: ...
def rated_viscosity(dm: ArrayLike, n: ArrayLike) -> Floats: ...
def kappa(nu: ArrayLike, rated: ArrayLike) -> Floats: ...
def a_iso(
    kappa: ArrayLike,
    rating: ArrayLike,
    load: ArrayLike,
    speed: ArrayLike,
    contamination: ArrayLike,
    fatigue_load: ArrayLike,
    *,
    type: str = "ball",
    reliability: float = 90.0,
    ep: bool = False,
) -> float | None | numpy.ndarray: ...
def modified_rating_life_hours(
    kappa: ArrayLike,
    rating: ArrayLike,
    load: ArrayLike,
    speed: ArrayLike,
    contamination: ArrayLike,
    fatigue_load: ArrayLike,
    *,
    type: str = "ball",
    reliability: float = 90.0,
    ep: bool = False,
) -> float | None | numpy.ndarray: ...
def catalogue() -> list[OilRecord]: ...
def user_oils() -> list[OilRecord]: ...
def oil(name: str) -> OilRecord: ...
