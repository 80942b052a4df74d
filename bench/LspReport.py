#!/usr/bin/env python3
"""Prints the "Language server" section of BENCHMARKS.md from runs of
nimbo_bench_lsp (Google Benchmark JSON, one file per round) and of the heap
probe nimbo_bench_lsp_memory (text files: its "catalogue" and "server"
lines, one file per round): every row with its ratio and target, each the
best of all rounds (the worst, for latencies and memory).
Usage: bench/LspReport.py round-1.json [...] memory-1.txt [...] >> BENCHMARKS.md"""
import json
import sys

UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
benchmarks = []
memory = {"catalogue": [], "server": []}
for path in sys.argv[1:]:
    if path.endswith(".json"):
        with open(path) as f:
            benchmarks += json.load(f)["benchmarks"]
        continue
    with open(path) as f:
        for line in f:
            fields = line.split()
            if fields and fields[0] in memory:
                memory[fields[0]].append([int(x) for x in fields[1:]])
best = {}
worst = {}
counters = {}
for b in benchmarks:
    if b.get("run_type") != "iteration" or b.get("error_occurred") or not b["run_name"].startswith("BM_Lsp"):
        continue
    # Whole processes and the rows timed by hand (a thread waiting for
    # another): wall-clock time; the others run in this thread: CPU time,
    # which a loaded machine disturbs least.
    wall = "real_time" in b["run_name"] or "manual_time" in b["run_name"]
    value = (b["real_time"] if wall else b["cpu_time"]) * UNIT[b["time_unit"]]
    best[b["run_name"]] = min(value, best.get(b["run_name"], value))
    if "worst_ms" in b:
        worst[b["run_name"]] = max(b["worst_ms"], worst.get(b["run_name"], 0))
    counters[b["run_name"]] = b


def find(table, name):
    for run, value in table.items():
        if run == name or run.startswith(name + "/"):
            return value
    raise SystemExit("no row %s in %s" % (name, " ".join(sys.argv[1:])))


def ms(name):
    return find(best, name)


def fmt(value):
    return "%.0f ms" % value if value >= 100 else "%.1f ms" % value if value >= 1 else "%.1f µs" % (value * 1000)


def row(what, figures, ratio, target, met):
    print("| %s | %s | %s | %s | %s |" % (what, figures, ratio, target, "yes" if met else "**no**"))


