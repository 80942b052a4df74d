// The Nimbo extension: starts `nimbo lsp` for the workspace's scripts and
// starts it again when a setting that the server reads only at start-up
// changes. Diagnostic severities reach a running server through
// workspace/didChangeConfiguration. One "Nimbo" output channel and one
// status item serve every start; each restart disposes of the old client.
"use strict";
const vscode = require("vscode");
const { LanguageClient, TransportKind, State, WorkDoneProgress } = require("vscode-languageclient/node");
const launch = require("./launch");
const { CServerStatus } = require("./status");

const kRestartSettings = ["nimbo.serverPath", "nimbo.programsFolder", "nimbo.projectFolders", "nimbo.excludeFolders"];

let client = null;
// Clients about to be replaced: a settings change that restarts the server
// is not sent to the old one as well (it would be stopping meanwhile, and
// the client would report the failed send).
const retiring = new WeakSet();
let output = null;
let status = null;
// Start and stop run one after the other: a restart asked for while the
// server starts waits for the start, never runs beside it.
let queue = Promise.resolve();

function Settings() {
  const config = vscode.workspace.getConfiguration("nimbo");
  return {
    serverPath: config.get("serverPath"),
    programsFolder: config.get("programsFolder"),
    projectFolders: config.get("projectFolders"),
    excludeFolders: config.get("excludeFolders"),
    diagnostics: config.get("diagnostics"),
    workspaceDiagnostics: config.get("workspaceDiagnostics"),
  };
}

function WorkspaceFolder() {
  const folders = vscode.workspace.workspaceFolders;
  return folders && folders.length > 0 && folders[0].uri.scheme === "file" ? folders[0].uri.fsPath : "";
}

// The output channel as the client writes to it, with the last line of the
// server's standard error kept: why a server that would not start stopped.
// The client passes the server's output through append(), its own messages
// through appendLine().
function RememberingChannel(channel) {
  return new Proxy(channel, {
    get(target, key) {
      if (key === "append")
        return (strText) => {
          status.NoteOutput(String(strText));
          target[key](strText);
        };
      const value = target[key];
      return typeof value === "function" ? value.bind(target) : value;
    },
  });
}

async function Start(extensionContext) {
  const settings = Settings();
  const strWorkspace = WorkspaceFolder();
  const context = launch.CurrentContext(extensionContext.extensionPath);
  const server = launch.ServerLaunch(settings, strWorkspace, context);
  const strProblem = server.error || launch.EnsureRunnable(server.command, context.platform);
  if (strProblem) {
    status.Stopped(strProblem);
    vscode.window.showErrorMessage(`Nimbo: ${strProblem}`);
    return;
  }
  const executable = { command: server.command, args: server.args, options: { env: server.env },
                       transport: TransportKind.stdio };
  const started = new LanguageClient("nimbo", "Nimbo", { run: executable, debug: executable }, {
    documentSelector: [{ scheme: "file", language: "nimbo-script" }, { scheme: "untitled", language: "nimbo-script" }],
    initializationOptions: () => launch.InitializationOptions(Settings(), WorkspaceFolder(), context),
    synchronize: { configurationSection: "nimbo" },
    outputChannel: RememberingChannel(output),
    middleware: {
      workspace: {
        didChangeConfiguration: (sections, next) => (retiring.has(started) ? Promise.resolve() : next(sections)),
      },
      // A call inserted with its "(" goes on with the tip of its arguments.
      async provideCompletionItem(document, position, completionContext, token, next) {
        return launch.WithParameterHints(await next(document, position, completionContext, token));
      },
    },
  });
  client = started;
  status.Watch(started, State);
  try {
    await started.start();
  } catch (error) {
    status.Failed(error && error.message ? error.message : String(error));
    return;
  }
  status.Follow(started, WorkDoneProgress);
}

async function Stop() {
  const stopping = client;
  client = null;
  // dispose() stops a running server and lets go of everything the client
  // made (its handlers, its process); the output channel is ours and stays.
  if (stopping) await stopping.dispose().catch(() => undefined);
}

function Restart(extensionContext) {
  queue = queue.then(async () => {
    await Stop();
    await Start(extensionContext);
  });
  return queue;
}

async function activate(extensionContext) {
  output = vscode.window.createOutputChannel("Nimbo");
  status = new CServerStatus(vscode);
  extensionContext.subscriptions.push(
    output,
    status,
    // Registered before any client's own listener, so it runs first.
    vscode.workspace.onDidChangeConfiguration((event) => {
      if (!kRestartSettings.some((strSetting) => event.affectsConfiguration(strSetting))) return undefined;
      if (client) retiring.add(client);
      return Restart(extensionContext);
    }),
    vscode.workspace.onDidChangeWorkspaceFolders(() => Restart(extensionContext)),
    vscode.commands.registerCommand("nimbo.restartServer", () => Restart(extensionContext)));
  await Restart(extensionContext);
}

function deactivate() {
  queue = queue.then(Stop);
  return queue;
}

module.exports = { activate, deactivate };
