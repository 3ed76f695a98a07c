"""The module's numbers are the tool's, bit for bit, for every catalogue oil and typed ones."""

import math

import numpy
import project1
import pytest

from conftest import viscosity_json

TEMPERATURES = ["-20", "0", "40", "71", "100", "150", "160F", "300K"]

# Each oil: the tool's options, and the module's arguments (v40, v100 or vi=, law=).
CATALOGUE = [(["--oil", oil["name"]], oil) for oil in project1.catalogue()]
TYPED = [
    (["--v40", "46", "--v100", "6.8"], {"v40": 46, "v100": 6.8}),
    (["--v40", "220", "--vi", "95"], {"v40": 220, "vi": 95}),
    (["--v40", "320", "--v100", "35", "--law", "d341"], {"v40": 320, "v100": 35, "law": "d341"}),
    (["--v40", "1.5", "--v100", "0.9"], {"v40": 1.5, "v100": 0.9}),
    (["--v40", "12000", "--v100", "600"], {"v40": 12000, "v100": 600}),
]


def module_temperatures(texts):
    """The tool's temperature texts as the module's numbers and units."""
    def one(text):
        if text[-1] in "FK":
            return float(text[:-1]), text[-1]
        return float(text), "C"
    return [one(text) for text in texts]


@pytest.mark.parametrize("options,oil", CATALOGUE + TYPED, ids=lambda x: " ".join(x)
                         if isinstance(x, list) else None)
def test_kinematic_and_index_are_the_tools(options, oil):
    rows = viscosity_json("at", *TEMPERATURES, *options)
    kwargs = {"law": oil.get("law", "walther")}
    if "vi" in oil:
        kwargs["vi"] = oil["vi"]
        args = (oil["v40"],)
    else:
        args = (oil["v40"], oil["v100"])
    for row, (t, unit) in zip(rows, module_temperatures(TEMPERATURES)):
        assert project1.kinematic_at(*args, t=t, unit=unit, **kwargs) == row["kinematic_cst"]
        if "sg" in oil:
            nu = row["kinematic_cst"]
            assert project1.dynamic_viscosity(nu, oil["sg"], unit="reyn") == row["dynamic_reyn"]
            assert project1.dynamic_viscosity(nu, oil["sg"]) == row["dynamic_mpa_s"]
    # The same temperatures as one array, in degrees C: the same numbers.
    celsius = [40.0, 71.0, 100.0]
    array = project1.kinematic_at(*args, t=celsius, **kwargs)
    tool = [r["kinematic_cst"] for r in viscosity_json("at", "40", "71", "100", *options)]
    assert array.tolist() == tool

    index = viscosity_json("index", *options)
    v100 = project1.v100_for_index(oil["v40"], oil["vi"]) if "vi" in oil else oil["v100"]
    assert v100 == index["kinematic_100c_cst"]
    if v100 < oil["v40"]:
        assert project1.viscosity_index(oil["v40"], v100) == (
            index["viscosity_index"], index["viscosity_index_unrounded"])
    assert project1.iso_vg(oil["v40"]) == index["iso_vg"]
    assert project1.sae_j300_grades(v100) == index["sae_j300_grades"]
    assert project1.sae_j306_grade(v100) == index["sae_j306_grade"]
    assert project1.saybolt_seconds(project1.kinematic_at(*args, t=100, unit="F", **kwargs),
                                    100, unit="F") == index["saybolt_100f_s"]

    found = viscosity_json("temperature-for", "50", *options)
    if "vi" not in oil and oil.get("law", "walther") == "walther":
        line = project1.line_from_points([40, 100], [oil["v40"], oil["v100"]])
        assert line.temperature_for(50) == found["temperature_c"]


def test_a_line_through_points_is_the_tools():
    points = ["-10=5200", "20=900", "40=320", "100=35", "120=22"]
    rows = viscosity_json("at", "0", "60", "212F",
                          *[a for p in points for a in ("--point", p)])
    line = project1.line_from_points([-10, 20, 40, 100, 120], [5200, 900, 320, 35, 22])
    assert line.kinematic_at([0, 60]).tolist() == [r["kinematic_cst"] for r in rows[:2]]
    assert line.kinematic_at(212, unit="F") == rows[2]["kinematic_cst"]
    assert line.fit_max_deviation_percent == rows[0]["fit_max_deviation_percent"]
    assert max(abs(line.deviations_percent)) == line.fit_max_deviation_percent
    assert project1.line_from_points([40, 100], [320, 35]).fit_max_deviation_percent is None


