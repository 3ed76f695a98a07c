"""The type stub project1.pyi names what the module has, with the module's own signatures."""

import ast
import pathlib

import project1
import pytest

STUB = pathlib.Path(project1.__file__).with_name("project1.pyi")
TREE = ast.parse(STUB.read_text())


def parameters(args):
    """Names, kinds and defaults of a function's parameters, self left out."""
    found = []
    positional = args.posonlyargs + args.args
    defaults = [None] * (len(positional) - len(args.defaults)) + args.defaults
    for arg, default in zip(positional, defaults):
        found.append((arg.arg, "positional", default and ast.literal_eval(default)))
    for arg, default in zip(args.kwonlyargs, args.kw_defaults):
        found.append((arg.arg, "keyword", default and ast.literal_eval(default)))
    return [p for p in found if p[0] != "self"]


def module_signature(function):
    """The parameters of a function of the module, from the signature pybind11 writes first in
    its docstring."""
    line = function.__doc__.splitlines()[0]
    name, rest = line.split("(", 1)
    tree = ast.parse("def f(" + rest.split(") ->")[0].replace("project1.", "") + "): ...")
    return parameters(tree.body[0].args)


def stub_functions(body):
    return {node.name: node for node in body if isinstance(node, ast.FunctionDef)}


def test_the_stub_names_every_function_and_class_of_the_module_and_no_other():
    stubbed = {node.name for node in TREE.body if isinstance(node, (ast.FunctionDef, ast.ClassDef))}
    public = {name for name in dir(project1) if not name.startswith("_")}
    # OilRecord is the stub's name for the records' type, which the module makes as dicts.
    assert stubbed - {"OilRecord"} == public


STUBBED = stub_functions(TREE.body)
LINE = stub_functions(next(n for n in TREE.body if isinstance(n, ast.ClassDef)
                           and n.name == "Line").body)


@pytest.mark.parametrize("name", sorted(STUBBED))
def test_each_function_takes_the_stubs_parameters(name):
    assert parameters(STUBBED[name].args) == module_signature(getattr(project1, name))


@pytest.mark.parametrize("name", sorted(LINE))
def test_each_line_member_is_the_stubs(name):
    member = getattr(project1.Line, name)
    if isinstance(member, property):
        assert any(isinstance(d, ast.Name) and d.id == "property"
                   for d in LINE[name].decorator_list)
    else:
        assert parameters(LINE[name].args) == module_signature(member)
