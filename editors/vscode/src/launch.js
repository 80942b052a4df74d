// How the extension starts the language server: which bundled binary, with
// which arguments and environment, and which settings reach the server's
// initializationOptions. No `vscode` import, so that Node tests it alone.
"use strict";
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");

// The diagnostic kinds the server reports, each with its default severity;
// "off" turns one off. package.json's settings list the same kinds.
const kDiagnosticKinds = {
  unknownFunction: "warning",
  argumentCount: "error",
  hiddenByBuiltin: "warning",
  declareWithoutDefinition: "hint",
  duplicateDefinition: "warning",
  unclosedCall: "error",
  unclosedString: "error",
};
const kSeverities = ["error", "warning", "information", "hint", "off"];

// The bundled server for a platform, relative to the extension's folder;
// null where none is bundled. Each platform's folder is an installed tree
// (bin/, lib/, share/nimbo/samples), so the server finds its libraries and
// its default "Programs" folder as an installed nimbo does. A 64-bit
// Windows runs the 32-bit program.
function BundledServer(strPlatform, strArch) {
  if (strPlatform === "win32") return path.win32.join("server", "win32", "bin", "nimbo.exe");
  if (strPlatform === "linux" && strArch === "x64") return path.posix.join("server", "linux-x64", "bin", "nimbo");
  return null;
}

// A folder setting made absolute: "~" is the home folder, a relative path is
// taken from the first workspace folder (or left as it is without one).
function ResolveFolder(strFolder, strWorkspace, strHome, pathApi) {
  let strPath = String(strFolder).trim();
  if (strPath === "") return "";
  if (strPath === "~" || strPath.startsWith("~/") || strPath.startsWith("~\\")) strPath = strHome + strPath.slice(1);
  if (!pathApi.isAbsolute(strPath) && strWorkspace) strPath = pathApi.join(strWorkspace, strPath);
  return pathApi.normalize(strPath);
}

// settings: the "nimbo" section as plain values. Unknown diagnostic kinds
// pass through (a newer server may know them); a severity that is not one of
// kSeverities gives way to the kind's default (an unknown kind's is dropped).
function InitializationOptions(settings, strWorkspace, context) {
  const pathApi = context.platform === "win32" ? path.win32 : path.posix;
  const Resolve = (strFolder) => ResolveFolder(strFolder, strWorkspace, context.home, pathApi);
  const List = (value, Map) => (Array.isArray(value) ? value : []).map(Map).filter((strPath) => strPath !== "");
  const options = {};
  const strPrograms = Resolve(settings.programsFolder || "");
  if (strPrograms !== "") options.programs = strPrograms;
  options.projectFolders = List(settings.projectFolders, Resolve);
  // An exclusion stays as written: a name ("build") skips every folder of
  // that name, a relative path that folder of each workspace folder; "~"
  // and absolute paths name one folder.
  options.excludeFolders = List(settings.excludeFolders, (strFolder) => {
    const strTrimmed = String(strFolder).trim();
    return /^~([\\/]|$)/.test(strTrimmed) || pathApi.isAbsolute(strTrimmed) ? Resolve(strTrimmed) : strTrimmed;
  });
  options.diagnostics = {};
  const diagnostics = { ...kDiagnosticKinds, ...(settings.diagnostics || {}) };
  for (const [strKind, strSeverity] of Object.entries(diagnostics)) {
    if (kSeverities.includes(strSeverity)) options.diagnostics[strKind] = strSeverity;
    else if (strKind in kDiagnosticKinds) options.diagnostics[strKind] = kDiagnosticKinds[strKind];
  }
  // Closed scripts' problems: on unless turned off (the server's own default is off).
  options.workspaceDiagnostics = settings.workspaceDiagnostics !== false;
  return options;
}

// What starts the server: { command, args, env } or { error } with a
// message for the user. settings.serverPath names another binary (a build
// of one's own); otherwise the bundled one for this platform.
// context: { platform, arch, home, env, extensionPath }.
function ServerLaunch(settings, strWorkspace, context) {
  const pathApi = context.platform === "win32" ? path.win32 : path.posix;
  let strCommand;
  if (settings.serverPath) {
    strCommand = ResolveFolder(settings.serverPath, strWorkspace, context.home, pathApi);
  } else {
    const strBundled = BundledServer(context.platform, context.arch);
    if (strBundled === null)
      return { error: `Nimbo has no language server for ${context.platform}-${context.arch}; set nimbo.serverPath.` };
    strCommand = pathApi.join(context.extensionPath, strBundled);
  }
  // The server takes $NIMBO_PROGRAMS before initializationOptions.programs;
  // a folder chosen in the settings is meant to win.
  const env = { ...context.env };
  if (settings.programsFolder) delete env.NIMBO_PROGRAMS;
  // The client adds the transport's flag (--stdio) after these.
  return { command: strCommand, args: ["lsp"], env };
}

// The completion items (an array or a CompletionList) with VS Code's
// command that opens the tip of the arguments on each item that inserts a
// call's "(", so that accepting one goes on as typing "(" would.
function WithParameterHints(result) {
  const items = Array.isArray(result) ? result : result && Array.isArray(result.items) ? result.items : [];
  for (const item of items) {
    const insert = item.insertText;
    const strInsert = typeof insert === "string" ? insert : insert && typeof insert.value === "string" ? insert.value : "";
    if (strInsert.includes("(") && !item.command)
      item.command = { title: "Signature help", command: "editor.action.triggerParameterHints" };
  }
  return result;
}

// A binary unpacked from a .vsix may have lost its execute bit; give it back.
// Returns an error message, or "" when the file is there and runnable.
function EnsureRunnable(strCommand, strPlatform) {
  try {
    const stat = fs.statSync(strCommand);
    if (!stat.isFile()) return `${strCommand}: not a file`;
    if (strPlatform !== "win32" && (stat.mode & 0o111) === 0) fs.chmodSync(strCommand, stat.mode | 0o755);
    return "";
  } catch (error) {
    return `${strCommand}: ${error.message}`;
  }
}

function CurrentContext(strExtensionPath) {
  return { platform: process.platform, arch: process.arch, home: os.homedir(), env: process.env,
           extensionPath: strExtensionPath };
}

module.exports = { kDiagnosticKinds, kSeverities, BundledServer, ResolveFolder, InitializationOptions, ServerLaunch,
                   WithParameterHints, EnsureRunnable, CurrentContext };