print("\n## Language server\n")
print("Rows of `bench/LspBench.cpp` (the program `nimbo_bench_lsp`), the fastest of the rounds. The rows drive")
print("the server in process with the JSON messages a client sends (parsing and answering included), and are")
print("timed in CPU time, except the startup row, which starts `nimbo lsp` as a process on the bundled samples and")
print("stops the clock at the answer to its first signature help, and the rows of signature help while the server")
print("is busy, which run the server on a worker thread as `nimbo lsp` does and take the wall-clock time from sending")
print("the request to its answer (the mean of ten, and the worst of all rounds). Completion answers at most 1,000")
print("items and marks the list incomplete beyond that. It ranks every known name in one pass (fuzzy: prefix, then")
print("word starts, then any subsequence) and keeps the best 1,000 in a heap: a name without the word's characters")
print("in order is dropped after one linear look, a prefix is scored without aligning, and only the other matches")
print("are aligned, over the bytes where each character can stand. The time is mostly that of the 1,000 items")
print("answered; each function of the catalogue adds tens of nanoseconds.\n")
print("The workspace rows use a generated workspace of 5,000 scripts in 100 nested folders, ten functions each")
print("(50,000 functions; `bench/LspWorkspace.cpp`), the first script's first function called twice in every script")
print("(10,000 calls). The first signature help asks for the last script's function, so")
print("it is answered only once every script is read; `CZoFuncInfoUser::Init` reads the same scripts, listed")
print("beforehand by the host's browser. The full re-index is the `initialized` notification of a fresh server (what")
print("each save cost while a save read the whole project); the save rewrites one script's first prototype")
print("(untimed) and times its `didSave`. The uncapped workspace/symbol row is the answer with every match, as it")
print("was before answers were capped; the query `Fn` matches all 50,000 functions. Memory is counted at operator")
print("new in a process of its own per side (`bench/LspMemoryProbe.cpp`): the bytes the user catalogue holds")
print("after its Init, against the server's peak with the workspace open and every script's call sites read. The")
print("references and rename rows ask from a call in an open document (so 10,002 places: the definition, the 10,000")
print("calls and its own) and time in wall-clock the request to its written answer, after a first one; `grep -c` is")
print("the program itself run over the 5,000 files, from its start to its exit. The first references row is a fresh")
print("server's first query, which reads every script's call sites (see below).\n")
print("What the figures rest on. The index reads each script once, with the catalogue's own tokenizer and header")
print("rule, as Init does; its extra time (about 40 %) is the listing of the tree, each file's stamp, the place of")
print("every definition (line and columns, kept for definition and symbols) and one sort of the definitions by")
print("name. A save reads one script and looks again only at the names whose prototype came, went or changed. The")
print("busy rows stay short because the worker pauses between two files of an index, every 256 scripts of a query")
print("and between the runs of its sort, and answers the light messages waiting then; an uncapped answer's final")
print("serialisation (12 MB) is the one step that cannot pause. The heap beside the catalogue's own is one")
print("definition record per function (sharing the catalogue's strings), one by-name reference, and the scripts'")
print("paths and stamps, and the call sites: 8 bytes per call or declaration, names stored once for the workspace.")
print("The index reads the definitions only, as Init does; the call sites of the scripts it read are read afterwards")
print("while the server has nothing to answer (or, if a query for uses comes first, by that query: the first")
print("references row). A save reads its script's call sites with its definitions; an open script's edits are")
print("read for call sites in the same way, when the server is idle or a query for uses comes. References walk the")
print("call sites of each script (a binary search for the name) and write the answer's JSON as text; rename")
print("does the same after one stat of each file it edits, so that a file changed on disk unannounced is read")
print("again before its edit is built.\n")
print("The diagnostics rows (`bench/LspDiagnosticsBench.cpp`) open a script of 10,000 lines (400 functions of 25")
print("lines, calling built-ins and each other, 16 findings) and time its `didOpen` with the publication of its")
print("diagnostics; then a character typed into a call's name and taken away again, each `didChange` timed with the")
print("publication it causes (the name turns unknown, then known again); and a line break put in and taken out there,")
print("which moves every definition below it. The second shape has the same lines outside functions, in paragraphs")
print("of 25 lines; the third, outside functions without a blank line, one run of statements. The server is asked to")
print("publish without its pause (`diagnosticsDelay` 0). An edit reads again only the piece of the script it touches:")
print("pieces begin at a line that starts with `function` or begins a paragraph (after a blank line), or at any line")
print("in code once a piece has 64 lines, where nothing but blocks is open. Its semantic tokens are asked once it is open:")
print("calls and headers from those pieces, keywords, numbers, literals and comments from one pass over its lines.\n")
print("| what | figures | ratio | target | met |")
print("|---|---|---|---|---|")
small, large = ms("BM_LspSignatureAfterEdit/1000"), ms("BM_LspSignatureAfterEdit/100000")
row("signature help after a one-character edit at the end, 1,000 and 100,000 lines, a blank typed in the middle before",
    "%s; %s" % (fmt(small), fmt(large)), "100k/1k %.2f" % (large / small), "<= 3", large / small <= 3)
for shape, what in (("0", "in functions"), ("1", "outside functions, in paragraphs"),
                    ("2", "outside functions, without a blank line,")):
    letter = ms("BM_LspDiagnosticsAfterEdit/0/" + shape)
    newline = ms("BM_LspDiagnosticsAfterEdit/1/" + shape)
    first = ms("BM_LspDiagnosticsFirstPass/" + shape)
    row("diagnostics of a 10,000-line script %s after a one-character edit (a letter; a line break); its first "
        "full pass" % what, "%s; %s; %s" % (fmt(letter), fmt(newline), fmt(first)),
        "%.3f; %.3f" % (letter / first, newline / first), "<= 0.1", max(letter, newline) <= 0.1 * first)
one, spread = ms("BM_LspLongLineWorkspaceSymbol/0"), ms("BM_LspLongLineWorkspaceSymbol/1")
row("one line of 8,000 small definitions against one a line: start to the answer of workspace/symbol",
    "%s; %s" % (fmt(one), fmt(spread)), "%.2f" % (one / spread), "<= 2", one <= 2 * spread)
one, spread = ms("BM_LspLongLineTyping/0"), ms("BM_LspLongLineTyping/1")
row("typing at the end of one line of 8,000 calls against one call a line: an edit, its diagnostics and highlights",
    "%s; %s" % (fmt(one), fmt(spread)), "%.2f" % (one / spread), "<= 2", one <= 2 * spread)
tokens = ms("BM_LspSemanticTokens")
row("semantic tokens of the same 10,000-line script (%s tokens), once it is open"
    % format(int(find(counters, "BM_LspSemanticTokens")["tokens"]), ","), fmt(tokens), "-", "under 20 ms", tokens < 20)
small, large = ms("BM_LspCompletion/10000"), ms("BM_LspCompletion/100000")
row("completion of a prefix every function matches, 10,000 and 100,000 functions",
    "%s; %s" % (fmt(small), fmt(large)), "100k/10k %.2f" % (large / small), "<= 12, and under 100 ms",
    large / small <= 12 and large < 100)
