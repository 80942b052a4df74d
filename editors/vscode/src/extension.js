// The Nimbo extension: starts `nimbo lsp` for the workspace's scripts and
// starts it again when a setting that the server reads only at start-up
// changes. Diagnostic severities reach a running server through
// workspace/didChangeConfiguration.
"use strict";
const vscode = require("vscode");
const { LanguageClient, TransportKind } = require("vscode-languageclient/node");
const launch = require("./launch");

const kRestartSettings = ["nimbo.serverPath", "nimbo.programsFolder", "nimbo.projectFolders", "nimbo.excludeFolders"];

let client = null;

function Settings() {
  const config = vscode.workspace.getConfiguration("nimbo");
  return {
    serverPath: config.get("serverPath"),
    programsFolder: config.get("programsFolder"),
    projectFolders: config.get("projectFolders"),
    excludeFolders: config.get("excludeFolders"),
    diagnostics: config.get("diagnostics"),
  };
}

function WorkspaceFolder() {
  const folders = vscode.workspace.workspaceFolders;
  return folders && folders.length > 0 && folders[0].uri.scheme === "file" ? folders[0].uri.fsPath : "";
}

async function Start(extensionContext) {
  const settings = Settings();
  const strWorkspace = WorkspaceFolder();
  const context = launch.CurrentContext(extensionContext.extensionPath);
  const server = launch.ServerLaunch(settings, strWorkspace, context);
  const strProblem = server.error || launch.EnsureRunnable(server.command, context.platform);
  if (strProblem) {
    vscode.window.showErrorMessage(`Nimbo: ${strProblem}`);
    return;
  }
  const executable = { command: server.command, args: server.args, options: { env: server.env },
                       transport: TransportKind.stdio };
  client = new LanguageClient("nimbo", "Nimbo", { run: executable, debug: executable }, {
    documentSelector: [{ scheme: "file", language: "nimbo-script" }, { scheme: "untitled", language: "nimbo-script" }],
    initializationOptions: () => launch.InitializationOptions(Settings(), WorkspaceFolder(), context),
    synchronize: { configurationSection: "nimbo" },
  });
  await client.start();
}

async function Stop() {
  const stopping = client;
  client = null;
  if (stopping) await stopping.stop();
}

async function activate(extensionContext) {
  extensionContext.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (!kRestartSettings.some((strSetting) => event.affectsConfiguration(strSetting))) return;
      await Stop();
      await Start(extensionContext);
    }),
    vscode.commands.registerCommand("nimbo.restartServer", async () => {
      await Stop();
      await Start(extensionContext);
    }));
  await Start(extensionContext);
}

function deactivate() {
  return Stop();
}

module.exports = { activate, deactivate };
