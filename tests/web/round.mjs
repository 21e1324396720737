// The shared round (tests/round/steps.txt) in Debian's chromium, headless,
// against the site as served by this test's own server on 127.0.0.1, in a
// profile of its own: in a Bulgarian browser at a desktop's width and an
// English one on a 360 x 740 touch screen. After each step: the
// accessibility tree (focus and states), what the live region said, where
// each element stands and whether its middle takes a tap, and a picture.
// Then: the manifest as chromium reads it, and whether it may install the
// site; the page again with the server gone, the single file from file://,
// axe at both widths, and a fault of the engine's on the page.
// Usage: node round.mjs SITE SINGLE_FILE RECORDS ROUND WORK CHROMIUM
// (ROUND: the build's round/ folder; WORK: the test's own, with npm/ in it)
import {spawnSync} from "node:child_process";
import {existsSync, mkdirSync, readFileSync, rmSync, writeFileSync} from "node:fs";
import {createServer} from "node:http";
import {createRequire} from "node:module";
import {dirname, extname, join} from "node:path";
import {fileURLToPath, pathToFileURL} from "node:url";

const [site, singleFile, records, fresh, work, chromiumPath] = process.argv.slice(2);
const require = createRequire(join(work, "npm", "package.json"));
const {chromium} = require("playwright-core");
const axeSource = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
const here = dirname(fileURLToPath(import.meta.url));
const steps = readFileSync(join(here, "../round/steps.txt"), "utf8").split("\n")
    .map((line) => line.replace(/#.*/, "").trim().split(/\s+/)).filter((step) => step[0]);
const failures = [];
const fail = (what) => failures.push(what) && console.log(`FAIL: ${what}`);

const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".png": "image/png",
               ".woff2": "font/woff2", ".webmanifest": "application/manifest+json"};
const server = createServer((request, response) => {
    const path = join(site, decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/\/$/, "/index.html"));
    if (!path.startsWith(site) || !existsSync(path))
        return response.writeHead(404).end();
    response.writeHead(200, {"Content-Type": types[extname(path)] ?? "application/octet-stream"}).end(readFileSync(path));
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const url = `http://127.0.0.1:${server.address().port}/`;
const major = spawnSync(chromiumPath, ["--version"], {encoding: "utf8"}).stdout.match(/(\d+)\./)?.[1];

const home = join(work, "home"); // chromium's own files, never the user's
const open = async (name, options) => {
    const profile = join(work, "profiles", name);
    rmSync(profile, {recursive: true, force: true});
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: chromiumPath, timezoneId: "UTC", ...options,
        args: ["--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-first-run",
               ...(process.getuid() === 0 ? ["--no-sandbox"] : [])],
        env: {HOME: home, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home, DBUS_SESSION_BUS_ADDRESS: "disabled:", PATH: "/usr/bin:/bin"},
    });
    const page = context.pages()[0] ?? await context.newPage();
    // Anything the page itself finds wrong, a refusal of its policy included;
    // but a fault of the engine's, which the page shows (and the records have).
    page.on("pageerror", (error) => error.message === "ExitStatus" || fail(`${name}: ${error.message}`));
    page.on("console", (message) => message.type() === "error" && !message.text().startsWith("koren: фатална грешка")
                                    && fail(`${name}: ${message.text().slice(0, 300)}`));
    return {context, page};
};
const ready = (page) => page.waitForSelector("html.ready", {timeout: 15000});

