"""One request, every front end: requests from a table of edges and a seeded random draw go
through ruruzir-convert, the C library (ctypes on libruruzir.so), the Python package and the web
page's WebAssembly module (node), and each must give the same result text and the same kind of
answer (converted, no answer, out of the unit's range, impossible, no number, unknown code).

    python differential.py CONVERTER LIBRARY WEB_MODULE [--count N] [--seed S]

Run with a Python that has the ruruzir package installed. The last line is
"differential: N passed, M failed", a request passing when every front end agrees.
"""
import argparse
import ctypes
import json
import math
import os
import random
import subprocess
import sys

import ruruzir

HERE = os.path.dirname(os.path.abspath(__file__))

# Kinds of answer, as each front end tells them apart.
CONVERTED, NO_ANSWER, OUT_OF_RANGE, IMPOSSIBLE, NO_NUMBER, BAD_CODE = (
    "converted", "no answer", "out of range", "impossible", "no number", "bad code")
# The library's statuses by cause (api/ruruzir.h) as kinds of answer.
LIBRARY_KINDS = {0: CONVERTED, 1: OUT_OF_RANGE, 2: BAD_CODE, 3: NO_NUMBER, 6: NO_ANSWER,
                 7: NO_NUMBER, 8: IMPOSSIBLE, 9: IMPOSSIBLE, 10: IMPOSSIBLE}


class Side(ctypes.Structure):
    _fields_ = [("ambient_temperature_c", ctypes.c_double), ("molecular_weight", ctypes.c_double),
                ("henry_constant", ctypes.c_double),
                ("prevailing_temperature_c", ctypes.c_double), ("density_medium", ctypes.c_int)]


class Request(ctypes.Structure):
    _fields_ = [("source_unit", ctypes.c_int), ("source_pressure_unit", ctypes.c_int),
                ("source_pressure", ctypes.c_double), ("source", Side),
                ("target_unit", ctypes.c_int), ("target_pressure_unit", ctypes.c_int),
                ("target_pressure", ctypes.c_double), ("target", Side),
                ("formulation", ctypes.c_int), ("enhancement", ctypes.c_int),
                ("precision", ctypes.c_int)]


SIDE_FIELDS = ("ambient", "mol_weight", "henry", "prevailing", "medium")
# The side value each moisture unit reads (by code): %RH, ppmW in a gas or a liquid, g/m3.
USES = {9: ("ambient",), 5: ("mol_weight",), 10: ("henry",), 7: ("prevailing", "medium")}


class Library:
    def __init__(self, path):
        self.lib = ctypes.CDLL(path)
        self.lib.ruruzir_name.restype = ctypes.c_char_p
        self.lib.ruruzir_name.argtypes = [ctypes.c_int, ctypes.c_int]
        self.lib.ruruzir_convert_request.argtypes = [
            ctypes.POINTER(Request), ctypes.c_double, ctypes.POINTER(ctypes.c_double),
            ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(ctypes.c_int)]
        for name in ("ruruzir_request_size", "ruruzir_text_size"):
            getattr(self.lib, name).restype = ctypes.c_size_t
        if self.lib.ruruzir_request_size() != ctypes.sizeof(Request):
            sys.exit("differential: struct ruruzir_request differs from the library's")
        self.defaults = Request()
        self.lib.ruruzir_default_request(ctypes.byref(self.defaults))

    def name(self, kind, code):
        return self.lib.ruruzir_name(kind, code).decode("ascii")

    def count(self, kind):
        return self.lib.ruruzir_count(kind)

    def default_side(self):
        side = self.defaults.source
        return {"ambient": side.ambient_temperature_c, "mol_weight": side.molecular_weight,
                "henry": side.henry_constant, "prevailing": side.prevailing_temperature_c,
                "medium": side.density_medium}

    def convert(self, r):
        request = Request()
        request.source_unit, request.target_unit = r["from"], r["to"]
        request.source_pressure_unit, request.target_pressure_unit = r["punit"], r["tpunit"]
        request.source_pressure = math.nan if r["p"] is None else r["p"]
        request.target_pressure = math.nan if r["tp"] is None else r["tp"]
        for name in ("source", "target"):
            side, values = getattr(request, name), r[name]
            side.ambient_temperature_c, side.molecular_weight = values["ambient"], values["mol_weight"]
            side.henry_constant, side.prevailing_temperature_c = values["henry"], values["prevailing"]
            side.density_medium = values["medium"]
        request.formulation, request.enhancement, request.precision = r["formulation"], r["enhancement"], 0
        text = ctypes.create_string_buffer(self.lib.ruruzir_text_size())
        result, field = ctypes.c_double(), ctypes.c_int()
        status = self.lib.ruruzir_convert_request(ctypes.byref(request), r["value"], ctypes.byref(result),
                                                  text, len(text), ctypes.byref(field))
        return LIBRARY_KINDS[status], text.value.decode("cp1252")


