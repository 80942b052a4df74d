#!/usr/bin/env node
// The extension's tests: the grammar's scope assertions (test/grammar), the
// grammar's snapshots of the bundled sample scripts (test/snap, compared with
// the committed .snap files; --update-snapshots rewrites them), and the
// Node tests of the start-up logic and the generated built-in pattern.
"use strict";
const { spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");

const kHere = path.resolve(__dirname, "..");
const kSamples = path.resolve(kHere, "..", "..", "samples", "project");
const kSnapDir = path.join(kHere, "test", "snap");
const kBin = path.join(kHere, "node_modules", ".bin");

function Run(strTitle, strCommand, args) {
  console.log(`== ${strTitle}`);
  const result = spawnSync(strCommand, args, { cwd: kHere, stdio: "inherit" });
  if (result.error) console.error(`${strCommand}: ${result.error.message}`);
  return result.status === 0;
}

// The samples are copied beside their snapshots, so that a changed sample
// shows as a changed snapshot.
for (const strName of fs.readdirSync(kSamples).filter((strFile) => strFile.endsWith(".nsc")))
  fs.copyFileSync(path.join(kSamples, strName), path.join(kSnapDir, strName));

const bUpdate = process.argv.includes("--update-snapshots");
const results = [
  Run("grammar assertions", path.join(kBin, "vscode-tmgrammar-test"), ["test/grammar/*.test.nsc"]),
  Run("grammar snapshots of the samples", path.join(kBin, "vscode-tmgrammar-snap"),
      [...(bUpdate ? ["--updateSnapshot"] : []), "test/snap/*.nsc"]),
  Run("start-up logic and generated pattern", process.execPath, ["--test", "test/"]),
];
process.exitCode = results.every(Boolean) ? 0 : 1;
