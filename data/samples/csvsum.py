#!/usr/bin/env python3
"""csvsum: total the numeric columns of a CSV file.

Columns whose values are not all numbers are skipped; the header row
names the columns in the report.
"""
import csv
import sys


def totals(rows):
    """Return {column: total} for the columns that hold only numbers."""
    header, *data = rows
    result = {}
    for index, name in enumerate(header):
        try:
            result[name] = sum(float(row[index]) for row in data if row)
        except (ValueError, IndexError):
            continue  # not a numeric column
    return result


def main(argv):
    if len(argv) != 2:
        print("usage: csvsum FILE", file=sys.stderr)
        return 2
    with open(argv[1], newline='') as f:
        rows = list(csv.reader(f))
    if not rows:
        print(f"csvsum: {argv[1]} is empty", file=sys.stderr)
        return 1
    for name, total in totals(rows).items():
        print(f"{name:>20} {total:12.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