small, large = ms("BM_LspCompletionSubsequence/10000"), ms("BM_LspCompletionSubsequence/100000")
row("completion of a word every function matches only as a subsequence, 10,000 and 100,000 functions",
    "%s; %s" % (fmt(small), fmt(large)), "100k/10k %.2f" % (large / small), "<= 12, and under 100 ms",
    large / small <= 12 and large < 100)
start = ms("BM_LspStartupToSignatureHelp")
row("startup to the first signature help, bundled samples (whole process)", fmt(start), "-", "recorded", True)
first, init = ms("BM_LspWorkspaceFirstSignature"), ms("BM_LspUserCatalogueInit")
row("workspace: start to the first signature help; `CZoFuncInfoUser::Init` over the same scripts",
    "%s; %s" % (fmt(first), fmt(init)), "%.2f" % (first / init), "<= 1.5", first / init <= 1.5)
save, full = ms("BM_LspSaveOneScript"), ms("BM_LspFullIndex")
row("workspace: didSave of one script; a full re-index", "%s; %s" % (fmt(save), fmt(full)),
    "1/%.0f" % (full / save), "<= 1/50, and under 20 ms", save * 50 <= full and save < 20)
for arg, what in (("0", "an uncapped workspace/symbol query"), ("1", "the first index")):
    name = "BM_LspSignatureWhileBusy/" + arg
    mean, worst_ms = ms(name), find(worst, name)
    row("workspace: signature help while %s runs (mean; worst)" % what, "%s; %s" % (fmt(mean), fmt(worst_ms)),
        "-", "within 50 ms", worst_ms <= 50)
capped, full = ms("BM_LspWorkspaceSymbol/100"), ms("BM_LspWorkspaceSymbol/0")
capped_bytes = find(counters, "BM_LspWorkspaceSymbol/100")["answer_bytes"]
full_bytes = find(counters, "BM_LspWorkspaceSymbol/0")["answer_bytes"]
row("workspace: workspace/symbol `Fn`, capped at 100; every match (%.0f KB; %.1f MB)" % (capped_bytes / 1e3, full_bytes / 1e6),
    "%s; %s" % (fmt(capped), fmt(full)), "1/%.0f" % (full / capped), "capped, <= 1/10", capped * 10 <= full)
references, grep = ms("BM_LspReferences"), ms("BM_LspGrepCount")
locations = find(counters, "BM_LspReferences")["locations"]
answer = find(counters, "BM_LspReferences")["answer_bytes"]
row("workspace: references to a function called 10,000 times (%s places, %.1f MB); `grep -c` over the same files"
    % (format(int(locations), ","), answer / 1e6), "%s; %s" % (fmt(references), fmt(grep)), "%.2f" % (references / grep),
    "under 200 ms, and <= 2", references < 200 and references <= 2 * grep)
rename = ms("BM_LspRename")
row("workspace: rename of that function (the WorkspaceEdit built and written); its references",
    "%s; %s" % (fmt(rename), fmt(references)), "%.2f" % (rename / references), "<= 2", rename <= 2 * references)
row("workspace: the first references after the index, every script's call sites read then",
    fmt(ms("BM_LspFirstReferences")), "-", "recorded", True)
rename, back = ms("BM_LspClosedDiagnosticsAfterRename"), find(counters, "BM_LspClosedDiagnosticsAfterRename")["back_ms"]
row("workspace: diagnostics of the 4,999 closed scripts after a rename of the function they call; the rename back",
    "%s; %s" % (fmt(rename), fmt(back)), "-", "under 2 s", rename < 2000)
on, off = ms("BM_LspSignatureWhileClosedDiagnostics/1"), ms("BM_LspSignatureWhileClosedDiagnostics/0")
row("workspace: signature help while those lists are worked out, against closed scripts left alone (mean, worst; "
    "mean, worst)", "%s, %s; %s, %s" % (fmt(on), fmt(find(worst, "BM_LspSignatureWhileClosedDiagnostics/1")), fmt(off),
                                        fmt(find(worst, "BM_LspSignatureWhileClosedDiagnostics/0"))),
    "%.2f" % (on / off), "unchanged (<= 1.5)", on <= 1.5 * off)
if memory["catalogue"] and memory["server"]:
    held = max(m[0] for m in memory["catalogue"])
    functions = memory["catalogue"][0][1]
    peak = max(m[0] for m in memory["server"])
    row("workspace: peak heap with the workspace open; the user catalogue alone, per 1,000 functions",
        "%.0f KB; %.0f KB" % (peak / functions, held / functions), "%.2f" % (peak / held), "<= 2", peak <= 2 * held)
