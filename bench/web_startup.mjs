// Start-up of the page in chromium against a plain static page with the
// same controls, texts, style and font and no program: each load in a fresh
// context (a cold cache), A B A B, from a server of the benchmark's own on
// 127.0.0.1. For each: the first contentful paint, and the frame in which
// the question is shown (for the plain page, its first paint). Then the
// bytes the page loads, as gzip would send them.
// Usage: node web_startup.mjs SITE NPM_DIR CHROMIUM [--rounds N] [--warmup N]
import {mkdtempSync, readFileSync, readdirSync, copyFileSync, writeFileSync} from "node:fs";
import {createServer} from "node:http";
import {createRequire} from "node:module";
import {tmpdir} from "node:os";
import {extname, join, resolve} from "node:path";
import {gzipSync} from "node:zlib";

const [siteDir, npmDir, chromiumPath, ...rest] = process.argv.slice(2);
const option = (name, otherwise) => Number(rest[rest.indexOf(name) + 1] ?? otherwise) || otherwise;
const rounds = rest.includes("--rounds") ? option("--rounds", 20) : 20;
const warmup = rest.includes("--warmup") ? option("--warmup", 3) : 3;
const {chromium} = createRequire(resolve(npmDir, "package.json"))("playwright-core");

// The plain page: the site's page as the program leaves it after its first
// question, without the program.
const site = mkdtempSync(join(tmpdir(), "koren-bench-"));
for (const file of readdirSync(siteDir))
    copyFileSync(join(siteDir, file), join(site, file));
const page = readFileSync(join(site, "index.html"), "utf8");
const captions = ["17,088", "17,117", "17,146", "17,176", "17,205"];
writeFileSync(join(site, "plain.html"),
    page.replace(/<script[^>]*><\/script>/, "").replace(/<link rel=preload href=koren.wasm[^>]*>/, "")
        .replace("<html lang=bg>", "<html lang=bg class=ready>")
        .replace(/(<input id=Text2 readonly) value="">/, '$1 value="Изчислете корен квадратен на 295">')
        .replace(/<span>Option1<\/span>/g, () => `<span>${captions.shift()}</span>`));

const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm", ".png": "image/png",
               ".woff2": "font/woff2", ".webmanifest": "application/manifest+json"};
const server = createServer((request, response) => {
    const name = new URL(request.url, "http://x").pathname.slice(1) || "index.html";
    try {
        response.writeHead(200, {"Content-Type": types[extname(name)] ?? "text/plain"}).end(readFileSync(join(site, name)));
    } catch {
        response.writeHead(404).end();
    }
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ["--disable-background-networking", "--disable-component-update", "--no-first-run",
           ...(process.getuid() === 0 ? ["--no-sandbox"] : [])],
});
const loaded = new Map(); // what the page loads, by address
async function load(name) {
    const context = await browser.newContext({locale: "bg-BG", serviceWorkers: "block"});
    await context.addInitScript(() => {
        // The frame after the program marks the page as showing its question.
        new MutationObserver((_, observer) => {
            if (document.documentElement.classList.contains("ready")) {
                observer.disconnect();
                requestAnimationFrame(() => window.questionShown = performance.now());
            }
        }).observe(document, {attributes: true, attributeFilter: ["class"], subtree: true});
    });
    const tab = await context.newPage();
    if (name === "index.html")
        tab.on("response", async (response) => loaded.set(response.url(), await response.body().catch(() => Buffer.of())));
    await tab.goto(base + name);
    const plain = name === "plain.html"; // shows its question in its first paint
    await tab.waitForFunction((plain) => performance.getEntriesByName("first-contentful-paint").length &&
        (plain || window.questionShown !== undefined), plain, {timeout: 30000});
    const result = await tab.evaluate(() => {
        const paint = performance.getEntriesByName("first-contentful-paint")[0].startTime;
        return [paint, Math.max(window.questionShown ?? paint, paint)];
    });
    if (plain)
        result[1] = result[0];
    await context.close();
    return result;
}

const samples = {"index.html": [], "plain.html": []};
for (let round = -warmup; round < rounds; ++round)
    for (const name of Object.keys(samples)) {
        const times = await load(name);
        if (round >= 0)
            samples[name].push(times);
    }
await browser.close();
server.close();

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const figures = (name, which) => {
    const values = samples[name].map((times) => times[which]);
    return `${median(values).toFixed(1)} (${Math.min(...values).toFixed(1)}-${Math.max(...values).toFixed(1)})`;
};
const paint = median(samples["index.html"].map((times) => times[0]));
const question = median(samples["index.html"].map((times) => times[1]));
const plainPaint = median(samples["plain.html"].map((times) => times[0]));
console.log(`${rounds} loads each after ${warmup} warm-up loads, interleaved, cold cache, chromium headless`);
console.log("                 first contentful paint ms: median (min-max)   question shown ms: median (min-max)");
console.log(`page             ${figures("index.html", 0).padEnd(44)} ${figures("index.html", 1)}`);
console.log(`plain page       ${figures("plain.html", 0).padEnd(44)} ${figures("plain.html", 1)}`);
console.log(`first paint ${(paint / plainPaint).toFixed(2)}x the plain page's (target 1.05x); ` +
            `question ${(question / plainPaint).toFixed(2)}x the plain page's first paint (target 1.5x)`);
let total = 0;
for (const [url, body] of loaded) {
    const size = gzipSync(body, {level: 9}).length;
    total += size;
    console.log(`  ${url.replace(base, "").padEnd(24)} ${String(body.length).padStart(7)} bytes, ${String(size).padStart(6)} gzip`);
}
console.log(`everything the page loads: ${(total / 1024).toFixed(1)} KiB gzip (target under 100 KB)`);