// What the page shows after a step, surface by surface.
async function snapshot(page, cdp, announcedBefore) {
    const {nodes} = await cdp.send("Accessibility.getFullAXTree");
    const byId = new Map(nodes.map((node) => [node.nodeId, node]));
    const lines = [];
    // Every node a screen reader meets, but the text it has read already
    // in a name or value above it.
    const walk = (node, depth, said) => {
        const [role, name, value] = [node.role?.value, node.name?.value ?? "", node.value?.value ?? ""];
        const shown = !node.ignored && !["InlineTextBox", "LineBreak"].includes(role) && !(role === "generic" && !name) &&
                      !(role === "StaticText" && said.includes(name));
        if (shown) {
            const states = (node.properties ?? []).filter((p) => ["focused", "checked", "disabled", "readonly", "live"]
                .includes(p.name) && p.value.value !== false).map((p) => p.value.value === true ? p.name : `${p.name}=${p.value.value}`);
            lines.push(`${"  ".repeat(depth)}${role} ${JSON.stringify(name)}${states.length ? ` [${states.join(" ")}]` : ""}` +
                       (value ? ` = ${JSON.stringify(value)}` : ""));
        }
        for (const child of node.childIds ?? [])
            if (byId.has(child))
                walk(byId.get(child), depth + (shown ? 1 : 0), `${said}\n${name}\n${value}`);
    };
    walk(nodes[0], 0, "");
    const {announced, boxes} = await page.evaluate((from) => ({
        announced: window.announcedSoFar.slice(from),
        boxes: [...document.querySelectorAll("[id]")].filter((e) => /^[A-Z]\w*\d(_\d)?$/.test(e.id) && e.offsetWidth)
            .map((e) => {
                const box = e.getBoundingClientRect();
                const x = box.x + box.width / 2, y = box.y + box.height / 2;
                const hit = y < innerHeight ? document.elementFromPoint(x, y) : e; // where a tap in its middle lands
                return `${e.id} ${Math.round(box.x + scrollX)},${Math.round(box.y + scrollY)} ` +
                       `${Math.round(box.width)}x${Math.round(box.height)}${e.contains(hit) ? "" : ` under ${hit?.closest("[id]")?.id}`}`;
            }),
    }), announcedBefore);
    return [`--- accessibility`, ...lines, `--- announced`, ...announced, `--- layout`, ...boxes].join("\n");
}

const keyNames = {Return: "Enter", KP_Enter: "NumpadEnter", Menu: "ContextMenu", space: "Space", Down: "ArrowDown",
                  Up: "ArrowUp", Left: "ArrowLeft", Right: "ArrowRight", shift: "Shift", alt: "Alt", ctrl: "Control"};
const chord = (keys) => keys.split("+").map((key) => keyNames[key] ?? key).join("+");

async function round(name, options) {
    const textRecord = join(records, "web/chromium", name), newText = join(fresh, "web/chromium", name);
    const pictureRecord = join(records, `web/chromium-${major}`, name), newPictures = join(fresh, `web/chromium-${major}`, name);
    const recorded = existsSync(join(textRecord, "round.txt")) ? readFileSync(join(textRecord, "round.txt"), "utf8") : "";
    const expected = (n) => recorded.split(/^=== /m).find((s) => s.startsWith(`${n} `))?.replace(/^.*\n/, "").trimEnd();
    rmSync(newPictures, {recursive: true, force: true});
    mkdirSync(newPictures, {recursive: true});
    const {context, page} = await open(name, options);
    await context.addInitScript(() => {
        window.announcedSoFar = [];
        addEventListener("DOMContentLoaded", () => new MutationObserver(() => window.announcedSoFar.push(
            document.getElementById("announcer").textContent)).observe(document.getElementById("announcer"), {childList: true, subtree: true, characterData: true}));
    });
    await page.clock.setFixedTime(new Date("2026-09-15T08:00:00Z")); // the clock the first question is drawn from
    const cdp = await context.newCDPSession(page);
    let text = "", other = null, closed = false;
    for (const [i, [action, ...args]] of steps.entries()) {
        const n = i + 1;
        const before = closed ? 0 : await page.evaluate(() => window.announcedSoFar?.length ?? 0).catch(() => 0);
        if (action === "start") {
            await page.goto(url);
            await ready(page);
        } else if (action === "key" && args[0] === "alt+F4") {
            await page.close(); // the browser's window closes, and the program with it
            closed = true;
        } else if (action === "key" && args[0] === "alt+Tab") {
            await page.bringToFront();
            await other?.close();
        } else if (/^KP_\d$/.test(args[0] ?? "")) { // NumLock on, which the driver's keypad is not
            for (const type of ["keyDown", "keyUp"])
                await cdp.send("Input.dispatchKeyEvent", {type, key: args[0][3], code: `Numpad${args[0][3]}`, location: 3,
                                                          windowsVirtualKeyCode: 96 + Number(args[0][3]), text: args[0][3]});
        } else if (action === "key") {
            await page.keyboard.press(chord(args[0]));
        } else if (action === "type") {
            await page.keyboard.type(args.join(" "));
        } else if (action === "click") {
            await (options.hasTouch ? page.tap(`#${args[0]}`) : page.click(`#${args[0]}`));
        } else if (action === "away") {
            other = await context.newPage();
            await other.bringToFront();
        }
        let now = "closed", last = null;
        for (let tries = 0; !closed && tries < 60; ++tries, last = now) {
            now = await snapshot(page, cdp, before);
            if (now === expected(n) || now === last)
                break;
            await new Promise((resolve) => setTimeout(resolve, 500));
        }
        text += `=== ${n} ${[action, ...args].join(" ")}\n${now}\n`;
        if (!closed)
            await page.screenshot({path: join(newPictures, `step-${String(n).padStart(2, "0")}.png`), fullPage: true});
    }
    await context.close();
    // The shared comparison (round.sh); pictures only against this chromium's own.
    const pictures = existsSync(pictureRecord);
    if (!pictures)
        console.log(`no pictures recorded for chromium ${major} yet: this round's are in ${newPictures}; tools/record records them`);
    writeFileSync(join(work, `${name}.txt`), text);
    mkdirSync(newText, {recursive: true});
    writeFileSync(join(newText, "round.txt"), text);
    if (!recorded)
        return fail(`no record ${textRecord}/round.txt yet: run this test, look at ${newText}, then tools/record`);
    const compared = spawnSync("bash", ["-c", `source "$1" "$2" "$3" && cp "$4" "$3/round.txt" && compare_round ${pictures ? '"$5" "$6"' : '"$2" /nowhere'}`,
        "-", join(here, "../round/round.sh"), textRecord, newText, join(work, `${name}.txt`), pictureRecord, newPictures], {encoding: "utf8"});
    process.stdout.write(`${compared.stdout}${compared.stderr}${compared.error ?? ""}`);
    if (compared.status !== 0)
        fail(`${name}: the round differs from the record`);
}