def number(x):
    """A number as every front end reads it: the shortest text that reads back as the double."""
    if math.isnan(x):
        return "nan"
    if math.isinf(x):
        return "1e999" if x > 0 else "-1e999"
    return repr(float(x))


def converter_arguments(lib, r):
    args = ["--from", lib.name(0, r["from"]), "--to", lib.name(0, r["to"]),
            "--pressure-unit", lib.name(1, r["punit"]),
            "--target-pressure-unit", lib.name(1, r["tpunit"]),
            "--formulation", lib.name(2, r["formulation"]),
            "--enhancement", lib.name(3, r["enhancement"])]
    if r["p"] is not None:
        args += ["--pressure=" + number(r["p"])]
    if r["tp"] is not None:
        args += ["--target-pressure=" + number(r["tp"])]
    options = {"ambient": "ambient", "mol_weight": "mol-weight", "henry": "henry",
               "prevailing": "prevailing", "medium": "medium"}
    for side in ("source", "target"):
        for field in USES.get(r["from" if side == "source" else "to"], ()):
            value = r[side][field]
            text = lib.name(4, value) if field == "medium" else number(value)
            args += [f"--{side}-{options[field]}={text}"]
    return args + ["--", number(r["value"])]


def convert_with_converter(converter, lib, r):
    run = subprocess.run([converter] + converter_arguments(lib, r), capture_output=True)
    out = run.stdout.decode("utf-8").strip()
    err = run.stderr.decode("utf-8").strip().replace("ruruzir-convert: ", "", 1)
    if run.returncode == 0:
        return (NO_ANSWER if out == "out of range" else CONVERTED), out
    if run.returncode == 3:
        # The calculator's range message, or an impossible pressure or side value.
        return (OUT_OF_RANGE, err) if err.startswith("stay between") else (IMPOSSIBLE, err)
    return {2: NO_NUMBER, 1: BAD_CODE}.get(run.returncode, f"exit {run.returncode}"), err


def convert_with_package(lib, r):
    def side(values):
        return ruruzir.Side(ambient_c=values["ambient"], molecular_weight=values["mol_weight"],
                            henry_constant=values["henry"], prevailing_c=values["prevailing"],
                            medium=lib.name(4, values["medium"]))
    try:
        results, statuses = ruruzir.convert(
            r["value"], lib.name(0, r["from"]), lib.name(0, r["to"]), pressure=r["p"],
            pressure_unit=lib.name(1, r["punit"]), target_pressure=r["tp"],
            target_pressure_unit=lib.name(1, r["tpunit"]), source=side(r["source"]),
            target=side(r["target"]), formulation=lib.name(2, r["formulation"]),
            enhancement=lib.name(3, r["enhancement"]), return_status=True)
    except ValueError as error:
        return "refused", str(error)
    return LIBRARY_KINDS.get(int(statuses), f"status {int(statuses)}"), float(results)


