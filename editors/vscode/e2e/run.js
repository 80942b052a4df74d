#!/usr/bin/env node
// The extension in a real VS Code (code-server) driven through Chromium, as
// a user works with it: it installs the .vsix, opens a copy of the samples
// and checks what the editor's own UI shows. Each check waits for the UI
// state it looks for (up to kWait); a check that fails leaves a screenshot
// and the editor's logs under --out, and the run stops there.
// Ends with "N passed, N failed".
//
// Usage: run.js --vsix FILE --samples DIR --out DIR
"use strict";
const { spawn, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const http = require("node:http");
const net = require("node:net");
const os = require("node:os");
const path = require("node:path");
const { chromium } = require("playwright-core");

const kWait = 60000;
const kCodeServer = path.join(__dirname, "node_modules", "code-server", "out", "node", "entry.js");
const kChromiumFlags = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                        "--disable-background-networking", "--disable-component-update", "--disable-sync"];

function Arguments() {
  const args = {};
  for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
  for (const strName of ["vsix", "samples", "out"])
    if (!args[strName]) throw new Error(`run.js: --${strName} is needed (usage: run.js --vsix FILE --samples DIR --out DIR)`);
  return args;
}

function FreePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on("error", reject);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function WaitForHttp(strUrl, child) {
  const nUntil = Date.now() + kWait;
  while (Date.now() < nUntil) {
    if (child.exitCode !== null) throw new Error(`code-server ended with status ${child.exitCode}`);
    const bUp = await new Promise((resolve) => {
      http.get(strUrl, (response) => { response.resume(); resolve(response.statusCode === 200); })
        .on("error", () => resolve(false));
    });
    if (bUp) return;
    await new Promise((resolve) => setTimeout(resolve, 250));
  }
  throw new Error(`code-server did not answer at ${strUrl}`);
}

// The run's folders, a copy of the samples with a script that calls a
// function of another folder, and a user profile that keeps the typing in
// the editor (no auto-save, no closing brackets typed for us).
function Prepare(args) {
  const strTemp = fs.mkdtempSync(path.join(os.tmpdir(), "nimbo-e2e-"));
  const dirs = { temp: strTemp, data: path.join(strTemp, "data"), extensions: path.join(strTemp, "extensions"),
                 project: path.join(strTemp, "project"), shared: path.join(strTemp, "shared"),
                 home: path.join(strTemp, "home"), chromium: path.join(strTemp, "chromium") };
  for (const strDir of Object.values(dirs)) fs.mkdirSync(strDir, { recursive: true });
  fs.cpSync(args.samples, dirs.project, { recursive: true });
  fs.writeFileSync(path.join(dirs.shared, "tax.nsc"), "// Shared by several projects.\nfunction number TaxOf(nCents) {\n" +
                   "  return nCents / 5;\n}\nfunction number TaxRounded(nCents) {\n  return LookUpRate(TaxOf(nCents));\n}\n");
  return dirs;
}

const kBaseSettings = {
  "files.autoSave": "off",
  "editor.autoClosingBrackets": "never",
  "editor.autoClosingQuotes": "never",
  "editor.quickSuggestions": { other: "off", comments: "off", strings: "off" },
  "editor.suggestOnTriggerCharacters": false,
  "editor.hover.enabled": true,
  "security.workspace.trust.enabled": false,
  "workbench.startupEditor": "none",
  "workbench.tips.enabled": false,
  "workbench.enableExperiments": false,
  "extensions.autoCheckUpdates": false,
  "extensions.autoUpdate": false,
  "extensions.ignoreRecommendations": true,
  "update.mode": "none",
  "telemetry.telemetryLevel": "off",
  "git.enabled": false,
};

function WriteSettings(dirs, extra) {
  const strUser = path.join(dirs.data, "User");
  fs.mkdirSync(strUser, { recursive: true });
  fs.writeFileSync(path.join(strUser, "settings.json"), JSON.stringify({ ...kBaseSettings, ...extra }, null, 2));
}

