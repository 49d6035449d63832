// Completes a built page (the web preset's build/web/dist) for phones and for use
// offline: copies the layout, touch, flight and offline scripts, the manifest, its
// icons and the page's face picture beside the page, minifies the page's own
// scripts and styles (terser and csso, from the lock file: the page is
// built for size), its manifest and index.html's indentation, then writes
// sw.js with the list of every file and a cache name made of their hash, so
// that each build that changes a byte is a new cache.
//   node web/package-offline.mjs OUT_DIR
import { createHash } from "node:crypto";
import { copyFileSync, readdirSync, readFileSync, statSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { minify as minifyCss } from "csso";
import { minify as minifyJs } from "terser";

const web = dirname(fileURLToPath(import.meta.url));
const out = process.argv[2];
if (!out) {
  console.error("usage: node web/package-offline.mjs OUT_DIR");
  process.exit(2);
}

// The manifest as one line of JSON, and index.html without the indentation
// at the start of its lines: outside a <pre> or <textarea> a line break alone
// keeps the one space a browser shows between words and between inline
// elements. Both are checked before anything in OUT_DIR changes, so that a
// manifest a phone's installer would refuse stops the build here.
const manifest = join(out, "manifest.webmanifest");
const html = join(out, "index.html");
let manifestJson;
try {
  manifestJson = JSON.stringify(JSON.parse(readFileSync(join(web, "manifest.webmanifest"), "utf8")));
} catch (error) {
  console.error(`package-offline: manifest.webmanifest: ${error.message}`);
  process.exit(1);
}
const page = readFileSync(html, "utf8");
if (/<(pre|textarea)[\s>]/i.test(page)) {
  console.error("package-offline: index.html has a <pre> or <textarea>, whose indentation would show");
  process.exit(1);
}

// face.webp is the page's own copy of the window's face: the same picture
// drawn at the window's proportions and twice its size (target web-face).
const kExtraFiles = [
  "face.webp",
  "layout.css",
  "layout.js",
  "touch.js",
  "flight.js",
  "offline.js",
  "keep.js",
  "lessons.js",
  "lessons.css",
  "manifest.webmanifest",
  "icon-192.png",
  "icon-512.png",
];
for (const name of kExtraFiles) copyFileSync(join(web, name), join(out, name));

writeFileSync(manifest, manifestJson);
writeFileSync(html, page.replace(/\n[ \t]+/g, "\n"));

// kvr9.js too: emscripten without the Closure compiler leaves its glue half
// the size terser makes it.
for (const name of readdirSync(out)) {
  const path = join(out, name);
  if (name.endsWith(".css")) writeFileSync(path, minifyCss(readFileSync(path, "utf8")).css);
  if (name.endsWith(".js") && name !== "sw.js") {
    const result = await minifyJs(readFileSync(path, "utf8"), { ecma: 2020, compress: { passes: 2 } });
    writeFileSync(path, result.code);
  }
}

const template = readFileSync(join(web, "sw.js"), "utf8");
const files = readdirSync(out)
  .filter((name) => name !== "sw.js" && statSync(join(out, name)).isFile())
  .sort();
const hash = createHash("sha256").update(template);
for (const name of files) hash.update(name).update("\0").update(readFileSync(join(out, name)));
const worker = template
  .replace("@CACHE_HASH@", hash.digest("hex").slice(0, 16))
  .replace("@FILES@", files.map((name) => JSON.stringify(name)).join(", "));
writeFileSync(join(out, "sw.js"), worker);
