#!/usr/bin/env python3
"""Write TOXSWA-like example input files for KIVO, deterministically.

usage: generate_toxswa_example.py OUTPUT_DIR [--formats cwa out443 out553] [--days 365]

For two FOCUS water bodies, D1 ditch (10 segments) and R1 stream (20 segments), one
hourly year from 01-Jan-1982 with spray-drift entries in spring, drainage pulses in
autumn and winter and first-order dissipation, in the three input formats:

  OUTPUT_DIR/toxswa_553/D1_ditch.out, R1_stream.out    TOXSWA 5.5.3 main output
  OUTPUT_DIR/toxswa_443/D1_ditch.out, R1_stream.out    TOXSWA 4.4.3 main output
  OUTPUT_DIR/toxswa_cwa/00001d_pa.cwa, 00001d_m1.cwa,  TOXSWA concentration files
                        00002s_pa.cwa, 00002s_m1.cwa   (parent and metabolite)

The .out files carry the substances CMPA (parent) and METB (metabolite), the
variables ConLiqWatLay_<substance> (and ConLiqWatLayCur_<substance> in 4.4.3) and
CntSedTgt_<substance>; every input file has a .log ("Waterbody: ") and a .sum
(" Location", "* Run ID") file of the same name beside it. Lines end with CR LF.
"""
import argparse
import datetime as dt
import math
import os
import random

MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
START = dt.datetime(1982, 1, 1)
SUBSTANCES = ("CMPA", "METB")


class WaterBody:
    def __init__(self, code, kind, segments, length_m, run_id, cwa_name):
        self.code, self.kind, self.segments = code, kind, segments
        self.length_m, self.run_id, self.cwa_name = length_m, run_id, cwa_name

    @property
    def name(self):
        return f"{self.code}_{self.kind.lower()}"


WATER_BODIES = (
    WaterBody("D1", "Ditch", 10, 100.0, "00001", "00001d"),
    WaterBody("R1", "Stream", 20, 100.0, "00002", "00002s"),
)


def date_token(hour, short_midnight=False):
    """01-Jan-1982-01h00; at midnight 01-Jan-1982 when short_midnight is set."""
    t = START + dt.timedelta(hours=hour)
    day = f"{t.day:02d}-{MONTHS[t.month - 1]}-{t.year}"
    if short_midnight and t.hour == 0:
        return day
    return f"{day}-{t.hour:02d}h00"


def fortran_e(value):
    """0.123456E-03, the number format of TOXSWA 5.5.3."""
    if value == 0.0:
        return "0.000000E+00"
    mantissa, exponent = f"{abs(value):.5E}".split("E")
    sign = "-" if value < 0 else ""
    return f"{sign}0.{mantissa.replace('.', '')}E{int(exponent) + 1:+03d}"


def plain_e(value):
    """1.2345E-05, the number format of TOXSWA 4.4.3 and the .cwa files."""
    return f"{value:.4E}"


def inflow(hours, rng, drift_scale):
    """Hourly entries into the upstream end of the water body (mg/L per hour)."""
    entries = [0.0] * hours
    day = 110 + rng.randrange(15)
    for _ in range(rng.choice((2, 3))):
        hour = day * 24 + 10
        if hour < hours:
            entries[hour] += rng.uniform(0.5, 1.0) * drift_scale
        day += rng.randrange(10, 15)
    for start_day in (rng.randrange(280, 300), rng.randrange(310, 330), rng.randrange(5, 40)):
        length = rng.randrange(24, 96)
        peak = rng.uniform(0.0005, 0.004)
        for j in range(length):
            hour = start_day * 24 + j
            if hour < hours:
                entries[hour] += peak * math.sin(math.pi * j / length) * rng.uniform(0.5, 1.5)
    return entries


def concentrations(hours, rng, body):
    """Per substance a list of hourly values per segment, and the hourly means."""
    result = {}
    parent_entries = inflow(hours, rng, 0.02)
    decay_parent = math.exp(-math.log(2) / 40.0)
    decay_metabolite = math.exp(-math.log(2) / 120.0)
    parent, metabolite = 0.0, 0.0
    upstream = {"CMPA": [], "METB": []}
    for hour in range(hours):
        formed = parent * (1.0 - decay_parent) * 0.3
        parent = parent * decay_parent + parent_entries[hour]
        metabolite = metabolite * decay_metabolite + formed
        upstream["CMPA"].append(parent if parent > 1e-30 else 0.0)
        upstream["METB"].append(metabolite if metabolite > 1e-30 else 0.0)
    lag = 1 if body.segments <= 10 else 2
    for substance, series in upstream.items():
        rows = []
        for hour in range(hours):
            rows.append([series[hour - lag * j] * (1.0 - 0.01 * j) if hour >= lag * j else 0.0
                         for j in range(body.segments)])
        means = [rows[0]] + [[(a + b) / 2.0 for a, b in zip(rows[h - 1], rows[h])]
                             for h in range(1, hours)]
        result[substance] = (rows, means)
    return result


def write_lines(path, lines):
    with open(path, "w", encoding="latin-1", newline="") as f:
        for line in lines:
            f.write(line + "\r\n")


