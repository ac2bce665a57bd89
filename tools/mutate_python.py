#!/usr/bin/env python3
"""A small mutation run of the Python package's tests: each mutant changes one spot of the
installed package's code (a comparison, a constant, a boolean operator, a negation, a returned
value, a statement left out), and the tests must fail on it. Mutants that survive are listed.

    VENV/bin/python tools/mutate_python.py [--tests tests/python] [--sample N] [--seed S]
        [-k PYTEST_EXPRESSION]

Run it with the Python that has the package installed (build/python-venv). The package is
copied into a temporary folder that comes first on the path of the test runs; the installed
package and the source tree are never changed.
"""
import argparse
import ast
import os
import random
import shutil
import subprocess
import sys
import tempfile

COMPARISONS = {ast.Lt: ast.LtE, ast.LtE: ast.Lt, ast.Gt: ast.GtE, ast.GtE: ast.Gt,
               ast.Eq: ast.NotEq, ast.NotEq: ast.Eq, ast.Is: ast.IsNot, ast.IsNot: ast.Is,
               ast.In: ast.NotIn, ast.NotIn: ast.In}


def spots(tree):
    """Every (node, kind) that one mutation can change."""
    for node in ast.walk(tree):
        if isinstance(node, ast.Compare) and type(node.ops[0]) in COMPARISONS:
            yield node, "compare"
        elif isinstance(node, ast.BoolOp):
            yield node, "boolop"
        elif isinstance(node, ast.UnaryOp) and isinstance(node.op, ast.Not):
            yield node, "not"
        elif isinstance(node, ast.Constant) and type(node.value) in (int, float, bool):
            yield node, "constant"
        elif isinstance(node, ast.BinOp) and isinstance(node.op, (ast.Add, ast.Sub, ast.Mult)):
            yield node, "binop"
        elif isinstance(node, (ast.Expr, ast.Assign, ast.AugAssign, ast.Raise, ast.Return)) and \
                not (isinstance(node, ast.Expr) and isinstance(node.value, ast.Constant)):
            yield node, "statement"


class Mutate(ast.NodeTransformer):
    def __init__(self, target, kind):
        self.target, self.kind = target, kind

    def visit(self, node):
        if node is not self.target:
            return self.generic_visit(node)
        if self.kind == "compare":
            node.ops[0] = COMPARISONS[type(node.ops[0])]()
        elif self.kind == "boolop":
            node.op = ast.Or() if isinstance(node.op, ast.And) else ast.And()
        elif self.kind == "not":
            return node.operand
        elif self.kind == "constant":
            value = node.value
            node.value = (not value) if isinstance(value, bool) else value + 1
        elif self.kind == "binop":
            node.op = ast.Sub() if isinstance(node.op, ast.Add) else ast.Add()
        elif self.kind == "statement":
            return ast.Pass()
        return node


def docstring_nodes(tree):
    """Docstrings are no code: leave their constants alone."""
    for node in ast.walk(tree):
        if isinstance(node, (ast.Module, ast.FunctionDef, ast.ClassDef)) and node.body and \
                isinstance(node.body[0], ast.Expr) and isinstance(node.body[0].value, ast.Constant):
            yield node.body[0].value


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tests", default=os.path.join(os.path.dirname(__file__), os.pardir,
                                                        "tests", "python"))
    parser.add_argument("--sample", type=int, default=0, help="mutants drawn at random (0: all)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("-k", default="", help="pytest -k expression for the runs")
    arguments = parser.parse_args()
    import ruruzir

    installed = os.path.dirname(ruruzir.__file__)
    with tempfile.TemporaryDirectory() as folder:
        package = os.path.join(folder, "ruruzir")
        shutil.copytree(installed, package, ignore=shutil.ignore_patterns("__pycache__"))
        mutants = []
        for name in sorted(os.listdir(package)):
            if name.endswith(".py"):
                source = open(os.path.join(package, name), encoding="utf-8").read()
                tree = ast.parse(source)
                skip = {id(node) for node in docstring_nodes(tree)}
                mutants += [(name, index, kind, node.lineno)
                            for index, (node, kind) in enumerate(spots(tree))
                            if id(node) not in skip]
        if arguments.sample:
            mutants = random.Random(arguments.seed).sample(mutants, min(arguments.sample,
                                                                        len(mutants)))
        env = dict(os.environ, PYTHONPATH=folder, PYTHONDONTWRITEBYTECODE="1")
        command = [sys.executable, "-m", "pytest", "-x", "-q", "-p", "no:cacheprovider",
                   arguments.tests] + (["-k", arguments.k] if arguments.k else [])
        baseline = subprocess.run(command, env=env, capture_output=True, text=True)
        if baseline.returncode != 0:
            sys.exit("mutate: the tests fail without a mutant:\n" + baseline.stdout[-2000:])
        survivors = []
        for number, (name, index, kind, line) in enumerate(mutants, 1):
            path = os.path.join(package, name)
            original = open(path, encoding="utf-8").read()
            tree = ast.parse(original)
            node = [node for node, _ in spots(tree)][index]
            mutated = ast.unparse(ast.fix_missing_locations(Mutate(node, kind).visit(tree)))
            with open(path, "w", encoding="utf-8") as file:
                file.write(mutated)
            try:
                run = subprocess.run(command, env=env, capture_output=True, text=True,
                                     timeout=300)
                killed = run.returncode != 0
            except subprocess.TimeoutExpired:
                killed = True
            finally:
                with open(path, "w", encoding="utf-8") as file:
                    file.write(original)
            if not killed:
                survivors.append(f"{name}:{line} {kind}")
            print(f"[{number}/{len(mutants)}] {name}:{line} {kind}: "
                  f"{'killed' if killed else 'SURVIVED'}", flush=True)
    killed = len(mutants) - len(survivors)
    print(f"mutation score: {killed}/{len(mutants)} killed "
          f"({100.0 * killed / max(len(mutants), 1):.0f} %)")
    for survivor in survivors:
        print("survived:", survivor)
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
