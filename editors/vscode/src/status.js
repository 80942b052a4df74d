// The status bar item of the language server: starting, indexing k/N (from
// the server's work-done progress), ready, or stopped with the reason; a
// click restarts the server. Takes the `vscode` module as a parameter, so
// that Node tests it with a stand-in.
"use strict";

const kRestartCommand = "nimbo.restartServer";

// "12/40 files" -> "12/40"; null when the message counts nothing.
function CountOf(strMessage) {
  const match = /(\d+)\/(\d+)/.exec(String(strMessage || ""));
  return match ? `${match[1]}/${match[2]}` : null;
}

class CServerStatus {
  constructor(vscode) {
    this.m_vscode = vscode;
    this.m_item = vscode.window.createStatusBarItem(vscode.StatusBarAlignment.Right, 100);
    this.m_item.name = "Nimbo";
    this.m_item.command = kRestartCommand;
    this.m_client = null;
    this.m_strLastOutput = "";
    this.m_nIndexing = 0;  // work-done progress under way
    this.m_strReady = "";
    this.Show("$(sync~spin) Nimbo", "starting");
  }

  // What the item shows now, for the tests.
  get text() { return this.m_item.text; }
  get tooltip() { return this.m_item.tooltip; }

  // strState: "ready", "stopped: why"...; the item's accessible label,
  // which screen readers (and the end-to-end test) read, begins the tooltip.
  Show(strText, strState, bError = false) {
    const strLabel = `Nimbo language server: ${strState}`;
    this.m_item.text = strText;
    this.m_item.tooltip = `${strLabel}\nClick to restart the server.`;
    this.m_item.accessibilityInformation = { label: strLabel };
    this.m_item.backgroundColor = bError ? new this.m_vscode.ThemeColor("statusBarItem.errorBackground") : undefined;
    this.m_item.show();
  }

  // Text the server wrote (its standard error): its last line is what tells
  // why it stopped.
  NoteOutput(strText) {
    for (const strLine of strText.split(/\r?\n/))
      if (strLine.trim() !== "") this.m_strLastOutput = strLine.trim();
  }

  // A client about to start: its state changes are shown until another one
  // takes its place.
  Watch(client, State) {
    this.m_client = client;
    this.m_strLastOutput = "";
    this.m_nIndexing = 0;
    this.m_strReady = "";
    this.Show("$(sync~spin) Nimbo", "starting");
    client.onDidChangeState((event) => {
      if (client !== this.m_client) return;
      if (event.newState === State.Starting) this.Show("$(sync~spin) Nimbo", "starting");
      else if (event.newState === State.Running) this.Ready();
      else if (event.newState === State.Stopped) this.Stopped(this.m_strLastOutput || "the server ended");
    });
  }

  // The running client's work-done progress (the server's index) shown as
  // "indexing k/N" instead of the window's own progress.
  Follow(client, WorkDoneProgress) {
    if (!WorkDoneProgress) return;
    client.onRequest("window/workDoneProgress/create", (params) => {
      client.onProgress(WorkDoneProgress.type, params.token, (value) => {
        if (client !== this.m_client) return;
        if (value.kind === "begin") ++this.m_nIndexing;
        if (value.kind === "end") {
          this.m_nIndexing = Math.max(0, this.m_nIndexing - 1);
          if (value.message) this.m_strReady = value.message;
          if (this.m_nIndexing === 0) this.Ready();
          return;
        }
        const strCount = CountOf(value.message);
        const strIndexing = `indexing${strCount ? " " + strCount : ""}`;
        this.Show(`$(sync~spin) Nimbo: ${strIndexing}`, `${strIndexing}${value.message ? " (" + value.message + ")" : ""}`);
      });
      return null;
    });
  }

  Ready() {
    if (this.m_nIndexing > 0) return;
    this.Show("$(check) Nimbo", `ready${this.m_strReady ? " (" + this.m_strReady + ")" : ""}`);
  }

  // The client could not start: the server's own last words say more than
  // the client's error, when there are some.
  Failed(strError) {
    this.Stopped(this.m_strLastOutput || strError);
  }

  Stopped(strReason) {
    this.Show("$(error) Nimbo: stopped", `stopped: ${strReason}`, true);
  }

  dispose() {
    this.m_item.dispose();
  }
}

module.exports = { CServerStatus, CountOf };
