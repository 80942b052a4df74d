#!/usr/bin/env node
// Writes the grammar's pattern of built-in calls from the names that
// funcwiz.ini lists in its "All" category, the list the standard catalogue
// reads. `--check` only compares, and fails when the committed grammar is
// not what the ini file gives.
"use strict";
const fs = require("node:fs");
const path = require("node:path");

const kRoot = path.resolve(__dirname, "..", "..", "..");
const kIni = path.join(kRoot, "samples", "Programs", "funcwiz.ini");
const kGrammar = path.join(__dirname, "..", "syntaxes", "nimbo.tmLanguage.json");
const kListSection = "FuncWiz - Category - All";

// The values of the list section, in the order given, each name once.
function BuiltinNames(strIniText) {
  const names = [];
  let bInList = false;
  for (const strRaw of strIniText.split(/\r?\n/)) {
    const strLine = strRaw.trim();
    if (strLine.startsWith("[")) {
      bInList = strLine.slice(1, strLine.indexOf("]")).trim().toLowerCase() === kListSection.toLowerCase();
      continue;
    }
    if (!bInList || strLine === "" || strLine.startsWith(";")) continue;
    const nEquals = strLine.indexOf("=");
    const strName = nEquals < 0 ? "" : strLine.slice(nEquals + 1).trim();
    if (/^[A-Za-z_][A-Za-z0-9_]*$/.test(strName) && !names.includes(strName)) names.push(strName);
  }
  return names;
}

// The grammar rule: a call of a listed name, a whole word (StrLeftX( is no
// built-in), sorted so that the committed text does not follow the ini's order.
function BuiltinRule(names) {
  const sorted = [...names].sort();
  return {
    name: "meta.function-call.nimbo",
    match: `(?<![A-Za-z0-9_\\x{80}-\\x{10FFFF}])(${sorted.join("|")})(?![A-Za-z0-9_\\x{80}-\\x{10FFFF}])(?=\\s*\\()`,
    captures: { 1: { name: "support.function.builtin.nimbo" } },
  };
}

function GrammarText(strGrammarText, strIniText) {
  const grammar = JSON.parse(strGrammarText);
  grammar.repository["builtin-call"] = BuiltinRule(BuiltinNames(strIniText));
  return JSON.stringify(grammar, null, 2) + "\n";
}

function Main(args) {
  const strCurrent = fs.readFileSync(kGrammar, "utf8");
  const strWanted = GrammarText(strCurrent, fs.readFileSync(kIni, "latin1"));
  if (args.includes("--check")) {
    if (strCurrent === strWanted) return 0;
    console.error(`${kGrammar}: built-in names differ from ${kIni}; run node scripts/generate-builtins.js`);
    return 1;
  }
  if (strCurrent !== strWanted) fs.writeFileSync(kGrammar, strWanted);
  return 0;
}

module.exports = { BuiltinNames, BuiltinRule, GrammarText, kGrammar, kIni };
if (require.main === module) process.exitCode = Main(process.argv.slice(2));
