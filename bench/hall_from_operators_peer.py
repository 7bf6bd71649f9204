#!/usr/bin/python3
"""Peer timing for bench_hall_from_operators: the time per look-up of
gemmi's find_spacegroup_by_ops on the same operator sets.

Usage: bench_hall_from_operators ops.txt && /usr/bin/python3 hall_from_operators_peer.py ops.txt
(the operator file has one set per line, operators joined by ";").
The operator sets are converted to gemmi.GroupOps beforehand; only the
look-up is timed.  Needs the Debian package python3-gemmi.
"""
import sys
import time

import gemmi


def main():
    with open(sys.argv[1]) as f:
        sets = [gemmi.GroupOps([gemmi.Op(t) for t in line.strip().split(";")]) for line in f if line.strip()]
    rounds = 20
    found = 0
    start = time.perf_counter()
    for _ in range(rounds):
        for ops in sets:
            if gemmi.find_spacegroup_by_ops(ops) is not None:
                found += 1
    seconds = time.perf_counter() - start
    calls = rounds * len(sets)
    print(f"gemmi find_spacegroup_by_ops {calls:7d} calls  {1e6 * seconds / calls:8.3f} us per call"
          f"  ({found // rounds} of {len(sets)} sets named)")


if __name__ == "__main__":
    main()
