// The start-up logic of the extension, without VS Code.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const launch = require("../src/launch");

const kLinux = { platform: "linux", arch: "x64", home: "/home/ann", env: { PATH: "/bin", NIMBO_PROGRAMS: "/opt/p" },
                 extensionPath: "/ext" };
const kWindows = { platform: "win32", arch: "x64", home: "C:\\Users\\ann", env: { NIMBO_PROGRAMS: "D:\\p" },
                   extensionPath: "C:\\Users\\ann\\.vscode\\extensions\\nimbo.nimbo-1.0.0" };

test("the bundled binary for each platform", () => {
  for (const [strPlatform, strArch, expected] of [
    ["linux", "x64", "server/linux-x64/bin/nimbo"],
    ["win32", "x64", "server\\win32\\bin\\nimbo.exe"],
    ["win32", "ia32", "server\\win32\\bin\\nimbo.exe"],
    ["win32", "arm64", "server\\win32\\bin\\nimbo.exe"],
    ["linux", "arm64", null],
    ["darwin", "arm64", null],
  ])
    assert.equal(launch.BundledServer(strPlatform, strArch), expected, `${strPlatform}-${strArch}`);
});

test("the server runs `lsp`; a chosen programs folder beats $NIMBO_PROGRAMS", () => {
  assert.deepEqual(launch.ServerLaunch({}, "/work", kLinux),
                   { command: "/ext/server/linux-x64/bin/nimbo", args: ["lsp"], env: kLinux.env });
  const windows = launch.ServerLaunch({ programsFolder: "P" }, "C:\\work", kWindows);
  assert.equal(windows.command, "C:\\Users\\ann\\.vscode\\extensions\\nimbo.nimbo-1.0.0\\server\\win32\\bin\\nimbo.exe");
  assert.deepEqual(windows.args, ["lsp"]);
  assert.equal(windows.env.NIMBO_PROGRAMS, undefined);
  assert.equal(kWindows.env.NIMBO_PROGRAMS, "D:\\p", "the extension's own environment is left alone");
  assert.equal(launch.ServerLaunch({ serverPath: "~/build/nimbo" }, "/work", kLinux).command, "/home/ann/build/nimbo");
  assert.match(launch.ServerLaunch({}, "", { ...kLinux, platform: "darwin", arch: "arm64" }).error, /darwin-arm64/);
});

test("settings become initializationOptions: folders made absolute, exclusions as written", () => {
  const options = launch.InitializationOptions({
    programsFolder: "../Programs",
    projectFolders: ["lib", "/shared/scripts", "  ", "~/more"],
    excludeFolders: ["build/", " old/drafts ", "/abs/x", "~/tmp", ""],
    diagnostics: { unknownFunction: "off", argumentCount: "warning", futureKind: "hint", unclosedCall: "loud" },
  }, "/work/app", kLinux);
  assert.deepEqual(options, {
    programs: "/work/Programs",
    projectFolders: ["/work/app/lib", "/shared/scripts", "/home/ann/more"],
    excludeFolders: ["build/", "old/drafts", "/abs/x", "/home/ann/tmp"],
    diagnostics: { ...launch.kDiagnosticKinds, unknownFunction: "off", argumentCount: "warning", futureKind: "hint" },
    workspaceDiagnostics: true,
  });
  assert.deepEqual(launch.InitializationOptions({ projectFolders: ["lib", "D:/x"], workspaceDiagnostics: false },
                                                "C:\\work", kWindows), {
    projectFolders: ["C:\\work\\lib", "D:\\x"], excludeFolders: [], diagnostics: launch.kDiagnosticKinds,
    workspaceDiagnostics: false });
  // Without a workspace a relative folder stays relative: the server's own folder decides.
  assert.deepEqual(launch.InitializationOptions({ projectFolders: ["lib"] }, "", kLinux).projectFolders, ["lib"]);
});

test("a bundled binary that lost its execute bit gets it back", { skip: process.platform === "win32" }, () => {
  const strDir = fs.mkdtempSync(path.join(os.tmpdir(), "nimbo-ext-"));
  try {
    const strBinary = path.join(strDir, "nimbo");
    fs.writeFileSync(strBinary, "#!/bin/sh\n", { mode: 0o644 });
    assert.equal(launch.EnsureRunnable(strBinary, "linux"), "");
    assert.equal(fs.statSync(strBinary).mode & 0o111, 0o111);
    assert.match(launch.EnsureRunnable(path.join(strDir, "missing"), "linux"), /missing: ENOENT/);
    assert.match(launch.EnsureRunnable(strDir, "linux"), /not a file/);
  } finally {
    fs.rmSync(strDir, { recursive: true, force: true });
  }
});

test("a completion that inserts a call's \"(\" opens the tip of its arguments", () => {
  const kHints = { title: "Signature help", command: "editor.action.triggerParameterHints" };
  const items = [{ insertText: { value: "StrMid(${1:szText})" } }, { insertText: "Left(" }, { label: "Total" },
                 { insertText: "Keep(", command: { command: "other" } }, { insertText: "x" }];
  assert.deepEqual(launch.WithParameterHints({ items }).items.map((item) => item.command),
                   [kHints, kHints, undefined, { command: "other" }, undefined]);
  assert.equal(launch.WithParameterHints(null), null);
  assert.deepEqual(launch.WithParameterHints([{ insertText: "A(" }])[0].command, kHints);
});
