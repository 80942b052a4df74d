#!/usr/bin/env python3
"""Prints the "Language server" section of BENCHMARKS.md from runs of
nimbo_bench (Google Benchmark JSON, one file per round): its three rows with
their ratios, each the fastest of all rounds.
Usage: bench/LspReport.py round-1.json [round-2.json ...] >> BENCHMARKS.md"""
import json
import sys

UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
benchmarks = []
for path in sys.argv[1:]:
    with open(path) as f:
        benchmarks += json.load(f)["benchmarks"]
best = {}
for b in benchmarks:
    if b.get("run_type") != "iteration" or b.get("error_occurred") or not b["run_name"].startswith("BM_Lsp"):
        continue
    # The startup row is a whole process: its wall-clock time; the others
    # run in this thread: CPU time.
    value = (b["real_time"] if "real_time" in b["run_name"] else b["cpu_time"]) * UNIT[b["time_unit"]]
    best[b["run_name"]] = min(value, best.get(b["run_name"], value))


def ms(name):
    for run, value in best.items():
        if run == name or run.startswith(name + "/"):
            return value
    raise SystemExit("no row %s in %s" % (name, " ".join(sys.argv[1:])))


def fmt(value):
    return "%.0f ms" % value if value >= 100 else "%.1f ms" % value if value >= 1 else "%.1f µs" % (value * 1000)


def row(what, figures, ratio, target, met):
    print("| %s | %s | %s | %s | %s |" % (what, figures, ratio, target, "yes" if met else "**no**"))


print("\n## Language server\n")
print("Rows of `bench/LspBench.cpp`, the fastest of the rounds. The edit and completion rows drive")
print("the server in process with the JSON messages a client sends (parsing and answering included); the")
print("startup row starts `nimbo lsp` as a process on the bundled samples and stops the clock at the answer to")
print("its first signature help (wall-clock time). Completion answers at most 1,000 items and marks the list")
print("incomplete beyond that; the prefix is found by binary search over the names in lower case, so the time is")
print("that of the items answered, not of the catalogue's size.\n")
print("| what | figures | ratio | target | met |")
print("|---|---|---|---|---|")
small, large = ms("BM_LspSignatureAfterEdit/1000"), ms("BM_LspSignatureAfterEdit/100000")
row("signature help after a one-character edit at the end, 1,000 and 100,000 lines",
    "%s; %s" % (fmt(small), fmt(large)), "100k/1k %.2f" % (large / small), "<= 3", large / small <= 3)
small, large = ms("BM_LspCompletion/10000"), ms("BM_LspCompletion/100000")
row("completion of a prefix every function matches, 10,000 and 100,000 functions",
    "%s; %s" % (fmt(small), fmt(large)), "100k/10k %.2f" % (large / small), "<= 12, and under 100 ms",
    large / small <= 12 and large < 100)
start = ms("BM_LspStartupToSignatureHelp")
row("startup to the first signature help, bundled samples (whole process)", fmt(start), "-", "recorded", True)
