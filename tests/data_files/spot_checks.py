"""Independent spot checks of the shipped data against python3-fluids.

Run by CTest with the data folder as argument. Reads the shipped text tables
with a few lines of its own and compares them with the published tables and
methods that python3-fluids carries.
"""

import glob
import os
import sys
import unittest

from fluids.friction import ft_Crane
from fluids.piping import nearest_pipe

DATA = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "data")
INCH = 0.0254


def table_lines(path):
    with open(path, "rb") as f:
        text = f.read().decode("cp1252")
    lines = text.split("\r\n")
    assert lines[-1] == "", "lines end with CR LF"
    return lines[0], [line.split("~|~") for line in lines[1:-1]]


def nps_value(text):
    text = text.rstrip('"')
    whole, _, fraction = text.partition("-")
    if "/" in whole:
        whole, fraction = "0", whole
    value = float(whole)
    if fraction:
        numerator, denominator = fraction.split("/")
        value += float(numerator) / float(denominator)
    return value


class SteelPipeDimensions(unittest.TestCase):
    SCHEDULES = {
        "Steel_ANSI_Sch%s.trpi" % s: s for s in ("10", "20", "30", "40", "60", "80", "100", "120", "140", "160")
    }
    SCHEDULES.update({"Steel_ANSI_STD.trpi": "STD", "Steel_ANSI_XS.trpi": "XS", "Steel_ANSI_XXS.trpi": "XXS"})
    SCHEDULES.update({"Stainless_Sch%s.trpi" % s: s for s in ("5S", "10S", "40S", "80S")})

    def test_four_inch_schedule_40(self):
        _, rows = table_lines(os.path.join(DATA, "PipeTables", "Steel_ANSI_Sch40.trpi"))
        row = next(r for r in rows if r[5] == '4"')
        self.assertAlmostEqual(float(row[7]) * 25.4, 114.3, places=2)
        self.assertAlmostEqual(float(row[6]) * 25.4, 6.02, places=2)

    def test_every_steel_row_matches_the_schedule_tables(self):
        checked = 0
        for name, schedule in self.SCHEDULES.items():
            header, rows = table_lines(os.path.join(DATA, "PipeTables", name))
            self.assertTrue(header.startswith("1.05~|~"))
            for row in rows:
                nps = nps_value(row[5])
                try:
                    _, _, do, t = nearest_pipe(NPS=nps, schedule=schedule)
                except ValueError:
                    continue  # a size the reference table leaves out
                with self.subTest(table=name, nps=row[5]):
                    self.assertAlmostEqual(float(row[7]) * INCH, do, delta=0.0005)  # metric ODs are rounded to the mm
                    self.assertAlmostEqual(float(row[6]) * INCH, t, delta=0.00004)
                checked += 1
        self.assertGreater(checked, 200)


class FittingLossCoefficients(unittest.TestCase):
    MULTIPLIERS = {"Elb90": 30, "Elb45": 16, "Elb90LR": 14, "TeeRun": 20, "TeeBr": 60, "Gate": 8, "Globe": 340,
                   "Ball": 3, "Plug": 18, "SwChk": 100, "LiftChk": 600}

    def test_k_is_n_times_the_fully_turbulent_friction_factor(self):
        header, rows = table_lines(os.path.join(DATA, "FittingTables", "Trn_Fittings.trfi"))
        self.assertEqual(header, "1.02~|~~|~")
        checked = 0
        for size, symbol, part, metric, imperial, description, k in rows:
            if part not in self.MULTIPLIERS or imperial == "-":
                continue
            nps = nps_value(imperial)
            try:
                _, di, _, _ = nearest_pipe(NPS=nps, schedule="STD")
            except ValueError:
                continue
            with self.subTest(part=part, size=imperial):
                self.assertAlmostEqual(float(k), self.MULTIPLIERS[part] * ft_Crane(di),
                                       delta=0.04 * float(k) + 0.0015)
            checked += 1
        self.assertGreater(checked, 300)


if __name__ == "__main__":
    unittest.main()