class CRun {
  constructor(strOut) {
    this.m_strOut = strOut;
    this.m_nPassed = 0;
    this.m_nFailed = 0;
    this.m_page = null;
  }

  async Step(strName, fn) {
    try {
      await fn();
      ++this.m_nPassed;
      console.log(`ok - ${strName}`);
    } catch (error) {
      ++this.m_nFailed;
      console.log(`not ok - ${strName}: ${String(error && error.message || error).split("\n")[0]}`);
      if (this.m_page) await this.m_page.screenshot({ path: path.join(this.m_strOut, "failure.png") }).catch(() => {});
      throw error;
    }
  }
}

// Text of the first element of a selector, "" when there is none.
async function TextOf(page, strSelector) {
  return (await page.locator(strSelector).first().textContent({ timeout: 1000 }).catch(() => "")) || "";
}

async function WaitFor(page, strWhat, fnCheck, nTimeout = kWait) {
  const nUntil = Date.now() + nTimeout;
  let lastError = null;
  while (Date.now() < nUntil) {
    try {
      if (await fnCheck()) return;
    } catch (error) {
      lastError = error;
    }
    await page.waitForTimeout(200);
  }
  throw new Error(`timed out waiting for ${strWhat}${lastError ? ` (${lastError.message})` : ""}`);
}

// Quick Open (Ctrl+P), tried again while the file's tab has not come: the
// list may still show what it had before the name was typed.
async function OpenFile(page, strName) {
  await WaitFor(page, `the tab of ${strName}`, async () => {
    if ((await TextOf(page, ".tab.active")).includes(strName)) return true;
    await page.keyboard.press("Escape");
    await page.keyboard.press("Control+P");
    await page.locator(".quick-input-widget input").waitFor({ state: "visible", timeout: kWait });
    await page.keyboard.type(strName);
    await page.locator(".quick-input-list .monaco-list-row.focused", { hasText: strName }).first()
      .waitFor({ state: "visible", timeout: kWait });
    await page.keyboard.press("Enter");
    await page.locator(".tab.active", { hasText: strName }).waitFor({ state: "visible", timeout: 5000 }).catch(() => {});
    return (await TextOf(page, ".tab.active")).includes(strName);
  });
  await page.locator(".monaco-editor.focused").waitFor({ state: "visible", timeout: kWait });
}

async function GoTo(page, nLine, nColumn) {
  await page.keyboard.press("Control+G");
  await page.locator(".quick-input-widget input").waitFor({ state: "visible", timeout: kWait });
  await page.keyboard.type(`${nLine}:${nColumn}`);
  await page.keyboard.press("Enter");
  await WaitFor(page, `the caret at ${nLine}:${nColumn}`, async () =>
    /Ln (\d+), Col (\d+)/.exec(await TextOf(page, '[id="status.editor.selection"]'))?.slice(1).join(":") ===
      `${nLine}:${nColumn}`);
}

// Changes settings as a user does in settings.json, in the editor (a file
// written behind the editor's back is not always seen at once). The user's
// settings, or with bMachine the machine's ("Remote" in a browser's VS Code,
// where a machine-scoped setting such as nimbo.serverPath is taken only).
async function SetSettings(page, settings, bMachine = false) {
  const strCommand = bMachine ? "Preferences: Open Remote Settings (JSON)" : "Preferences: Open User Settings (JSON)";
  await page.keyboard.press("F1");
  await page.locator(".quick-input-widget input").waitFor({ state: "visible", timeout: kWait });
  await page.keyboard.type(strCommand);
  await page.locator(".quick-input-list .monaco-list-row", { hasText: strCommand.replace("Preferences: ", "") }).first()
    .waitFor({ state: "visible", timeout: kWait });
  await page.keyboard.press("Enter");
  await WaitFor(page, "settings.json in the active tab", async () =>
    (await TextOf(page, ".tab.active")).includes("settings.json"));
  await page.locator(".monaco-editor.focused").waitFor({ state: "visible", timeout: kWait });
  await page.keyboard.press("Control+A");
  await page.keyboard.insertText(JSON.stringify(settings, null, 2));
  await page.keyboard.press("Control+S");
  await page.locator(".tab.active:not(.dirty)", { hasText: "settings.json" }).waitFor({ state: "visible", timeout: kWait });
  await page.keyboard.press("Control+W");
}
const SetUserSettings = (page, extra) => SetSettings(page, { ...kBaseSettings, ...extra });

