// The extension's wiring to VS Code, with stand-ins for the `vscode` module
// and the language client: which client it makes from the settings, when it
// starts the server again (disposing of the old client, one output channel
// for all), what the user is told when none can start, and what the status
// item shows through a server's life.
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
const channels = [];
const items = [];
const commands = {};
let onConfigurationChange = null;
let bNextStartFails = false;
const State = { Stopped: 1, Starting: 3, Running: 2 };
const WorkDoneProgress = { type: "workDoneProgress" };
const vscode = {
  workspace: {
    workspaceFolders: [{ uri: { scheme: "file", fsPath: "/work/app" } }],
    getConfiguration: () => ({ get: (strKey) => settings[strKey] }),
    onDidChangeConfiguration: (fn) => { onConfigurationChange = fn; return { dispose() {} }; },
    onDidChangeWorkspaceFolders: () => ({ dispose() {} }),
  },
  window: {
    showErrorMessage: (strMessage) => shown.push(strMessage),
    createOutputChannel: (strName) => {
      const channel = { strName, lines: [], appendLine(strLine) { this.lines.push(strLine); }, append(strText) {
        this.lines.push(strText);
      }, dispose() {} };
      channels.push(channel);
      return channel;
    },
    createStatusBarItem: () => {
      const item = { shown: false, show() { this.shown = true; }, dispose() {} };
      items.push(item);
      return item;
    },
  },
  StatusBarAlignment: { Left: 1, Right: 2 },
  ThemeColor: class { constructor(strId) { this.strId = strId; } },
  commands: { registerCommand: (strId, fn) => { commands[strId] = fn; return { dispose() {} }; } },
};
class LanguageClient {
  constructor(strId, strName, server, options) {
    Object.assign(this, { strId, server, options, nStarts: 0, nDisposes: 0, stateHandlers: [], requests: {},
                          progress: {} });
    clients.push(this);
  }
  async start() {
    ++this.nStarts;
    if (bNextStartFails) {
      // As a server that refuses its command line: its words, then the client's error.
      bNextStartFails = false;
      this.options.outputChannel.append("nimbo lsp: unknown option '--stdio'\n");
      throw new Error("Pending response rejected since connection got disposed");
    }
    this.SetState(State.Starting);
    this.SetState(State.Running);
  }
  async dispose() {
    ++this.nDisposes;
    this.SetState(State.Stopped);
  }
  onDidChangeState(fn) { this.stateHandlers.push(fn); }
  onRequest(strMethod, fn) { this.requests[strMethod] = fn; }
  onProgress(type, token, fn) { this.progress[token] = fn; }
  SetState(newState) { for (const fn of this.stateHandlers) fn({ newState }); }
}
const stubs = { vscode, "vscode-languageclient/node": { LanguageClient, TransportKind: { stdio: 0 }, State,
                                                         WorkDoneProgress } };
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
    const status = items[0];
    assert.equal(status.text, "$(error) Nimbo: stopped");
    assert.match(status.tooltip, /ENOENT/);
    assert.equal(status.command, "nimbo.restartServer");

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
    assert.equal(client.server.run.transport, 0, "stdio: the client adds --stdio");
    assert.notEqual(fs.statSync(strServer).mode & 0o111, 0, "made runnable");
    assert.deepEqual(client.options.documentSelector.map((selector) => selector.language),
                     ["nimbo-script", "nimbo-script"]);
    assert.equal(client.options.synchronize.configurationSection, "nimbo");
    // The options are read when the client initialises, from the settings then.
    const options = client.options.initializationOptions();
    assert.equal(options.programs, "/work/app/Programs");
    assert.deepEqual(options.excludeFolders, ["old"]);
    assert.equal(options.diagnostics.unknownFunction, "off");
    assert.equal(status.text, "$(check) Nimbo");

    // The index's progress, then its end.
    client.requests["window/workDoneProgress/create"]({ token: "t1" });
    client.progress.t1({ kind: "begin", title: "Reading", message: "0/40 files" });
    client.progress.t1({ kind: "report", message: "12/40 files" });
    assert.equal(status.text, "$(sync~spin) Nimbo: indexing 12/40");
    client.progress.t1({ kind: "end", message: "40 files, 7 functions" });
    assert.equal(status.text, "$(check) Nimbo");
    assert.match(status.tooltip, /ready \(40 files, 7 functions\)/);

    // A server that ends: the status says why, with the server's own words.
    client.options.outputChannel.append("nimbo lsp: something broke\n");
    client.options.outputChannel.appendLine("[Error - 10:00:00] Connection to server is erroring.");
    client.options.outputChannel.appendLine("write EPIPE");
    client.SetState(State.Stopped);
    assert.equal(status.text, "$(error) Nimbo: stopped");
    assert.match(status.tooltip, /stopped: nimbo lsp: something broke/);
    assert.ok(channels[0].lines.includes("nimbo lsp: something broke\n"), "the channel still gets every line");

    // A severity reaches the running server, with no restart; a folder
    // restarts it, and the old client is not sent the change.
    const Sent = (strClient) => client.options.middleware.workspace.didChangeConfiguration(["nimbo"], async () => strClient);
    await Change("nimbo.diagnostics.unknownFunction");
    assert.equal(await Sent("sent"), "sent");
    assert.equal(clients.length, 1);
    await Change("nimbo.excludeFolders");
    assert.equal(await Sent("sent"), undefined);
    await commands["nimbo.restartServer"]();
    assert.equal(client.nDisposes, 1);
    assert.equal(clients.length, 3);
    assert.equal(clients[1].nDisposes, 1);
    // One "Nimbo" channel for every client; an old client's end changes nothing shown.
    assert.deepEqual(channels.map((channel) => channel.strName), ["Nimbo"]);
    client.SetState(State.Stopped);
    assert.equal(status.text, "$(check) Nimbo");
    bNextStartFails = true;
    await commands["nimbo.restartServer"]();
    assert.match(status.tooltip, /stopped: nimbo lsp: unknown option '--stdio'/);
    await extension.deactivate();
    assert.equal(clients[3].nDisposes, 1);
    assert.equal(shown.length, 0);
  } finally {
    fs.rmSync(strExtension, { recursive: true, force: true });
  }
});
