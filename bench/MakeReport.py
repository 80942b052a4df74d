#!/usr/bin/env python3
"""Writes BENCHMARKS.md from one run of nimbo_bench (Google Benchmark JSON),
the peak-memory probes and the machine description (see scripts/bench.sh)."""
import json
import sys
from collections import defaultdict

results_path, rss_path, machine_path = sys.argv[1:4]
with open(results_path) as f:
    data = json.load(f)

UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
runs = defaultdict(list)   # run name -> [ms]
errors = {}
for b in data["benchmarks"]:
    if b.get("run_type") != "iteration":
        continue
    name = b["run_name"]
    if b.get("error_occurred"):
        errors[name] = b.get("error_message", "error")
        continue
    manual = "manual_time" in name
    value = b["real_time"] if manual else b["cpu_time"]
    runs[name].append(value * UNIT[b["time_unit"]])


def ms(prefix):
    """The fastest repetition (ms) of the one row whose name starts with prefix."""
    names = [n for n in runs if n == prefix or n.startswith(prefix + "/")]
    if len(names) != 1:
        raise SystemExit("no single row for %s (%s); errors: %s" % (prefix, names, errors))
    return min(runs[names[0]])


def fmt(value):
    if value >= 100:
        return "%.0f ms" % value
    if value >= 1:
        return "%.1f ms" % value
    return "%.1f µs" % (value * 1000)


rows = []   # (what, figures, ratio text, target text, met)


def row(what, figures, ratio, target, met):
    rows.append((what, figures, ratio, target, "yes" if met else "**no**"))


# ---- INI load ----------------------------------------------------------------
for mb in (10, 100):
    for keys in (10, 1000):
        a = "MB:%d/keys:%d" % (mb, keys)
        nimbo = ms("BM_LoadNimbo/" + a)
        simple = ms("BM_LoadSimpleIni/" + a)
        reader = ms("BM_LoadINIReader/" + a)
        inih = ms("BM_LoadInihEmptyHandler/" + a)
        figures = "Nimbo %s; SimpleIni %s; INIReader %s; inih empty handler %s" % (
            fmt(nimbo), fmt(simple), fmt(reader), fmt(inih))
        ratio = "SimpleIni/Nimbo %.2f; INIReader/Nimbo %.2f; Nimbo/inih %.2f" % (
            simple / nimbo, reader / nimbo, nimbo / inih)
        row("INI load %d MB, %d keys/section" % (mb, keys), figures, ratio,
            "SimpleIni/Nimbo >= 1, INIReader/Nimbo >= 1, Nimbo/inih <= 3",
            simple >= nimbo and reader >= nimbo and nimbo <= 3 * inih)
for keys in (10, 1000):
    a = "MB:1/keys:%d" % keys
    nimbo, simple = ms("BM_LoadNimbo/" + a), ms("BM_LoadSimpleIni/" + a)
    reader, inih = ms("BM_LoadINIReader/" + a), ms("BM_LoadInihEmptyHandler/" + a)
    rows.append(("(for information) INI load 1 MB, %d keys/section" % keys,
                 "Nimbo %s; SimpleIni %s; INIReader %s; inih empty handler %s" % (
                     fmt(nimbo), fmt(simple), fmt(reader), fmt(inih)),
                 "SimpleIni/Nimbo %.2f; INIReader/Nimbo %.2f; Nimbo/inih %.2f" % (
                     simple / nimbo, reader / nimbo, nimbo / inih), "-", "-"))

# ---- INI save ----------------------------------------------------------------
for mb in (10, 100):
    for keys in (10, 1000):
        a = "MB:%d/keys:%d" % (mb, keys)
        nimbo, simple = ms("BM_SaveNimbo/" + a), ms("BM_SaveSimpleIni/" + a)
        row("INI save %d MB, %d keys/section" % (mb, keys),
            "Nimbo %s; SimpleIni %s" % (fmt(nimbo), fmt(simple)),
            "SimpleIni/Nimbo %.2f" % (simple / nimbo), "SimpleIni/Nimbo >= 1", simple >= nimbo)

# ---- Peak memory ---------------------------------------------------------------
peaks = defaultdict(list)   # (input, reader) -> [KiB]
entries = {}
with open(rss_path) as f:
    for line in f:
        parts = line.split()
        if len(parts) == 4:
            peaks[(parts[0], parts[1])].append(int(parts[2]))
            entries[(parts[0], parts[1])] = int(parts[3])
for keys in (10, 1000):
    name = "ini_100mb_%dkeys.ini" % keys
    get = lambda reader: min(peaks[(name, reader)]) / 1024.0
    base = get("none")
    nimbo, simple, reader, inih = get("nimbo"), get("simpleini"), get("inireader"), get("inih")
    row("peak memory after loading 100 MB, %d keys/section" % keys,
        "Nimbo %.0f MB; SimpleIni %.0f MB; INIReader %.0f MB; inih (no document) %.0f MB; empty process %.0f MB" % (
            nimbo, simple, reader, inih, base),
        "Nimbo/SimpleIni %.2f" % (nimbo / simple), "Nimbo/SimpleIni <= 1", nimbo <= simple)