def write_beside(path, body, version):
    base = path[:-3]
    write_lines(base + "log", [
        f"* TOXSWA {version} log file",
        f"Waterbody: {body.code} {body.kind}",
        "Simulation ended normally",
    ])
    write_lines(base + "sum", [
        f"* TOXSWA {version} summary file",
        f"* Run ID                  : {body.run_id}",
        f" Location                : {body.code} (FOCUS {body.kind.lower()} scenario)",
        f" Water body              : {body.kind}",
        " Maximum concentrations are listed in the main output file",
    ])


def segment_positions(body):
    width = body.length_m / body.segments
    return [(j + 0.5) * width for j in range(body.segments)]


def out_header(body, version, header_lines):
    lines = [
        "* " + "-" * 78,
        f"* Results of the TOXSWA model for the FOCUS {body.kind.lower()} {body.code}",
        f"* FOCUS  TOXSWA version   : {version}",
        "* TOXSWA model version    : 3.3.6" if version != "4" else "* TOXSWA model version    : 2.2.1",
        f"* Run ID                  : {body.run_id}",
        "* Working directory       : C:\\SwashProjects\\Example\\TOXSWA",
        "* Input file generated on : 01-01-2026",
        "* " + "-" * 78,
        "",
        "  Depths of sediment nodes for output in Z-direction:  0.500000E-02  0.450000E-01",
        "  Distances of water layer nodes for output in X-direction: "
        + " ".join(fortran_e(x) for x in segment_positions(body)),
    ]
    while len(lines) < header_lines:
        lines.append("* Option PrintCumulatives was set to false")
    return lines


def write_out(path, body, hours, data, version):
    if version == "5.5.3":
        lines = out_header(body, version, 12)
        variables = [("ConLiqWatLay", 1, "(g.m-3)(values at segment nodes)"),
                     ("CntSedTgt", 2, "(mg.kg-1)(values at segment nodes)")]
        number, short_midnight = fortran_e, False
    else:
        lines = out_header(body, "4", 14)
        variables = [("ConLiqWatLayCur", 0, "(g.m-3)(values at the full hour)"),
                     ("ConLiqWatLay", 1, "(g.m-3)(averages over the past hour)"),
                     ("CntSedTgt", 2, "(mg.kg-1)(values at segment nodes)")]
        number, short_midnight = plain_e, True
    for variable, _, unit in variables:
        lines.append(f"* Unit for {variable} is {unit}")
    sediment = {s: [0.0] * body.segments for s in SUBSTANCES}
    for hour in range(hours):
        stamp = f"{hour / 24:10.4f}  {date_token(hour, short_midnight):<17}"
        for variable, kind, _ in variables:
            for substance in SUBSTANCES:
                rows, means = data[substance]
                if kind == 0:
                    values = rows[hour]
                elif kind == 1:
                    values = means[hour] if version != "5.5.3" else rows[hour]
                else:
                    sediment[substance] = [s * 0.9995 + 0.02 * c for s, c in
                                           zip(sediment[substance], rows[hour])]
                    values = sediment[substance]
                cells = " ".join(f"{number(v):>13}" for v in values)
                lines.append(f"{stamp}  {variable}_{substance:<6} {cells}")
        if hour == 0:
            lines.append("* End of the values at the start of the run")
    write_lines(path, lines)


def write_cwa(path, body, hours, rows, substance):
    lines = [
        f"* TOXSWA concentrations in the water layer of the {body.kind.lower()} {body.code}",
        f"* Substance               : {substance}",
        f"* Run ID                  : {body.run_id}",
        "* Unit for ConLiqWatLay is (g.m-3); ConSedTot is (mg.kg-1)",
        "*",
        "*  Date/Time                t(d)   Seg     x(m)  ConLiqWatLay     ConSedTot",
    ]
    positions = segment_positions(body)
    for hour in range(hours):
        date = date_token(hour)
        for j in range(body.segments):
            value = rows[hour][j]
            lines.append(f" {date}  {hour / 24:10.4f}  {j + 1:4d}  {positions[j]:7.2f}"
                         f"  {plain_e(value):>12}  {plain_e(value * 0.4):>12}")
    write_lines(path, lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output_dir")
    parser.add_argument("--formats", nargs="+", choices=("cwa", "out443", "out553"),
                        default=["cwa", "out443", "out553"])
    parser.add_argument("--days", type=int, default=365)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    hours = args.days * 24 + 1
    for index, body in enumerate(WATER_BODIES):
        data = concentrations(hours, random.Random(args.seed * 100 + index), body)
        for fmt in args.formats:
            folder = os.path.join(args.output_dir, {"cwa": "toxswa_cwa", "out443": "toxswa_443",
                                                    "out553": "toxswa_553"}[fmt])
            os.makedirs(folder, exist_ok=True)
            if fmt == "cwa":
                for substance, suffix in zip(SUBSTANCES, ("pa", "m1")):
                    path = os.path.join(folder, f"{body.cwa_name}_{suffix}.cwa")
                    write_cwa(path, body, hours, data[substance][0], substance)
                    write_beside(path, body, "2.2.1")
            else:
                version = "5.5.3" if fmt == "out553" else "4.4.3"
                path = os.path.join(folder, body.name + ".out")
                write_out(path, body, hours, data, version)
                write_beside(path, body, version)


if __name__ == "__main__":
    main()
