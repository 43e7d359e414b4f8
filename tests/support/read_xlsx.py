#!/usr/bin/env python3
"""Prints the first sheet of an XLSX file for the tests to check: one ROW line a row, its cells
tab-separated, an empty cell where the sheet has none."""
import sys

from read_mail import sheet_rows

with open(sys.argv[1], "rb") as f:
    for cells in sheet_rows(f.read()):
        print("ROW", "\t".join(cells))
