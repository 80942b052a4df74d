#!/usr/bin/env node
// Runs the language server's golden cases (../cases, on a copy of
// ../fixture) against a server process: the built `nimbo lsp`, or nimbo.exe
// under Wine. The case format is LspGolden_test.cpp's; what a process shows
// differently from the in-process run is mapped here, and only here:
//   - "(skipped: X)" and "(framing: X)" lines are the reader's notes, which
//     a process logs on standard error as "nimbo lsp: X" (checked there, in
//     order);
//   - "(exit N)" is the process's exit status; "(no exit)" is input that
//     ends, which the process answers with status 1;
//   - the in-process runner publishes diagnostics as a client's pause
//     would, after each message; a process waits for a pause of its own
//     (initializationOptions.diagnosticsDelay), which the runner sets to 0
//     in "initialize" so that they come right after the message that
//     changed them;
//   - with --wine, the fixture's copy lies on drive C: of the Wine prefix,
//     and ${DIR} becomes a Windows path, "file://${DIR}" a URI as VS Code
//     writes it ("file:///c%3A/..."); a system path under ${DIR} in the
//     server's text (a log message) has "\" after it, read back as "/".
// The in-process runner hands the server one message at a time and lets it
// finish what the message started (an index, say) before the next; a
// process reads on while it works. So after each message the runner sends a
// barrier: a request of a method the server does not know, which queues
// behind any such work and is answered when it is done; barriers and their
// answers are left out of the output. After a "raw:" text that is not one
// whole frame (a case of broken framing) no barrier is sent any more, as it
// would be read as part of the broken message.
// A "write:" or "remove:" line waits until every request sent before it is
// answered. A line that is not JSON is sent framed all the same. Cases with
// "queue:" lines are skipped: what waits in the inbox when the next message
// comes is the in-process runner's to arrange; a process reads as it goes.
// So are cases with a "# not for a process: WHY" line.
//
// Usage: run-cases.js [--wine] [--case NAME] -- COMMAND [ARGS...]
"use strict";
const { spawn } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");

const kHere = path.resolve(__dirname, "..");
const kTimeoutMs = 60000;

// The bytes of a "raw:" or "write:" text: \r, \n, \xHH and \\ unescaped.
function Unescape(strText) {
  const parts = strText.split(/(\\x[0-9A-Fa-f]{2}|\\.)/);
  return Buffer.concat(parts.map((strPart) => {
    if (/^\\x[0-9A-Fa-f]{2}$/.test(strPart)) return Buffer.from([parseInt(strPart.slice(2), 16)]);
    if (strPart.length === 2 && strPart[0] === "\\")
      return Buffer.from(strPart[1] === "r" ? "\r" : strPart[1] === "n" ? "\n" : strPart[1], "utf8");
    return Buffer.from(strPart, "utf8");
  }));
}

// Whether bytes are exactly one message with a right Content-Length.
function IsWholeFrame(bytes) {
  const match = /^Content-Length: (\d+)\r\n\r\n/.exec(bytes.toString("latin1"));
  return match !== null && bytes.length === match[0].length + Number(match[1]);
}

const kBarrierMethod = "nimbo-case-runner/barrier";

function Frame(strBody) {
  return `Content-Length: ${Buffer.byteLength(strBody)}\r\n\r\n${strBody}`;
}

// Where the fixture's copy lies, and how ${DIR} is written in the messages.
// The copy's folder is named with Latin-1, Polish and CJK letters, an emoji
// (outside UTF-16's first plane) and spaces, so that every case also shows
// that the server finds its Programs folder and the project's scripts under
// such a name and keeps it through its paths and URIs.
const kScratchName = "Outils \u00fc \u00e9t\u00e9 \u0141\u00f3d\u017a \u65e5\u672c \u{1F600} c";

// A URI's path as the server writes it: UTF-8, every byte but a letter, a
// digit and "/-._~" percent-encoded.
function UriPath(strPath) {
  return [...Buffer.from(strPath, "utf8")].map((nByte) => {
    const ch = String.fromCharCode(nByte);
    return /[A-Za-z0-9\/\-._~]/.test(ch) ? ch : `%${nByte.toString(16).toUpperCase().padStart(2, "0")}`;
  }).join("");
}

