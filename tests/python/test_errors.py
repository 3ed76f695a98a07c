"""A refused input is ValueError with the tool's own message, naming the argument and, in an
array, the first bad element's index in that argument."""

import project1
import pytest

from conftest import viscosity_error

# The call, the argument and index it names, and the tool's options giving the same refusal.
REFUSALS = [
    (lambda: project1.kinematic_at(0.3, 35, 40), "v40: ", ["--v40", "0.3", "--v100", "35"]),
    (lambda: project1.kinematic_at(320, [35, 5, 0.2], 40), "v100[2]: ",
     ["--v40", "320", "--v100", "0.2"]),
    (lambda: project1.kinematic_at(320, 35, [[40, 50], [60, -300]]), "t[1, 1]: ",
     ["-300", "--v40", "320", "--v100", "35"]),
    (lambda: project1.kinematic_at(320, 35, [40, -500], unit="F"), "t[1]: ",
     ["-500F", "--v40", "320", "--v100", "35"]),
    (lambda: project1.kinematic_at(5, t=40, vi=95), "v40, vi: ", ["--v40", "5", "--vi", "95"]),
    (lambda: project1.dynamic_viscosity(100, [0.87, 0.2]), "sg[1]: ", None),
    (lambda: project1.viscosity_index(10, [5, 20]), "v40, v100[1]: ", None),
    (lambda: project1.blend(66, 222, 1.5), "nu_first, nu_second, fraction: ", None),
    (lambda: project1.rated_viscosity(-70, 1500), "dm, n: ", None),
    (lambda: project1.a_iso([1, 2], 30, [3, 40], 1500, 0.5, 0.8),
     "rating, load[1], speed, contamination, fatigue_load: ", None),
    (lambda: project1.modified_rating_life_hours(float("nan"), 30, 3, 1500, 0.5, 0.8), "kappa: ",
     None),
]


@pytest.mark.parametrize("call,where,options", REFUSALS)
def test_refusal_names_the_argument_and_gives_the_engines_message(call, where, options):
    with pytest.raises(ValueError) as raised:
        call()
    message = str(raised.value)
    assert message.startswith(where)
    if options is not None:
        temperature = [] if not options[0].startswith("--") else ["40"]
        assert message == where + viscosity_error("at", *temperature, *options)
    else:
        assert message[len(where):][0].isupper() and message.endswith(".")


def test_the_oil_name_is_matched_and_refused_as_the_tools_oil_option():
    assert project1.oil(" shc632 ")["name"] == "SHC 632"
    with pytest.raises(ValueError) as raised:
        project1.oil("SHC 362")
    assert str(raised.value) == viscosity_error("at", "40", "--oil", "SHC 362").replace(
        '--oil "', 'name "', 1)


def test_the_users_oil_is_found_and_the_catalogue_wins_a_shared_name(tmp_path, monkeypatch):
    folder = tmp_path / "data" / "Project1"
    folder.mkdir(parents=True)
    (folder / "oils.csv").write_text("name,v40,v100,sg,note\nGear 7,150,15,0.9,plant\n"
                                     "shc 632,1,0.5,,\nBad,x,1,,\n")
    with pytest.warns(UserWarning, match="v40"):
        mine = project1.oil("gear 7")
    assert mine == {"name": "Gear 7", "v40": 150.0, "v100": 15.0, "sg": 0.9, "note": "plant",
                    "source": "user"}
    with pytest.warns(UserWarning, match="is now also a catalogue oil"):
        assert project1.oil("SHC 632")["source"] == "catalogue"
    with pytest.warns(UserWarning):
        assert [o["name"] for o in project1.user_oils()] == ["Gear 7", "shc 632"]


@pytest.mark.parametrize("call,message", [
    (lambda: project1.kinematic_at(320, 35, 40, law="vogel"),
     'law: The law "vogel" is not known; use walther or d341.'),
    (lambda: project1.kinematic_at(320, 35, 40, unit="R"), 'unit: "R" is not one of C, F, K.'),
    (lambda: project1.kinematic_at(320, 35, 40, vi=95), "Give v100 or vi, not both."),
    (lambda: project1.kinematic_at([320, 46], 35, [40, 50, 60]),
     "The shapes of v40, v100 and t do not broadcast together."),
    (lambda: project1.dynamic_viscosity(100, 0.87, unit="cP"),
     'unit: "cP" is not one of mPa*s, reyn, Pa*s.'),
    (lambda: project1.dynamic_viscosity(100, 0.87, expansion=0.0007),
     "expansion needs the temperature t of the viscosity nu."),
    (lambda: project1.a_iso(1, 30, 3, 1500, 0.5, 0.8, type="needle"),
     'type: "needle" is not one of ball, roller, thrust-ball, thrust-roller.'),
    (lambda: project1.line_from_points([40, 40], [320, 35]),
     "temperatures, viscosities: The two temperatures must differ; both are 40 °C."),
])
def test_arguments_the_module_reads_itself(call, message):
    with pytest.raises(ValueError) as raised:
        call()
    assert str(raised.value) == message


def test_an_argument_that_is_no_number_is_a_type_error():
    with pytest.raises(TypeError, match="t must be a number or an array of numbers."):
        project1.kinematic_at(320, 35, "hot")