# ---- Archive against text ---------------------------------------------------------
for mb in (10, 100):
    for keys in (10, 1000):
        a = "MB:%d/keys:%d" % (mb, keys)
        store, load = ms("BM_ArchiveStore/" + a), ms("BM_ArchiveLoad/" + a)
        save, textload = ms("BM_SaveNimbo/" + a), ms("BM_LoadNimbo/" + a)
        row("archive store + load, %d MB document, %d keys/section" % (mb, keys),
            "archive %s + %s = %s; text %s + %s = %s" % (
                fmt(store), fmt(load), fmt(store + load), fmt(save), fmt(textload), fmt(save + textload)),
            "text/archive %.2f" % ((save + textload) / (store + load)), "text/archive > 1",
            store + load < save + textload)

# ---- Catalogues ------------------------------------------------------------------
user, ctags = ms("BM_UserCatalogProject"), ms("BM_CtagsProject")
row("user catalogue, 1,000 scripts / 100,000 lines / 10,000 functions",
    "Nimbo %s; ctags %s" % (fmt(user), fmt(ctags)), "ctags/Nimbo %.2f" % (ctags / user),
    "ctags/Nimbo > 1", user < ctags)
std, doc = ms("BM_StdCatalogFuncWiz"), ms("BM_LoadFuncWizDocument")
row("standard catalogue, funcwiz.ini with 5,000 functions",
    "catalogue Init %s; document Load %s" % (fmt(std), fmt(doc)), "Init/Load %.2f" % (std / doc),
    "Init/Load <= 2", std <= 2 * doc)

# ---- Completion list ---------------------------------------------------------------
small, large = ms("BM_FillCompletionList/10000"), ms("BM_FillCompletionList/100000")
row("completion list, 10,000 and 100,000 functions",
    "%s; %s" % (fmt(small), fmt(large)), "100k/10k %.2f" % (large / small), "<= 12", large <= 12 * small)

# ---- Key release with the tip open ------------------------------------------------------
release = {n: ms("BM_TipKeyRelease/%d" % n) for n in (10, 100, 1000)}
copy = {n: ms("BM_TipEditorCopy/%d" % n) for n in (10, 100, 1000)}
scan = {n: ms("BM_TipScan/%d" % n) for n in (10, 100, 1000)}
row("key release with the tip open, 10 / 100 / 1,000 lines",
    "%s / %s / %s" % (fmt(release[10]), fmt(release[100]), fmt(release[1000])),
    "100/10 lines %.1f; 1,000/100 lines %.1f" % (release[100] / release[10], release[1000] / release[100]),
    "linear: each 10x lines <= 12x time",
    release[100] <= 12 * release[10] and release[1000] <= 12 * release[100])
row("the scan against the editor's copying, 10 / 100 / 1,000 lines",
    "scan %s / %s / %s; copying %s / %s / %s" % (
        fmt(scan[10]), fmt(scan[100]), fmt(scan[1000]), fmt(copy[10]), fmt(copy[100]), fmt(copy[1000])),
    "scan/copy %.2f / %.2f / %.2f" % tuple(scan[n] / copy[n] for n in (10, 100, 1000)),
    "scan/copy <= 1", all(scan[n] <= copy[n] for n in (10, 100, 1000)))

with open(machine_path) as f:
    machine = [line.rstrip("\n") for line in f]
with open(sys.argv[0].rsplit("/", 1)[0] + "/BenchmarksNotes.md") as f:
    notes = f.read()

out = []
out.append("# Benchmarks\n")
out.append("Written by `scripts/bench.sh` from one run of `nimbo_bench` (Google Benchmark) and of "
           "`nimbo_bench_rss`. Every figure is the fastest of %d repetitions, the rows interleaved "
           "at random; times are the CPU time of the measuring thread (for ctags, the CPU time of "
           "its process), since the machine is shared and wall-clock times swing widely. Every "
           "reader's result is checked against the generated data (sections, entries and a "
           "checksum over every section, key and value) before it is timed.\n"
           % max(len(v) for v in runs.values()))
out.append("Machine:\n")
for line in machine:
    out.append("- " + line)
out.append("")
out.append("| what | figures | ratio | target | met |")
out.append("|---|---|---|---|---|")
for r in rows:
    out.append("| " + " | ".join(r) + " |")
out.append("")
if errors:
    out.append("Rows that reported an error: " + "; ".join("%s: %s" % e for e in errors.items()) + "\n")
out.append(notes)
print("\n".join(out))
