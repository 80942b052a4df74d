// The extension's wiring to VS Code, with stand-ins for the `vscode` module
// and the language client: which client it makes from the settings, when it
// starts the server again, and what the user is told when none can start.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const Module = require("node:module");
const os = require("node:os");
const path = require("node:path");

const settings = {};
const shown = [];
const clients = [];
let onConfigurationChange = null;
const vscode = {
  workspace: {
    workspaceFolders: [{ uri: { scheme: "file", fsPath: "/work/app" } }],
    getConfiguration: () => ({ get: (strKey) => settings[strKey] }),
    onDidChangeConfiguration: (fn) => { onConfigurationChange = fn; return { dispose() {} }; },
  },
  window: { showErrorMessage: (strMessage) => shown.push(strMessage) },
  commands: { registerCommand: () => ({ dispose() {} }) },
};
class LanguageClient {
  constructor(strId, strName, server, options) {
    Object.assign(this, { strId, server, options, nStarts: 0, nStops: 0 });
    clients.push(this);
  }
  async start() { ++this.nStarts; }
  async stop() { ++this.nStops; }
}
const stubs = { vscode, "vscode-languageclient/node": { LanguageClient, TransportKind: { stdio: 0 } } };
const resolve = Module._resolveFilename;
Module._resolveFilename = function (strRequest, ...rest) {
  return strRequest in stubs ? strRequest : resolve.call(this, strRequest, ...rest);
};
for (const [strName, exports] of Object.entries(stubs))
  require.cache[strName] = { id: strName, filename: strName, loaded: true, exports };
const extension = require("../src/extension");

const Change = (...changed) => onConfigurationChange({ affectsConfiguration: (strKey) => changed.includes(strKey) });

test("starts the bundled server with the settings, and again when a folder setting changes",
     { skip: process.platform !== "linux" || process.arch !== "x64" }, async () => {
  const strExtension = fs.mkdtempSync(path.join(os.tmpdir(), "nimbo-ext-"));
  try {
    const strServer = path.join(strExtension, "server", "linux-x64", "bin", "nimbo");
    const context = { extensionPath: strExtension, subscriptions: [] };
    await extension.activate(context);
    assert.equal(clients.length, 0);
    assert.match(shown.pop(), /server\/linux-x64\/bin\/nimbo: ENOENT/);

    fs.mkdirSync(path.dirname(strServer), { recursive: true });
    fs.writeFileSync(strServer, "", { mode: 0o644 });
    Object.assign(settings, { programsFolder: "Programs", excludeFolders: ["old"],
                              diagnostics: { unknownFunction: "off" } });
    await Change("nimbo.programsFolder");
    assert.equal(clients.length, 1);
    const client = clients[0];
    assert.equal(client.nStarts, 1);
    assert.equal(client.server.run.command, strServer);
    assert.deepEqual(client.server.run.args, ["lsp"]);
    assert.notEqual(fs.statSync(strServer).mode & 0o111, 0, "made runnable");
    assert.deepEqual(client.options.documentSelector.map((selector) => selector.language),
                     ["nimbo-script", "nimbo-script"]);
    assert.equal(client.options.synchronize.configurationSection, "nimbo");
    // The options are read when the client initialises, from the settings then.
    const options = client.options.initializationOptions();
    assert.equal(options.programs, "/work/app/Programs");
    assert.deepEqual(options.excludeFolders, ["/work/app/old"]);
    assert.equal(options.diagnostics.unknownFunction, "off");

    await Change("nimbo.diagnostics.unknownFunction");  // reaches the running server; no restart
    assert.equal(clients.length, 1);
    await Change("nimbo.excludeFolders");
    assert.equal(client.nStops, 1);
    assert.equal(clients.length, 2);
    await extension.deactivate();
    assert.equal(clients[1].nStops, 1);
    assert.equal(shown.length, 0);
  } finally {
    fs.rmSync(strExtension, { recursive: true, force: true });
  }
});