def test_expansion_blends_and_bearings_are_the_tools():
    rows = viscosity_json("at", "80", "--oil", "SHC 632", "--expansion", "0.0007")
    nu = rows[0]["kinematic_cst"]
    assert project1.dynamic_viscosity(nu, 0.87, 80, expansion=0.0007) == rows[0]["dynamic_mpa_s"]
    assert project1.dynamic_viscosity(nu, 0.87, 80, expansion=0.0007, unit="Pa*s") == (
        rows[0]["dynamic_mpa_s"] / 1000)

    blend = viscosity_json("blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--at", "40",
                           "--fraction", "0.3")
    # The tool blends the two lines' viscosities at --at.
    first, second = project1.kinematic_at([66, 222], [10.3, 25.7], 40)
    assert project1.blend(first, second, 0.3) == blend["blend_kinematic_cst"]
    assert project1.blend(66, 222, 0.3) == blend["blend_kinematic_40c_cst"]
    target = viscosity_json("blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--at", "40",
                            "--target", "100")
    assert project1.blend_fraction(first, second, 100) == target["fraction"]

    bearing = viscosity_json("bearing", "--oil", "SHC 632", "--bore", "50", "--outside", "90",
                             "--speed", "1500", "--at", "70")
    dm = project1.mean_diameter(50, 90)
    assert dm == bearing["mean_diameter_mm"]
    rated = project1.rated_viscosity(dm, 1500)
    assert rated == bearing["rated_viscosity_cst"]
    point = bearing["points"][0]
    assert project1.kappa(project1.kinematic_at(320, 35, 70), rated) == point["kappa"]


def test_undefined_values_are_none_for_numbers_and_nan_in_arrays():
    assert project1.viscosity_index(10, 1.9) == (None, None)
    rounded, unrounded = project1.viscosity_index([10, 320], [1.9, 35])
    assert math.isnan(rounded[0]) and rounded[1] == 155
    assert project1.iso_vg(40) is None
    assert numpy.isnan(project1.iso_vg([40, 46])[0])
    assert project1.sae_j306_grade(1) is None
    assert project1.a_iso(0.05, 30, 3, 1500, 0.5, 0.8) is None  # below the life method


# The tool's bearing options with the life's, and the module's arguments after kappa.
LIVES = [
    (["--rating", "30", "--load", "3", "--fatigue-load", "0.8", "--contamination", "0.5",
      "--type", "roller", "--reliability", "95"],
     (30, 3, 1500, 0.5, 0.8), {"type": "roller", "reliability": 95}),
    (["--rating", "12", "--load", "2", "--fatigue-load", "0.3", "--contamination", "0.3",
      "--ep"], (12, 2, 1500, 0.3, 0.3), {"ep": True}),
    (["--rating", "50", "--load", "10", "--fatigue-load", "1.2", "--contamination", "0.1",
      "--type", "thrust-ball"], (50, 10, 1500, 0.1, 1.2), {"type": "thrust-ball"}),
]


@pytest.mark.parametrize("options,bearing,kwargs", LIVES)
def test_a_bearings_life_is_the_tools(options, bearing, kwargs):
    tool = viscosity_json("bearing", "--oil", "SHC 626", "--dm", "70", "--speed", "1500",
                          "--at", "40", "--at", "100", "--at", "200", *options)
    kappas = [point["kappa"] for point in tool["points"]]
    a_iso = project1.a_iso(kappas, *bearing, **kwargs)
    hours = project1.modified_rating_life_hours(kappas, *bearing, **kwargs)
    for i, point in enumerate(tool["points"]):
        if point["a_iso"] is None:
            assert numpy.isnan(a_iso[i]) and numpy.isnan(hours[i])
        else:
            assert (a_iso[i], hours[i]) == (point["a_iso"], point["modified_rating_life_hours"])
    assert project1.a_iso(kappas[0], *bearing, **kwargs) == tool["points"][0]["a_iso"]