await round("bg-BG-wide", {locale: "bg-BG", viewport: {width: 640, height: 360}});
await round("en-US-narrow", {locale: "en-US", viewport: {width: 360, height: 740}, hasTouch: true, isMobile: true});

// Offline: a visit, the server gone, the page again from the worker's cache.
{
    const {context, page} = await open("offline", {locale: "bg-BG"});
    await page.goto(url);
    await ready(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
    // What a browser installs, as it reads it, and what it finds wanting.
    const cdp = await context.newCDPSession(page);
    const [{data}, {installabilityErrors}] = [await cdp.send("Page.getAppManifest"), await cdp.send("Page.getInstallabilityErrors")];
    const manifest = `${JSON.stringify(JSON.parse(data), null, 1)}\n--- not installable because\n${installabilityErrors.map((e) => `${e.errorId}\n`).join("")}`;
    const [manifestRecord, newManifest] = [records, fresh].map((root) => join(root, "web/chromium/site/manifest.txt"));
    mkdirSync(dirname(newManifest), {recursive: true});
    writeFileSync(newManifest, manifest);
    if (!existsSync(manifestRecord) || readFileSync(manifestRecord, "utf8") !== manifest)
        fail(`the manifest as chromium reads it differs from the record ${manifestRecord} (now ${newManifest})`);
    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
    await page.reload();
    await ready(page).catch(() => fail("the page did not come back with the server stopped"));
    await context.close();
}

// The single file, from the disk; axe at both widths; then a caption the
// program cannot read back, as an engine fault, which the page must show.
for (const [name, options] of [["file-wide", {viewport: {width: 640, height: 360}}],
                               ["file-narrow", {viewport: {width: 360, height: 740}, hasTouch: true, isMobile: true}]]) {
    const {context, page} = await open(name, {locale: "bg-BG", ...options});
    await page.goto(pathToFileURL(singleFile).href);
    await ready(page).catch(() => fail(`${name}: the single file did not start`));
    await page.evaluate(axeSource);
    const {violations} = await page.evaluate(() => axe.run());
    for (const v of violations)
        fail(`${name}: axe: ${v.id}: ${v.nodes.map((node) => node.target.join(" ")).join(", ")}`);
    await page.evaluate(() => document.querySelector("#Option1_0 span").textContent = "1e400");
    await page.keyboard.press("1");
    await page.click("#Command1_0");
    const alert = await page.evaluate(() => [document.querySelector("[role=alert]").textContent,
                                             [...document.querySelectorAll("button, textarea")].every((e) => e.disabled)]);
    if (alert.join(" ") !== "koren: фатална грешка: препълване при четене на число true")
        fail(`${name}: the engine's fault shows as ${JSON.stringify(alert)}`);
    await context.close();
}
console.log(failures.length ? `${failures.length} failed` : "the browser round passed");
process.exit(failures.length ? 1 : 0);