// Whether a process of this machine has a command line that holds every
// one of texts.
function ProcessRuns(...texts) {
  return fs.readdirSync("/proc").filter((strName) => /^\d+$/.test(strName)).some((strPid) => {
    try {
      const strLine = fs.readFileSync(`/proc/${strPid}/cmdline`, "utf8");
      return texts.every((strText) => strLine.includes(strText));
    } catch (error) {
      return false;  // gone meanwhile
    }
  });
}

const kStatus = '[aria-label^="Nimbo language server"]';
async function WaitForServer(page, strWhat) {
  await WaitFor(page, `the server ${strWhat}`, async () =>
    ((await page.locator(kStatus).first().getAttribute("aria-label", { timeout: 1000 })) || "")
      .startsWith(`Nimbo language server: ${strWhat}`));
}

const kHints = ".parameter-hints-widget";
async function ActiveParameter(page) {
  if (!(await page.locator(kHints).first().isVisible())) return "";
  return (await TextOf(page, `${kHints} .signature .parameter.active`)).trim();
}

async function ProblemsText(page) {
  return TextOf(page, ".markers-panel");
}

async function main() {
  const args = Arguments();
  fs.mkdirSync(args.out, { recursive: true });
  for (const strOld of ["failure.png", "tip.png", "problems.png", "logs"])
    fs.rmSync(path.join(args.out, strOld), { recursive: true, force: true });
  const dirs = Prepare(args);
  const run = new CRun(args.out);
  const env = { ...process.env, HOME: dirs.home, XDG_CONFIG_HOME: path.join(dirs.home, ".config"),
                XDG_DATA_HOME: path.join(dirs.home, ".local", "share") };
  delete env.NIMBO_PROGRAMS;
  delete env.VSCODE_IPC_HOOK_CLI;
  WriteSettings(dirs, {});
  const strConfig = path.join(dirs.temp, "code-server.yaml");
  fs.writeFileSync(strConfig, "auth: none\ncert: false\n");
  const common = ["--config", strConfig, "--user-data-dir", dirs.data, "--extensions-dir", dirs.extensions];
  let server = null;
  let context = null;
  try {
    await run.Step("the .vsix installs", async () => {
      const result = spawnSync(process.execPath, [kCodeServer, ...common, "--install-extension", args.vsix],
                               { env, encoding: "utf8", timeout: kWait * 2 });
      if (result.status !== 0) throw new Error(`--install-extension: ${(result.stderr || result.stdout || "").trim()}`);
    });
    const [strExtension] = fs.readdirSync(dirs.extensions).filter((strName) => strName.startsWith("nimbo.nimbo-"));
    const strWin32Server = path.join(dirs.extensions, strExtension || "", "server", "win32", "bin", "nimbo.exe");

    const nPort = await FreePort();
    const log = fs.openSync(path.join(args.out, "code-server.log"), "w");
    server = spawn(process.execPath, [kCodeServer, ...common, "--auth", "none", "--bind-addr", `127.0.0.1:${nPort}`,
                                      "--disable-telemetry", "--disable-update-check", "--disable-workspace-trust",
                                      "--disable-getting-started-override", dirs.project],
                   { env, stdio: ["ignore", log, log], detached: true });
    await WaitForHttp(`http://127.0.0.1:${nPort}/healthz`, server);
    context = await chromium.launchPersistentContext(dirs.chromium, {
      executablePath: "/usr/bin/chromium", headless: true, args: kChromiumFlags, viewport: { width: 1280, height: 800 } });
    const page = context.pages()[0] || (await context.newPage());
    run.m_page = page;
    await page.goto(`http://127.0.0.1:${nPort}/?folder=${encodeURIComponent(dirs.project)}`);
    await page.locator(".monaco-workbench").waitFor({ state: "visible", timeout: kWait * 2 });

    const strMain = fs.readFileSync(path.join(dirs.project, "main.nsc"), "utf8").split("\n");
    await run.Step("main.nsc opens as a Nimbo script", async () => {
      await page.locator(".monaco-workbench .part.editor").waitFor({ state: "visible", timeout: kWait });
      await OpenFile(page, "main.nsc");
      await WaitFor(page, "the language mode", async () =>
        (await TextOf(page, '[id="status.editor.mode"]')).includes("Nimbo Script"));
    });
    await run.Step("the language server starts and is ready", () => WaitForServer(page, "ready"));

    // New lines at the end of main.nsc, typed as a user types them.
    await run.Step("typing StrMid( shows its signature with szText marked; \",\" moves the mark", async () => {
      await page.keyboard.press("Control+End");
      await page.keyboard.press("Enter");
      await page.keyboard.type("StrMid(", { delay: 30 });
      await WaitFor(page, "the tip on szText", async () => (await ActiveParameter(page)) === "szText");
      if (!(await TextOf(page, kHints)).includes("StrMid(szText, nStart, nCount)"))
        throw new Error(`the tip shows ${await TextOf(page, kHints)}`);
      await page.keyboard.type('"abc",', { delay: 30 });
      await WaitFor(page, "the tip on nStart", async () => (await ActiveParameter(page)) === "nStart");
      const box = await page.locator(".monaco-editor.focused").first().boundingBox();
      await page.screenshot({ path: path.join(args.out, "tip.png"),
                              clip: { x: box.x, y: Math.max(box.y, box.y + box.height - 260), width: Math.min(box.width, 760),
                                      height: Math.min(box.height, 260) } });
      await page.keyboard.type(" 1, 2);", { delay: 30 });
      await page.keyboard.press("Escape");
    });

    await run.Step("Ctrl+Space lists StrLeft for strl; accepting it opens its tip", async () => {
      await page.keyboard.press("Enter");
      await page.keyboard.type("strl", { delay: 30 });
      await page.keyboard.press("Control+Space");
      const row = page.locator(".suggest-widget .monaco-list-row", { hasText: "StrLeft" }).first();
      await row.waitFor({ state: "visible", timeout: kWait });
      // The list is ranked by the server (StrLen may come first): go down to it.
      await WaitFor(page, "StrLeft focused in the list", async () => {
        if ((await TextOf(page, ".suggest-widget .monaco-list-row.focused")).includes("StrLeft")) return true;
        await page.keyboard.press("ArrowDown");
        return false;
      }, 20000);
      await page.keyboard.press("Enter");
      await WaitFor(page, "the tip of StrLeft", async () =>
        (await TextOf(page, kHints)).includes("StrLeft(") && (await ActiveParameter(page)) === "szText");
      // The line made whole again, whatever the snippet left.
      await page.keyboard.press("Escape");
      await page.keyboard.press("Escape");
      await page.keyboard.press("End");
      await page.keyboard.press("Shift+Home");
      await page.keyboard.type('StrLeft("abc", 2);', { delay: 30 });
      await page.keyboard.press("Escape");
      await page.keyboard.press("Enter");
      await page.keyboard.type("TaxOf(1);", { delay: 30 });
      await page.keyboard.press("Escape");
    });

    await run.Step("the Problems panel shows the AskYesNo warning", async () => {
      await page.keyboard.press("Control+Shift+M");
      await page.locator(".markers-panel").waitFor({ state: "visible", timeout: kWait });
      await WaitFor(page, "AskYesNo and TaxOf in the Problems panel", async () => {
        const strText = await ProblemsText(page);
        return strText.includes("AskYesNo") && strText.includes("TaxOf");
      });
      await page.locator(".part.panel").first().screenshot({ path: path.join(args.out, "problems.png") });
    });

    await run.Step("F12 on FormatMoney opens money.nsc; its hover links to the definition", async () => {
      const nLine = strMain.findIndex((strLine) => strLine.includes("FormatMoney(TotalDue"));
      await page.locator(".monaco-editor .view-lines").first().click();
      await GoTo(page, nLine + 1, strMain[nLine].indexOf("FormatMoney(") + 3);
      await page.keyboard.press("F12");
      await WaitFor(page, "money.nsc in the active tab", async () => (await TextOf(page, ".tab.active")).includes("money.nsc"));
      // The hover at the caret (Ctrl+K Ctrl+I), asked again while it has not
      // come: a chord pressed while the new editor takes the focus is lost.
      const link = page.locator('.monaco-hover a[data-href*="money.nsc#L6"]').first();
      await WaitFor(page, "the hover's link to money.nsc line 6", async () => {
        if (await link.isVisible()) return true;
        await page.keyboard.press("Control+K");
        await page.keyboard.press("Control+I");
        await link.waitFor({ state: "visible", timeout: 3000 }).catch(() => {});
        return link.isVisible();
      });
      if (!(await link.textContent()).includes("money.nsc line 6")) throw new Error(`the link says ${await link.textContent()}`);
      await page.keyboard.press("Escape");
    });

    await run.Step("a severity set to off takes its problem away at once", async () => {
      await SetUserSettings(page, { "nimbo.diagnostics.hiddenByBuiltin": "off" });
      await WaitFor(page, "AskYesNo gone, TaxOf still listed", async () => {
        const strText = await ProblemsText(page);
        return !strText.includes("AskYesNo") && strText.includes("TaxOf");
      });
    });

    await run.Step("nimbo.projectFolders makes a function of another folder known, and lists its closed script's problem", async () => {
      await SetUserSettings(page, { "nimbo.diagnostics.hiddenByBuiltin": "off", "nimbo.projectFolders": [dirs.shared] });
      await WaitForServer(page, "ready (4 files");
      await OpenFile(page, "main.nsc");
      await WaitFor(page, "TaxOf gone from the Problems panel", async () => !(await ProblemsText(page)).includes("TaxOf"));
      // tax.nsc is never opened: its problem comes from its file.
      await WaitFor(page, "the closed tax.nsc's LookUpRate in the Problems panel", async () =>
        (await ProblemsText(page)).includes("LookUpRate"));
      await page.keyboard.press("Control+End");
      await page.keyboard.press("ArrowLeft");
      await page.keyboard.press("ArrowLeft");
      await page.keyboard.press("Control+Shift+Space");
      await WaitFor(page, "the tip of TaxOf", async () => (await TextOf(page, kHints)).includes("TaxOf(nCents)"));
      await page.keyboard.press("Escape");
    });

    await run.Step("a Programs folder the server cannot use is shown as a notification", async () => {
      await SetUserSettings(page, { "nimbo.programsFolder": path.join(dirs.temp, "nowhere") });
      const toast = page.locator(".notification-toast", { hasText: "funcwiz.ini cannot be read" });
      await toast.first().waitFor({ state: "visible", timeout: kWait });
      await WaitForServer(page, "ready (3 files");
      if ((await toast.count()) !== 1) throw new Error(`${await toast.count()} notifications`);
      await SetUserSettings(page, {});
      await WaitForServer(page, "ready (3 files");
    });

    await run.Step("a server that cannot start: the status item says why; a click starts it again", async () => {
      const strServer = path.join(dirs.temp, "nimbo-server");
      fs.writeFileSync(strServer, "#!/bin/sh\necho 'nimbo lsp: refused for the test' >&2\nexit 2\n", { mode: 0o755 });
      await SetSettings(page, { "nimbo.serverPath": strServer }, true);
      await WaitForServer(page, "stopped: nimbo lsp: refused for the test");
      const strLinuxServer = path.join(dirs.extensions, strExtension, "server", "linux-x64", "bin", "nimbo");
      fs.writeFileSync(strServer, `#!/bin/sh\nexec '${strLinuxServer}' "$@"\n`, { mode: 0o755 });
      await page.locator(kStatus).first().click();
      await WaitForServer(page, "ready (3 files");
    });

    if (!fs.existsSync(strWin32Server) || spawnSync("wine", ["--version"]).status !== 0) {
      console.log(`skip - the win32 server: ${fs.existsSync(strWin32Server) ? "wine is not installed"
        : "not in the .vsix (build/win32 is not built: scripts/test-windows.sh builds it)"}`);
    } else {
      await run.Step("the win32 server under Wine, started by the same client code, serves the tip", async () => {
        const strWrapper = path.join(dirs.temp, "nimbo-wine");
        fs.writeFileSync(strWrapper, `#!/bin/sh\nexec wine '${strWin32Server}' "$@"\n`, { mode: 0o755 });
        await SetSettings(page, { "nimbo.serverPath": strWrapper }, true);
        // The bundled nimbo.exe of this run (under Wine its path may be the
        // Windows one, Z:\\tmp\\...); the status is that server's from then on.
        await WaitFor(page, "this run's nimbo.exe running", async () =>
          ProcessRuns(path.basename(dirs.temp), "nimbo.exe", "lsp"));
        await WaitForServer(page, "ready (3 files");
        await page.keyboard.press("Control+End");
        await page.keyboard.press("Enter");
        await page.keyboard.type("StrMid(", { delay: 30 });
        await WaitFor(page, "the tip on szText", async () => {
          if ((await ActiveParameter(page)) === "szText") return true;
          await page.keyboard.press("Control+Shift+Space");
          await page.locator(kHints).first().waitFor({ state: "visible", timeout: 3000 }).catch(() => {});
          return (await ActiveParameter(page)) === "szText";
        });
        await page.keyboard.press("Escape");
      });
    }
  } catch (error) {
    // The step said what failed; keep what the editor logged.
    const strLogs = path.join(dirs.data, "logs");
    if (fs.existsSync(strLogs)) fs.cpSync(strLogs, path.join(args.out, "logs"), { recursive: true });
    // What the server itself said last (its standard error, in the "Nimbo"
    // output channel), which is most often why.
    const serverLines = fs.existsSync(strLogs) ? fs.readdirSync(strLogs, { recursive: true })
      .filter((strFile) => strFile.endsWith("Nimbo.log"))
      .flatMap((strFile) => fs.readFileSync(path.join(strLogs, strFile), "utf8").split("\n"))
      .filter((strLine) => /^nimbo\b/.test(strLine)) : [];
    if (serverLines.length > 0) console.log(`# the server said: ${serverLines[serverLines.length - 1]}`);
  } finally {
    if (context) await context.close().catch(() => {});
    if (server && server.exitCode === null) {
      try { process.kill(-server.pid, "SIGTERM"); } catch (error) { /* gone already */ }
    }
    fs.rmSync(dirs.temp, { recursive: true, force: true, maxRetries: 3 });
  }
  console.log(`vscode: ${run.m_nPassed} passed, ${run.m_nFailed} failed`);
  process.exitCode = run.m_nFailed === 0 && run.m_nPassed > 0 ? 0 : 1;
}

main().catch((error) => {
  console.error(error && error.stack || String(error));
  process.exitCode = 1;
});
