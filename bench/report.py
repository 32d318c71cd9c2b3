#!/usr/bin/env python3
"""Prints the benchmark results as a table: each figure beside its reference, the ratio and the goal.

Times are CPU times of the measuring thread, which other load on a shared machine disturbs less.

Reads Google Benchmark JSON files. A benchmark named ".../engine/..." is paired with the one named
".../reference/..." (direction and command words mapped as the pairing table says).
"""
import json
import sys


def load(paths):
    results = {}
    for path in paths:
        with open(path) as handle:
            for entry in json.load(handle)["benchmarks"]:
                if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") != "median":
                    continue
                name = entry.get("run_name", entry["name"])
                results[name] = entry
    return results


def figure(entry, counter):
    if counter:
        return entry[counter] * 1e9 if entry[counter] < 1e-3 else entry[counter]
    return entry["cpu_time"]


def rows(results):
    # (group, name of the figure, name of its reference, counter, unit, goal)
    for name, entry in results.items():
        parts = name.split("/")
        if parts[0] == "audio" and parts[1] == "engine":
            channels, mode, direction, block = parts[2:6]
            reference = "/".join(["audio", "reference", channels, mode, "forward", block])
            yield name, reference, "ns_per_channel_frame", "ns/ch-frame", 1.3
        elif parts[0] == "subnormal" and parts[1] == "loop":
            yield name, "subnormal/reference", None, entry["time_unit"], 1.1
        elif parts[0] == "command" and parts[1] != "memcpy":
            yield name, "command/memcpy/" + parts[2], None, entry["time_unit"], 3.0
            yield name, None, None, entry["time_unit"], 480.0  # a third of a 64-frame block


def main(paths):
    results = load(paths)
    print(f"| {'figure':42} | {'value':>10} | {'reference':>10} | {'ratio':>6} | {'goal':>5} | met |")
    print(f"|{'-' * 44}|{'-' * 12}|{'-' * 12}|{'-' * 8}|{'-' * 7}|-----|")
    missed = 0
    for name, reference, counter, unit, goal in rows(results):
        value = figure(results[name], counter)
        if reference is None:
            # An absolute budget: the figure itself, in microseconds, against the goal.
            met = value <= goal
            missed += 0 if met else 1
            print(f"| {name + ' (us)':42} | {value:10.3f} | {'':>10} | {'':>6} | {goal:5.0f} | {'yes' if met else 'NO':3} |")
            continue
        if reference not in results:
            continue
        base = figure(results[reference], counter)
        ratio = value / base
        met = ratio <= goal
        missed += 0 if met else 1
        print(f"| {name:42} | {value:10.3f} | {base:10.3f} | {ratio:6.2f} | {goal:5.1f} | {'yes' if met else 'NO':3} |")
    for name, entry in results.items():
        if "subnormals_left" in entry and entry["subnormals_left"] != 0:
            print(f"{name}: {entry['subnormals_left']:.0f} subnormal values left")
    print(f"\n{missed} of the figures above are over their goal")


if __name__ == "__main__":
    main(sys.argv[1:])
