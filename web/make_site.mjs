// Puts the site together from the page the element table wrote and the
// program's build: build/web/site, a folder of static files for any HTTPS
// host, and koren.html, the same page in one file that also opens from a
// disk. Each gets a Content-Security-Policy that allows only its own files
// (the single file: only what it holds) and no other origin.
// Usage: node make_site.mjs PAGE MANIFEST JS WASM SINGLE_JS FONT LICENCE ICON192 ICON512 SW SITE SINGLE_HTML
import {createHash} from "node:crypto";
import {copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync} from "node:fs";
import {basename, join} from "node:path";

const [page, manifest, js, wasm, singleJs, font, licence, icon192, icon512, worker, site, singleHtml] =
    process.argv.slice(2);
const template = readFileSync(page, "utf8");
const hash = (text) => `'sha256-${createHash("sha256").update(text).digest("base64")}'`;
const styleOf = (fontUrl) => template.match(/<style>(.*)<\/style>/s)[1].replace("@FONT@", fontUrl);

function assemble(style, head, script, policy) {
    const csp = `<meta http-equiv=Content-Security-Policy content="${policy.join("; ")}">`;
    return template.replace(/<style>.*<\/style>/s, () => `<style>${style}</style>`)
        .replace("<!--koren:head-->", () => csp + head)
        .replace("<!--koren:script-->", () => script);
}
const common = ["default-src 'none'", "base-uri 'none'", "form-action 'none'"];

rmSync(site, {recursive: true, force: true});
mkdirSync(site, {recursive: true});
const fontName = "koren-serif.woff2";
for (const [from, to] of [[js, "koren.js"], [wasm, "koren.wasm"], [font, fontName], [licence, "koren-serif-copyright.txt"],
                          [icon192, "icon-192.png"], [icon512, "icon-512.png"], [manifest, "manifest.webmanifest"]])
    copyFileSync(from, join(site, to));

const siteStyle = styleOf(fontName);
// The program starts once the page is on the screen: a pupil sees the page
// as soon as a page without a program would show, and the question in the
// frames after, while its files came in the meantime (preload).
// (A tab in the background paints nothing: there it starts after a second.)
// In a block of its own: the loader's names share the page's global scope.
const start = '{ let started = false; const start = () => started || (started = true, document.body.append(' +
    'Object.assign(document.createElement("script"), {src: "koren.js"}))); setTimeout(start, 1000); ' +
    'new PerformanceObserver((list) => list.getEntriesByName("first-contentful-paint").length && setTimeout(start))' +
    '.observe({type: "paint", buffered: true}); }';
writeFileSync(join(site, "index.html"),
    assemble(siteStyle,
        `<link rel=manifest href=manifest.webmanifest><link rel=icon href=icon-192.png>` +
            `<link rel=preload href=${fontName} as=font type=font/woff2 crossorigin>` +
            `<link rel=preload href=koren.wasm as=fetch type=application/wasm crossorigin>` +
            `<link rel=preload href=koren.js as=script>`,
        `<script>${start}</script>`,
        [...common, `script-src 'self' ${hash(start)} 'wasm-unsafe-eval'`, `style-src ${hash(siteStyle)}`, "font-src 'self'",
         "img-src 'self'", "connect-src 'self'", "manifest-src 'self'", "worker-src 'self'"]));

// The worker's cache is named after every byte of the build.
const files = ["./", "index.html", "koren.js", "koren.wasm", fontName, "manifest.webmanifest", "icon-192.png",
               "icon-512.png"];
const build = createHash("sha256");
for (const file of files.slice(1))
    build.update(readFileSync(join(site, file)));
writeFileSync(join(site, "sw.js"),
    readFileSync(worker, "utf8").replace("@BUILD@", build.digest("hex").slice(0, 16))
        .replace("@FILES@", JSON.stringify(files)));

// The single file: the program, its WebAssembly and the font inside.
const inlineStyle = styleOf(`data:font/woff2;base64,${readFileSync(font).toString("base64")}`);
const program = readFileSync(singleJs, "utf8").replaceAll("</script", "<\\/script");
writeFileSync(singleHtml,
    assemble(inlineStyle, "", `<script>${program}</script>`,
        [...common, `script-src ${hash(program)} 'wasm-unsafe-eval'`, `style-src ${hash(inlineStyle)}`,
         "font-src data:", "connect-src data:"])); // the loader fetches its WebAssembly from a data: address
console.log(`${basename(site)}: ${files.length} files; ${basename(singleHtml)}`);