function MakeScratch(bWine) {
  if (!bWine) {
    const strDir = fs.mkdtempSync(path.join(os.tmpdir(), kScratchName));
    return { strDir, strUriBase: `file://${UriPath(strDir)}`, strJsonPath: strDir };
  }
  const strPrefix = process.env.WINEPREFIX || path.join(os.homedir(), ".wine");
  const strParent = path.join(strPrefix, "drive_c", "nimbo-lsp-cases");
  fs.mkdirSync(strParent, { recursive: true });
  const strDir = fs.mkdtempSync(path.join(strParent, kScratchName));
  const strName = path.basename(strDir);
  return { strDir, strUriBase: `file:///c%3A/nimbo-lsp-cases/${UriPath(strName)}`,
           strJsonPath: `C:\\\\nimbo-lsp-cases\\\\${strName}` };
}

// The messages of a stream of framed bytes, as they arrive.
class CFrameReader {
  constructor(onMessage) {
    this.buffer = Buffer.alloc(0);
    this.onMessage = onMessage;
  }
  Feed(chunk) {
    this.buffer = Buffer.concat([this.buffer, chunk]);
    for (;;) {
      const nEnd = this.buffer.indexOf("\r\n\r\n");
      if (nEnd < 0) return;
      const match = /Content-Length: *(\d+)/i.exec(this.buffer.subarray(0, nEnd).toString("latin1"));
      const nLength = match ? Number(match[1]) : 0;
      if (this.buffer.length < nEnd + 4 + nLength) return;
      this.onMessage(this.buffer.subarray(nEnd + 4, nEnd + 4 + nLength).toString("utf8"));
      this.buffer = this.buffer.subarray(nEnd + 4 + nLength);
    }
  }
}