class PageModule:
    """The page's WebAssembly module in node, fed one request a line."""

    def __init__(self, module):
        self.process = subprocess.Popen(["node", os.path.join(HERE, "page_module.cjs"), module],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def convert_all(self, requests):
        lines = "".join(json.dumps(dict(r, value=number(r["value"]),
                                        p=None if r["p"] is None else number(r["p"]),
                                        tp=None if r["tp"] is None else number(r["tp"]),
                                        source={k: number(v) if k != "medium" else v
                                                for k, v in r["source"].items()},
                                        target={k: number(v) if k != "medium" else v
                                                for k, v in r["target"].items()})) + "\n"
                        for r in requests)
        out, _ = self.process.communicate(lines)
        answers = [json.loads(line) for line in out.splitlines()]
        return [(LIBRARY_KINDS.get(a["status"], f"status {a['status']}"), a["text"])
                for a in answers]


# --- Requests ---------------------------------------------------------------------------------

def base(lib, **changes):
    request = {"value": -40.0, "from": 0, "to": 0, "punit": 0, "tpunit": 0, "p": None,
               "tp": None, "formulation": 1, "enhancement": 0, "source": lib.default_side(),
               "target": lib.default_side()}
    for key, value in changes.items():
        if key in ("source", "target"):
            request[key] = dict(request[key], **value)
        else:
            request[key] = value
    return request


def edge_requests(lib):
    """The edges every front end must agree on, one request each."""
    e = []
    # Range bounds of the units that have them, and just beyond.
    for unit, values in ((0, (-140, 50, -140.1, 50.01, math.inf, -math.inf)),
                         (2, (-220, 122, -220.1, 122.1)), (4, (0, 138670, -0.001, 138670.1)),
                         (6, (0, 5812, 5812.1)), (7, (93, 93.5)), (8, (123.4, 123.41)),
                         (1, (math.inf, -200, 60)), (9, (0, 100, 250)), (10, (0, 138671))):
        e += [base(lib, value=v, **{"from": unit}, to=4) for v in values]
    e.append(base(lib, value=math.nan))
    # Pressures: vacuum and just above it, beyond single precision, each unit given and not.
    for punit, p in ((0, 0), (0, 0.005), (0, 0.0051), (2, -14.696), (2, -14.69), (6, -1.01325),
                     (6, -1.0132), (8, 0.5), (0, 1e39), (4, 1e38), (0, 1e308), (0, math.inf),
                     (0, 3e38), (5, 7), (7, 0.7), (1, 29.392), (3, 2.5)):
        e.append(base(lib, punit=punit, p=p, tp=7000))
        e.append(base(lib, tpunit=punit, tp=p, to=4))
    for punit in range(lib.count(1)):
        e.append(base(lib, punit=punit, tpunit=punit, p=None, tp=None, to=4))
    # Side values at and beyond the dialogs' limits, where the unit reads them.
    for t in (-80, -79.99, 199.99, 200, math.nan, -273.15):
        e.append(base(lib, value=0, to=9, target={"ambient": t}))
        e.append(base(lib, value=1, **{"from": 7}, source={"prevailing": t}))
    for w in (0, -1, 1e-38, 1e39, math.nan, 18.015):
        e.append(base(lib, to=5, target={"mol_weight": w}))
        e.append(base(lib, to=10, target={"henry": w}))
    for medium in range(lib.count(4)):
        e.append(base(lib, value=0.5, **{"from": 7}, to=7, source={"medium": medium},
                      target={"medium": 2 - medium}, tp=5000))
    # Every formulation and factor where the factors' validity ends.
    for f in range(lib.count(2)):
        for h in range(lib.count(3)):
            for tp in (5, 20000, 20000.01):
                e.append(base(lib, formulation=f, enhancement=h, tp=tp))
                e.append(base(lib, formulation=f, enhancement=h, tp=tp, to=1, value=-50))
    # No answer: a vapour pressure above the total pressure.
    e.append(base(lib, value=10, p=5))
    return e


def random_request(lib, rng):
    units, punits = lib.count(0), lib.count(1)
    source, target = rng.randrange(units), rng.randrange(units)
    spans = {0: (-150, 60), 1: (-150, 60), 2: (-240, 130), 3: (-240, 130), 4: (-10, 150000),
             5: (-10, 150000), 6: (-10, 6000), 7: (-1, 95), 8: (-1, 125), 9: (-5, 150),
             10: (-10, 150000)}
    low, high = spans[source]
    value = rng.uniform(low, high)
    if rng.random() < 0.5:
        value = round(value, rng.choice((0, 1, 2)))

    def pressure(unit):
        if rng.random() < 0.15:
            return None
        mbar = 10 ** rng.uniform(-1, 5)
        reading = {0: mbar, 1: mbar * 0.0145038, 2: (mbar - 1013.25) * 0.01450377,
                   3: mbar * 0.00098692, 4: mbar / 10, 5: mbar / 1000, 6: (mbar - 1013.25) / 1000,
                   7: mbar / 10000, 8: mbar * 100}[unit]
        return round(reading, rng.choice((1, 2, 3, 6)))

    def side():
        return {"ambient": rng.uniform(-85, 205), "mol_weight": rng.choice((29, 16.04, 2, 200)),
                "henry": rng.choice((1.9, 0.27, 5)), "prevailing": rng.uniform(-85, 205),
                "medium": rng.randrange(lib.count(4))}

    punit, tpunit = rng.randrange(punits), rng.randrange(punits)
    return {"value": value, "from": source, "to": target, "punit": punit, "tpunit": tpunit,
            "p": pressure(punit), "tp": pressure(tpunit),
            "formulation": rng.randrange(lib.count(2)), "enhancement": rng.randrange(lib.count(3)),
            "source": side(), "target": side()}


def agree(lib_answer, converter_answer, package_answer, page_answer):
    """Empty when the four answers agree, else what differs."""
    kind, text = lib_answer
    problems = []
    if converter_answer[0] != kind:
        problems.append(f"converter {converter_answer}")
    elif kind in (CONVERTED, NO_ANSWER, OUT_OF_RANGE) and converter_answer[1] != text:
        problems.append(f"converter text {converter_answer[1]!r}")
    if page_answer != (kind, text):
        problems.append(f"page {page_answer}")
    package_kind, package_value = package_answer
    if package_kind == "refused":
        # A refusal of what all values share: never of the value itself or a result.
        if kind in (CONVERTED, NO_ANSWER, OUT_OF_RANGE):
            problems.append(f"package refused: {package_value}")
    elif package_kind != kind:
        problems.append(f"package {package_answer}")
    elif kind == CONVERTED and package_value != float(text):
        problems.append(f"package value {package_value!r}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("converter")
    parser.add_argument("library")
    parser.add_argument("web_module")
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=20261209)
    options = parser.parse_args()
    lib = Library(options.library)
    rng = random.Random(options.seed)
    requests = edge_requests(lib) + [random_request(lib, rng) for _ in range(options.count)]
    page = PageModule(options.web_module).convert_all(requests)
    if len(page) != len(requests):
        print(f"the page's module answered {len(page)} of {len(requests)} requests")
        print("differential: 0 passed, 1 failed")
        return 1
    passed = failed = 0
    kinds = {}
    for request, page_answer in zip(requests, page):
        answer = lib.convert(request)
        kinds[answer[0]] = kinds.get(answer[0], 0) + 1
        problems = agree(answer, convert_with_converter(options.converter, lib, request),
                         convert_with_package(lib, request), page_answer)
        if problems:
            failed += 1
            if failed <= 20:
                print(f"FAIL {converter_arguments(lib, request)}: library {answer}; "
                      + "; ".join(problems))
        else:
            passed += 1
    print("answers by kind: " + ", ".join(f"{k} {n}" for k, n in sorted(kinds.items())))
    print(f"differential: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
