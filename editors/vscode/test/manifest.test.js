// What the manifest and the grammar must keep in step with: the project's
// version, the server's diagnostic kinds, and funcwiz.ini's built-in names.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const launch = require("../src/launch");
const builtins = require("../scripts/generate-builtins");
const pkg = require("../package.json");

test("the extension carries the project's version", () => {
  const strCMake = fs.readFileSync(path.join(__dirname, "..", "..", "..", "CMakeLists.txt"), "utf8");
  assert.equal(pkg.version, /project\(Nimbo VERSION ([0-9.]+)/.exec(strCMake)[1]);
});

test("every diagnostic kind has a setting with its default", () => {
  const properties = pkg.contributes.configuration.properties;
  for (const [strKind, strDefault] of Object.entries(launch.kDiagnosticKinds))
    assert.equal(properties[`nimbo.diagnostics.${strKind}`].default, strDefault, strKind);
  const settings = Object.keys(properties).filter((strKey) => strKey.startsWith("nimbo.diagnostics."));
  assert.equal(settings.length, Object.keys(launch.kDiagnosticKinds).length);
});

test("the extension knows every kind the server reports, with the server's default", () => {
  const strSource = fs.readFileSync(path.join(__dirname, "..", "..", "..", "tools", "lsp", "CLspDiagnostics.cpp"), "utf8");
  const strTable = /kKinds\[kDiagnosticKinds\] = \{([^;]*)\};/.exec(strSource)[1];
  const kinds = [...strTable.matchAll(/\{"(\w+)", (\d)\}/g)].map((m) => [m[1], launch.kSeverities[Number(m[2]) - 1]]);
  assert.ok(kinds.length > 0, "the server's table of kinds was not found");
  assert.deepEqual(Object.fromEntries(kinds), launch.kDiagnosticKinds);
});

test("the grammar's built-in names are funcwiz.ini's", () => {
  const strIni = fs.readFileSync(builtins.kIni, "latin1");
  const strGrammar = fs.readFileSync(builtins.kGrammar, "utf8");
  assert.equal(strGrammar, builtins.GrammarText(strGrammar, strIni), "run: node scripts/generate-builtins.js");
  const names = builtins.BuiltinNames("[FuncWiz - Category - All]\n1=Print\n; 2=Commented\n2 = StrLeft \n3=Print\n" +
                                      "4=not a name\n[Other]\n1=Mid\n[funcwiz - category - all]\n9=Left\n");
  assert.deepEqual(names, ["Print", "StrLeft", "Left"]);
});
