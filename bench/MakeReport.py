#!/usr/bin/env python3
"""Writes BENCHMARKS.md from the rounds of one run of scripts/bench.sh: for
each round a Google Benchmark JSON file (round-N.json) and the peak-memory
probes (rss-N.txt), plus the machine description.

Every ratio is computed within each round (both sides measured side by side)
and reported as the median over the rounds with its range. A target is met
when the median meets it and no round misses it by more than 10 %.

With --partial (a run of some rows only, scripts/bench.sh ROUNDS FILTER) it
writes the table of the rows whose figures are all there, for a reader to
set into BENCHMARKS.md, and nothing else."""
import json
import math
import os
import statistics
import sys
from collections import defaultdict

run_dir, machine_path = sys.argv[1:3]
PARTIAL = "--partial" in sys.argv[3:]
UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
SLACK = 0.10


def load_round(n):
    """(row name -> ms, errors, rss (input, reader) -> KiB) of round n."""
    with open(os.path.join(run_dir, "round-%d.json" % n)) as f:
        data = json.load(f)
    repetitions, errors = {}, {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"]
        if b.get("error_occurred"):
            errors[name] = b.get("error_message", "error")
            continue
        value = b["real_time"] if "manual_time" in name else b["cpu_time"]
        repetitions.setdefault(name, []).append(value * UNIT[b["time_unit"]])
    # A row's figure in a round is the median of its repetitions there.
    times = {name: statistics.median(values) for name, values in repetitions.items()}
    peaks = defaultdict(lambda: math.nan) if PARTIAL else {}
    rss_path = os.path.join(run_dir, "rss-%d.txt" % n)
    if os.path.exists(rss_path):
        with open(rss_path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 4:
                    peaks[(parts[0], parts[1])] = int(parts[2]) / 1024.0
    # "threads <KiB after the first million strings> <KiB at the end>"
    threads_path = os.path.join(run_dir, "threads-%d.txt" % n)
    if os.path.exists(threads_path):
        with open(threads_path) as f:
            parts = f.read().split()
        if len(parts) == 3:
            peaks[("threads", "first")] = int(parts[1]) / 1024.0
            peaks[("threads", "end")] = int(parts[2]) / 1024.0
    return times, errors, peaks


rounds = []
n = 1
while os.path.exists(os.path.join(run_dir, "round-%d.json" % n)):
    rounds.append(load_round(n))
    n += 1
if not rounds:
    raise SystemExit("no rounds in %s" % run_dir)
errors = {}
for _, e, _ in rounds:
    errors.update(e)


def ms(times, prefix):
    """A row's figure in a round; NaN in a partial run that left it out."""
    names = [k for k in times if k == prefix or k.startswith(prefix + "/")]
    if len(names) != 1:
        if PARTIAL:
            return math.nan
        raise SystemExit("no single row for %s (%s); errors: %s" % (prefix, names, errors))
    return times[names[0]]


def per_round(fn):
    """fn(times, peaks) evaluated in every round."""
    return [fn(t, p) for t, _, p in rounds]


def fmt(value):
    if value >= 100:
        return "%.0f ms" % value
    if value >= 1:
        return "%.1f ms" % value
    return "%.1f µs" % (value * 1000)


def spread(values, digits=2):
    return "%.*f (%.*f-%.*f)" % (digits, statistics.median(values), digits, min(values), digits, max(values))


def meets(values, op, limit):
    med = statistics.median(values)
    if op == ">=":
        return med >= limit and min(values) >= limit * (1 - SLACK)
    return med <= limit and max(values) <= limit * (1 + SLACK)


rows = []   # (what, figures, ratio, target, met)


def row(what, figures, checks, info=False):
    """checks: [(label, values, op, limit)]; info rows carry no target. A
    partial run leaves out the rows it has no figures for."""
    if PARTIAL and any(math.isnan(v) for _, values, _, _ in checks for v in values):
        return
    ratio = "; ".join("%s %s" % (label, spread(values)) for label, values, _, _ in checks)
    if info:
        rows.append((what, figures, ratio, "-", "-"))
        return
    target = "; ".join("%s %s %g" % (label, op, limit) for label, _, op, limit in checks)
    missed = [label for label, values, op, limit in checks if not meets(values, op, limit)]
    rows.append((what, figures, ratio, target, "yes" if not missed else "**no** (%s)" % ", ".join(missed)))


def median_ms(prefix):
    return statistics.median(per_round(lambda t, p: ms(t, prefix)))


# ---- INI load ----------------------------------------------------------------
LOAD_INPUTS = [(1, 10), (1, 1000), (10, 10), (10, 1000), (100, 10), (100, 1000), (10, 0)]
for mb, keys in LOAD_INPUTS:
    a = "MB:%d/keys:%d" % (mb, keys)
    names = {r: "BM_Load%s/%s" % (r, a) for r in ("Nimbo", "SimpleIni", "INIReader", "InihEmptyHandler")}
    figures = "Nimbo %s; SimpleIni %s; INIReader %s; inih empty handler %s" % tuple(
        fmt(median_ms(names[r])) for r in ("Nimbo", "SimpleIni", "INIReader", "InihEmptyHandler"))
    shape = "mixed shape" if keys == 0 else "%d keys/section" % keys
    row("INI load %d MB, %s" % (mb, shape), figures, [
        ("SimpleIni/Nimbo", per_round(lambda t, p: ms(t, names["SimpleIni"]) / ms(t, names["Nimbo"])), ">=", 1.2),
        ("INIReader/Nimbo", per_round(lambda t, p: ms(t, names["INIReader"]) / ms(t, names["Nimbo"])), ">=", 1.5),
        ("Nimbo/inih", per_round(lambda t, p: ms(t, names["Nimbo"]) / ms(t, names["InihEmptyHandler"])), "<=", 2),
    ])

# ---- Peak memory ---------------------------------------------------------------
for keys in (10, 1000):
    name = "ini_100mb_%dkeys.ini" % keys
    peak = lambda reader: statistics.median(per_round(lambda t, p: p[(name, reader)]))
    row("peak memory after loading 100 MB, %d keys/section" % keys,
        "Nimbo %.0f MB; SimpleIni %.0f MB; INIReader %.0f MB; inih (no document) %.0f MB; empty process %.0f MB" % (
            peak("nimbo"), peak("simpleini"), peak("inireader"), peak("inih"), peak("none")),
        [("Nimbo/SimpleIni", per_round(lambda t, p: p[(name, "nimbo")] / p[(name, "simpleini")]), "<=", 0.8)])

# ---- Inputs in the worst order for a growing list --------------------------------------
for what, bench in (("text, the section header repeated before each entry", "BM_LoadTextHeaders"),
                    ("archive, the section record repeated for each entry", "BM_LoadArchiveRecords")):
    once, repeated = bench + "/entries:40000/repeat:0", bench + "/entries:40000/repeat:1"
    row("INI load of 40,000 entries of one section, %s" % what,
        "repeated %s; once %s" % (fmt(median_ms(repeated)), fmt(median_ms(once))),
        [("repeated/once", per_round(lambda t, p: ms(t, repeated) / ms(t, once)), "<=", 1.5)])

# ---- Strings made on one thread and freed on another ----------------------------------
if all(("threads", "end") in p for _, _, p in rounds):
    row("resident memory, 20 million strings made on one thread and freed on another (10,000 alive)",
        "after the first million %.0f MB; at the end %.0f MB" % (
            statistics.median(per_round(lambda t, p: p[("threads", "first")])),
            statistics.median(per_round(lambda t, p: p[("threads", "end")]))),
        [("end/first", per_round(lambda t, p: p[("threads", "end")] / p[("threads", "first")]), "<=", 1.2)])

# ---- Archive against text --------------------------------------------------------
for mb in (10, 100):
    for keys in (10, 1000):
        a = "MB:%d/keys:%d" % (mb, keys)
        # The archive load is held against inih's empty handler on the same
        # document, a reader that does no work of its own to speak of, as
        # well as against the text load: held only against the text load, the
        # archive row missed whenever the text reader became faster.
        row("archive against text, %d MB document, %d keys/section" % (mb, keys),
            "archive load %s, store %s; text load %s, save %s; inih empty handler %s" % (
                fmt(median_ms("BM_ArchiveLoad/" + a)), fmt(median_ms("BM_ArchiveStore/" + a)),
                fmt(median_ms("BM_LoadNimbo/" + a)), fmt(median_ms("BM_SaveNimbo/" + a)),
                fmt(median_ms("BM_LoadInihEmptyHandler/" + a))),
            [("load archive/inih", per_round(
                lambda t, p: ms(t, "BM_ArchiveLoad/" + a) / ms(t, "BM_LoadInihEmptyHandler/" + a)), "<=", 0.3),
             ("load archive/text", per_round(lambda t, p: ms(t, "BM_ArchiveLoad/" + a) / ms(t, "BM_LoadNimbo/" + a)),
              "<=", 0.7),
             ("store archive/text", per_round(lambda t, p: ms(t, "BM_ArchiveStore/" + a) / ms(t, "BM_SaveNimbo/" + a)),
              "<=", 0.8)])

# ---- One key changed in a large file ------------------------------------------
a = "MB:10/keys:10"
row("one key changed in a 10 MB file, 10 keys/section",
    "nimbo ini set %s; store load, set and save %s" % (fmt(median_ms("BM_EditOneKeyTool/" + a)),
                                                      fmt(median_ms("BM_EditOneKeyStore/" + a))),
    [("tool/store", per_round(lambda t, p: ms(t, "BM_EditOneKeyTool/" + a) / ms(t, "BM_EditOneKeyStore/" + a)),
      "<=", 0.5)])

# ---- nimbo ini get against git config --get ------------------------------------------
nimbo_get, git_get = "BM_GetProcess/tool:0/MB:100", "BM_GetProcess/tool:1/MB:100"
gitstyle = "ini_100mb_gitstyle.ini"
row("the last key of a 100 MB file: nimbo ini get against git config --get (each a process; CPU time, peak memory)",
    "nimbo ini get %s, %.1f MB; git config --get %s, %.1f MB" % (
        fmt(median_ms(nimbo_get)), statistics.median(per_round(lambda t, p: p[(gitstyle, "nimbo-get")])),
        fmt(median_ms(git_get)), statistics.median(per_round(lambda t, p: p[(gitstyle, "git-get")]))),
    [("time nimbo/git", per_round(lambda t, p: ms(t, nimbo_get) / ms(t, git_get)), "<=", 1),
     ("memory nimbo/git", per_round(lambda t, p: p[(gitstyle, "nimbo-get")] / p[(gitstyle, "git-get")]), "<=", 2),
     ("nimbo peak MB", per_round(lambda t, p: p[(gitstyle, "nimbo-get")]), "<=", 16)])

# ---- INI save ----------------------------------------------------------------
for mb in (10, 100):
    for keys in (10, 1000):
        a = "MB:%d/keys:%d" % (mb, keys)
        row("INI save %d MB, %d keys/section" % (mb, keys),
            "Nimbo %s; SimpleIni %s" % (fmt(median_ms("BM_SaveNimbo/" + a)), fmt(median_ms("BM_SaveSimpleIni/" + a))),
            [("SimpleIni/Nimbo", per_round(lambda t, p: ms(t, "BM_SaveSimpleIni/" + a) / ms(t, "BM_SaveNimbo/" + a)),
              ">=", 1)])

# ---- Catalogues ------------------------------------------------------------------
row("user catalogue, 1,000 scripts / 100,000 lines / 10,000 functions",
    "Nimbo %s; ctags %s" % (fmt(median_ms("BM_UserCatalogProject")), fmt(median_ms("BM_CtagsProject"))),
    [("ctags/Nimbo", per_round(lambda t, p: ms(t, "BM_CtagsProject") / ms(t, "BM_UserCatalogProject")), ">=", 1)])
row("standard catalogue, funcwiz.ini with 5,000 functions",
    "catalogue Init %s; document Load %s" % (fmt(median_ms("BM_StdCatalogFuncWiz")),
                                           fmt(median_ms("BM_LoadFuncWizDocument"))),
    [("Init/Load", per_round(lambda t, p: ms(t, "BM_StdCatalogFuncWiz") / ms(t, "BM_LoadFuncWizDocument")), "<=", 2)])

# ---- Completion list ---------------------------------------------------------------
row("completion list, 10,000 and 100,000 functions",
    "%s; %s" % (fmt(median_ms("BM_FillCompletionList/10000")), fmt(median_ms("BM_FillCompletionList/100000"))),
    [("100k/10k", per_round(lambda t, p: ms(t, "BM_FillCompletionList/100000") / ms(t, "BM_FillCompletionList/10000")),
      "<=", 12)])

# ---- Key release with the tip open ------------------------------------------------------
row("key release with the tip open, 10 / 100 / 1,000 lines",
    " / ".join(fmt(median_ms("BM_TipKeyRelease/%d" % n)) for n in (10, 100, 1000)),
    [("100/10 lines", per_round(lambda t, p: ms(t, "BM_TipKeyRelease/100") / ms(t, "BM_TipKeyRelease/10")), "<=", 12),
     ("1,000/100 lines", per_round(lambda t, p: ms(t, "BM_TipKeyRelease/1000") / ms(t, "BM_TipKeyRelease/100")),
      "<=", 12)])
row("the scan against the editor's copying, 10 / 100 / 1,000 lines",
    "scan %s; copying %s" % (" / ".join(fmt(median_ms("BM_TipScan/%d" % n)) for n in (10, 100, 1000)),
                             " / ".join(fmt(median_ms("BM_TipEditorCopy/%d" % n)) for n in (10, 100, 1000))),
    [("scan/copy %d" % n, per_round(lambda t, p, n=n: ms(t, "BM_TipScan/%d" % n) / ms(t, "BM_TipEditorCopy/%d" % n)),
      "<=", 1) for n in (10, 100, 1000)])

with open(machine_path) as f:
    machine = [line.rstrip("\n") for line in f]
with open(os.path.join(os.path.dirname(os.path.abspath(sys.argv[0])), "BenchmarksNotes.md")) as f:
    notes = f.read()

if PARTIAL:
    out = ["# Some rows of the benchmarks\n",
           "Written by `scripts/bench.sh` from a run of %d rounds of some rows only, measured as in a full run; "
           "the rows are for BENCHMARKS.md.\n" % len(rounds), "Machine:\n"]
    out += ["- " + line for line in machine]
    out += ["", "| what | figures (medians) | ratio: median (range) | target | met |", "|---|---|---|---|---|"]
    out += ["| " + " | ".join(r) + " |" for r in rows]
    if errors:
        out.append("\nRows that reported an error: " + "; ".join("%s: %s" % e for e in errors.items()))
    print("\n".join(out))
    sys.exit(0)

out = ["# Benchmarks\n",
       "Written by `scripts/bench.sh` from one run of %d rounds. Each round runs every row of `nimbo_bench` "
       "(Google Benchmark) three times, all the repetitions of all the rows in a random order of their own, "
       "takes the median of each row's three as the row's figure in that round, and probes the peak memory of each "
       "reader in a process of its own (`nimbo_bench_rss`), also in random order. Times are the CPU time of the "
       "measuring thread (for ctags, the CPU time of its process). Every ratio is computed within one round, "
       "both sides measured side by side, and shown as the median over the rounds with its range in brackets; "
       "a target is met when the median meets it and no round misses it by more than 10 %%. Figures are "
       "medians. Every reader's result is checked against the generated data (sections, entries and a checksum "
       "over every section, key and value) before it is timed.\n" % len(rounds),
       "Machine:\n"]
out += ["- " + line for line in machine]
out += ["", "| what | figures (medians) | ratio: median (range) | target | met |", "|---|---|---|---|---|"]
out += ["| " + " | ".join(r) + " |" for r in rows]
out.append("")
if errors:
    out.append("Rows that reported an error: " + "; ".join("%s: %s" % e for e in errors.items()) + "\n")
out.append(notes)
print("\n".join(out))