async function RunCase(strCase, command, bWine) {
  const scratch = MakeScratch(bWine);
  try {
    fs.cpSync(path.join(kHere, "fixture"), scratch.strDir, { recursive: true });
    const strInput = fs.readFileSync(path.join(kHere, "cases", `${strCase}.in`), "utf8")
                       .split("file://${DIR}").join(scratch.strUriBase).split("${DIR}").join(scratch.strJsonPath);
    const child = spawn(command[0], command.slice(1), { stdio: ["pipe", "pipe", "pipe"] });
    const messages = [];
    const pending = new Set();
    let fnAnswered = null;
    const reader = new CFrameReader((strBody) => {
      const message = JSON.parse(strBody);
      const bBarrier = typeof message.id === "string" && message.id.startsWith("barrier-");
      if (!bBarrier) messages.push(strBody);
      if (!("method" in message)) pending.delete(JSON.stringify(message.id));
      if (fnAnswered && pending.size === 0) fnAnswered();
    });
    child.stdout.on("data", (chunk) => reader.Feed(chunk));
    let strErr = "";
    child.stderr.on("data", (chunk) => { strErr += chunk.toString("utf8"); });
    child.stdin.on("error", () => {});  // the server may be gone after "exit"
    const exited = new Promise((resolve) => child.on("close", (nStatus) => resolve(nStatus)));
    const Answered = () => new Promise((resolve, reject) => {
      if (pending.size === 0) return resolve();
      const timer = setTimeout(() => reject(new Error(`no answer to ${[...pending]}`)), kTimeoutMs);
      fnAnswered = () => { clearTimeout(timer); fnAnswered = null; resolve(); };
    });

    let bExitSent = false;
    let bBarriers = true;
    let nBarrier = 0;
    for (const strLine of strInput.split("\n")) {
      if (strLine === "" || strLine.startsWith("#")) continue;
      if (strLine.startsWith("write: ")) {
        await Answered();
        const nSpace = strLine.indexOf(" ", 7);
        const strFile = path.join(scratch.strDir, strLine.slice(7, nSpace));
        fs.mkdirSync(path.dirname(strFile), { recursive: true });
        fs.writeFileSync(strFile, Unescape(strLine.slice(nSpace + 1)));
        continue;
      }
      if (strLine.startsWith("remove: ")) {
        await Answered();
        fs.rmSync(path.join(scratch.strDir, strLine.slice(8)), { recursive: true, force: true });
        continue;
      }
      if (strLine.startsWith("raw: ")) {
        const bytes = Unescape(strLine.slice(5));
        bBarriers = bBarriers && IsWholeFrame(bytes);
        child.stdin.write(bytes);
        continue;
      }
      let message = null;
      try {
        message = JSON.parse(strLine);
      } catch (error) {
        // sent as it is: the server's parse error is part of the case
      }
      // A request whose id is not a number or a string is answered with id null.
      if (message && "method" in message && ["number", "string"].includes(typeof message.id))
        pending.add(JSON.stringify(message.id));
      if (message && message.method === "exit") bExitSent = true;
      let strSent = strLine;
      if (message && message.method === "initialize" && message.params && typeof message.params === "object") {
        const options = message.params.initializationOptions || {};
        if (typeof options === "object" && !("diagnosticsDelay" in options)) {
          message.params.initializationOptions = { ...options, diagnosticsDelay: 0 };
          strSent = JSON.stringify(message);
        }
      }
      child.stdin.write(Frame(strSent));
      if (bBarriers && !bExitSent) {
        const strId = `barrier-${++nBarrier}`;
        pending.add(JSON.stringify(strId));
        child.stdin.write(Frame(JSON.stringify({ jsonrpc: "2.0", id: strId, method: kBarrierMethod })));
        await Answered();
      }
    }
    child.stdin.end();
    const timer = setTimeout(() => child.kill(), kTimeoutMs);
    const nStatus = await exited;
    clearTimeout(timer);

    const strOut = messages.map((strBody) => strBody + "\n").join("")
                     .split(scratch.strUriBase).join("file://${DIR}").split(scratch.strJsonPath).join("${DIR}");
    // JSON text: each "\" of a Windows path is written "\\".
    const strMapped = bWine
      ? strOut.replace(/\$\{DIR\}(?:\\\\[^\\\s",]+)+/g, (strPath) => strPath.split("\\\\").join("/"))
      : strOut;
    return { strOut: strMapped, strErr, nStatus, bExitSent };
  } finally {
    fs.rmSync(scratch.strDir, { recursive: true, force: true });
  }
}

// What the process must show for a case's expected in-process output.
function Compare(strExpectedText, run) {
  const problems = [];
  const lines = strExpectedText.split("\n").filter((strLine) => strLine !== "");
  const protocol = lines.filter((strLine) => !strLine.startsWith("("));
  const actual = run.strOut.split("\n").filter((strLine) => strLine !== "");
  for (let i = 0; i < Math.max(protocol.length, actual.length); ++i) {
    if (protocol[i] !== actual[i]) {
      problems.push(`message ${i + 1}:\n  expected ${protocol[i]}\n  actual   ${actual[i]}`);
      break;
    }
  }
  const errLines = run.strErr.split(/\r?\n/);
  let nAt = 0;
  for (const strLine of lines.filter((strLine) => /^\((skipped|framing): /.test(strLine))) {
    const strWanted = `nimbo lsp: ${strLine.slice(strLine.indexOf(" ") + 1, -1)}`;
    while (nAt < errLines.length && errLines[nAt] !== strWanted) ++nAt;
    if (nAt === errLines.length) problems.push(`standard error lacks, in order: ${strWanted}\n${run.strErr}`);
  }
  const strEnd = lines[lines.length - 1];
  const nWanted = strEnd === "(no exit)" ? 1 : Number((/^\(exit (\d+)\)$/.exec(strEnd) || [])[1]);
  if (run.nStatus !== nWanted) problems.push(`exit status ${run.nStatus}, expected ${nWanted} (${strEnd})`);
  return problems;
}

async function Main(argv) {
  const nDash = argv.indexOf("--");
  const options = nDash < 0 ? argv : argv.slice(0, nDash);
  const command = nDash < 0 ? [] : argv.slice(nDash + 1);
  if (command.length === 0) {
    console.error("usage: run-cases.js [--wine] [--case NAME] -- COMMAND [ARGS...]");
    return 2;
  }
  const bWine = options.includes("--wine");
  const nCase = options.indexOf("--case");
  const cases = nCase >= 0 ? [options[nCase + 1]]
                           : fs.readdirSync(path.join(kHere, "cases")).filter((strFile) => strFile.endsWith(".in"))
                               .map((strFile) => strFile.slice(0, -3)).sort();
  let nPassed = 0;
  let nFailed = 0;
  for (const strCase of cases) {
    const strIn = fs.readFileSync(path.join(kHere, "cases", `${strCase}.in`), "utf8");
    const notForProcess = /^# not for a process: (.*)$/m.exec(strIn);
    if (notForProcess || /^queue: /m.test(strIn)) {
      console.log(`skipped ${strCase} (${notForProcess ? notForProcess[1] : "queue: lines"})`);
      continue;
    }
    let problems;
    try {
      const run = await RunCase(strCase, command, bWine);
      problems = Compare(fs.readFileSync(path.join(kHere, "cases", `${strCase}.expected`), "utf8"), run);
    } catch (error) {
      problems = [error.message];
    }
    if (problems.length === 0) {
      ++nPassed;
      console.log(`ok ${strCase}`);
    } else {
      ++nFailed;
      console.log(`FAILED ${strCase}\n${problems.join("\n")}`);
    }
  }
  console.log(`${nPassed} passed, ${nFailed} failed`);
  return nFailed === 0 && nPassed > 0 ? 0 : 1;
}

Main(process.argv.slice(2)).then((nStatus) => { process.exitCode = nStatus; });
