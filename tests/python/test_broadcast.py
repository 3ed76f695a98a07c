"""Arguments broadcast as NumPy broadcasts them; each element is the scalar call's answer."""

import numpy
import project1
import pytest

# v40, v100, t and the result's shape.
SHAPES = [
    (320, 35, 40, ()),
    (320, 35, [40, 71, 100], (3,)),
    ([320, 46], [35, 6.8], 40, (2,)),
    ([[320], [46]], [[35], [6.8]], [0, 40, 100], (2, 3)),
    (numpy.full((2, 1, 3), 320.0), 35, numpy.arange(4.0).reshape(4, 1), (2, 4, 3)),
    ([], 35, 40, (0,)),
    # A strided view and integers, read as they are.
    (320, 35, numpy.arange(0, 100, dtype=numpy.int64)[::7], (15,)),
]


@pytest.mark.parametrize("v40,v100,t,shape", SHAPES)
def test_the_result_has_the_broadcast_shape_and_each_elements_value(v40, v100, t, shape):
    result = project1.kinematic_at(v40, v100, t)
    assert numpy.shape(result) == shape
    if shape == ():
        assert isinstance(result, float)
        return
    for index, (a, b, c) in zip(numpy.ndindex(shape), numpy.broadcast(v40, v100, t)):
        assert result[index] == project1.kinematic_at(float(a), float(b), float(c))


def test_many_oils_at_once_and_an_oil_given_twice_in_a_row():
    # The line of one oil kept from element to element must not leak into the next oil's.
    v40 = [320, 320, 46, 46, 320]
    v100 = [35, 35, 6.8, 6.8, 35]
    result = project1.kinematic_at(v40, v100, 71)
    assert result.tolist() == [project1.kinematic_at(a, b, 71) for a, b in zip(v40, v100)]
    assert result[0] == result[4] != result[2]


def test_word_answers_keep_the_shape():
    grades = project1.sae_j306_grade([[10, 35], [1, 50]])
    assert grades.shape == (2, 2)
    assert grades.tolist() == [["80", "190"], [None, "250"]]
    assert project1.sae_j300_grades([5.8, 9.5])[1] == project1.sae_j300_grades(9.5)
