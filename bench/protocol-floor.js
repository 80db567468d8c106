#!/usr/bin/env node
// The floor under a warm, isolated picture: the same browser, launched with the plug-in's
// switches through tools/chromium-headless, driven over the same pipe with nothing of ondrel's,
// by the fewest protocol calls that make an isolated picture. Each picture gets a fresh context
// and a blank page asked for before its clock starts; then, on the clock: the page attached, its
// events enabled, its viewport set, the document loaded, the PNG screenshot. Two ways:
//   paused         a pause before each picture, as a person flipping through pictures
//   back to back   no pause: the next page is made ready while nothing else happens, as the
//                  plug-in does, but it is not on the clock
// and, for the back-to-back run, the processor time each kind of browser process spent per
// picture (from /proc, so Linux only), which bounds how many pictures two cores can make.
//
// Usage: bench/protocol-floor.js PAGE [PICTURES] [PAUSE_MS]   (defaults: 30, 500)
"use strict";
const {spawn, execFileSync} = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const {pathToFileURL} = require("url");

const [page, pictures = "30", pauseMs = "500"] = process.argv.slice(2);
if (!page || !(+pictures >= 3) || !(+pauseMs >= 0)) {
  console.error("usage: bench/protocol-floor.js PAGE [PICTURES] [PAUSE_MS]");
  process.exit(2);
}
const url = pathToFileURL(path.resolve(page)).href;
const wrapper = path.join(__dirname, "..", "tools", "chromium-headless");

// The switches the plug-in's DevTools engine launches its browser with.
function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "ondrel-floor-"));
  const browser = spawn(wrapper, [
    "--headless", "--remote-debugging-pipe", `--user-data-dir=${profile}`, "--no-first-run",
    "--no-default-browser-check", "--disable-gpu-vsync", "--disable-frame-rate-limit",
    "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup,SpareRendererForSitePerProcess",
    "--hide-scrollbars", "about:blank",
  ], {stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"]});
  return {browser, profile};
}

// Messages over the pipe: answers by id, events to whoever waits for them.
function connect(browser) {
  const toBrowser = browser.stdio[3];
  let nextId = 0;
  let pending = "";
  const answers = new Map();
  const waiters = [];
  browser.stdio[4].on("data", (chunk) => {
    pending += chunk;
    for (let end; (end = pending.indexOf("\0")) >= 0;) {
      const message = JSON.parse(pending.slice(0, end));
      pending = pending.slice(end + 1);
      if (message.id !== undefined && answers.has(message.id)) {
        answers.get(message.id)(message);
        answers.delete(message.id);
        continue;
      }
      const waiter = waiters.findIndex((w) => w.method === message.method &&
                                              w.sessionId === message.sessionId);
      if (waiter >= 0) waiters.splice(waiter, 1)[0].resolve(message);
    }
  });
  const call = (method, params = {}, sessionId = undefined) => new Promise((resolve, reject) => {
    const id = ++nextId;
    answers.set(id, (m) => (m.error ? reject(new Error(`${method}: ${m.error.message}`))
                                    : resolve(m.result)));
    toBrowser.write(JSON.stringify({id, method, params, sessionId}) + "\0");
  });
  const event = (method, sessionId) => new Promise((resolve) => {
    waiters.push({method, sessionId, resolve});
  });
  return {call, event};
}

// Processor ticks so far of each kind of process under `root`, those that have ended included.
function processorTicks(root) {
  const processes = new Map();
  for (const pid of fs.readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
    try {
      // Chromium retitles its other processes: their arguments are then parted by spaces.
      const command = fs.readFileSync(`/proc/${pid}/cmdline`, "utf8").split(/[\0 ]/);
      const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" ");
      processes.set(Number(pid), {command, parent: Number(fields[1]), fields});
    } catch {
      // It ended meanwhile; its parent counts its time.
    }
  }
  const under = (pid) => {
    for (let p = pid; p > 1 && processes.has(p); p = processes.get(p).parent) {
      if (p === root) return true;
    }
    return false;
  };
  const ticks = {};
  for (const [pid, {command, fields}] of processes) {
    if (!under(pid) || !command[0].endsWith("/chromium")) continue;
    const type = (command.find((a) => a.startsWith("--type=")) || "--type=browser").slice(7);
    const used = [11, 12, 13, 14].reduce((sum, i) => sum + Number(fields[i]), 0);
    ticks[type] = (ticks[type] || 0) + used;
  }
  return ticks;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const now = () => performance.now();
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

async function main() {
  const {browser, profile} = launch();
  // Its profile is removed once the browser has gone, not while it may still write there.
  const ended = new Promise((resolve) => browser.on("exit", resolve));
  const {call, event} = connect(browser);
  await call("Browser.getVersion");
  const ready = async () => {
    const {browserContextId} = await call("Target.createBrowserContext", {disposeOnDetach: true});
    const {targetId} = await call("Target.createTarget", {url: "about:blank", browserContextId});
    return {browserContextId, targetId};
  };
  const picture = async ({browserContextId, targetId}) => {
    const start = now();
    const {sessionId} = await call("Target.attachToTarget", {targetId, flatten: true});
    await call("Page.enable", {}, sessionId);
    await call("Emulation.setDeviceMetricsOverride",
               {width: 640, height: 480, deviceScaleFactor: 1, mobile: false}, sessionId);
    const loaded = event("Page.loadEventFired", sessionId);
    await call("Page.navigate", {url}, sessionId);
    await loaded;
    await call("Page.captureScreenshot", {format: "png", optimizeForSpeed: true}, sessionId);
    const took = now() - start;
    await call("Target.disposeBrowserContext", {browserContextId});
    return took;
  };
  const run = async (pause) => {
    const times = [];
    let next = await ready();
    for (let n = 0; n < +pictures; ++n) {
      if (pause > 0) await sleep(pause);
      times.push(await picture(next));
      next = await ready();
    }
    await call("Target.disposeBrowserContext", {browserContextId: next.browserContextId});
    return median(times.slice(1));
  };
  await run(0);  // warms the browser
  const paused = await run(+pauseMs);
  const before = processorTicks(browser.pid);
  const started = now();
  const backToBack = await run(0);
  const perPicture = (now() - started) / +pictures;
  const after = processorTicks(browser.pid);
  await call("Browser.close");
  await ended;
  fs.rmSync(profile, {recursive: true, force: true});

  const version = execFileSync("/usr/bin/chromium", ["--version"], {stdio: ["ignore", "pipe", "ignore"]})
                      .toString()
                      .trim();
  console.log(`${path.basename(page)}, ${pictures} pictures a run, ${version}, ` +
              `${os.cpus().length} cores`);
  console.log(`after a ${pauseMs} ms pause      ${(paused / 1000).toFixed(3)} s`);
  console.log(`back to back, on the clock  ${(backToBack / 1000).toFixed(3)} s`);
  console.log(`back to back, whole cycle   ${(perPicture / 1000).toFixed(3)} s`);
  const hertz = 100;
  const spent = Object.keys(after).map((type) => [type, (after[type] - (before[type] || 0)) /
                                                         hertz / +pictures])
                    .filter(([, seconds]) => seconds > 0.0005)
                    .sort((a, b) => b[1] - a[1]);
  const total = spent.reduce((sum, [, seconds]) => sum + seconds, 0);
  console.log(`processor s per picture     ${total.toFixed(3)} (` +
              spent.map(([type, seconds]) => `${type} ${seconds.toFixed(3)}`).join(", ") + ")");
}

main().catch((error) => {
  console.error(`protocol-floor: ${error.message}`);
  process.exit(1);
});
