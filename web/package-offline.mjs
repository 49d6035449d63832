// Completes a built page (the web preset's build/web/dist) for phones and for use
// offline: copies the layout, touch and offline scripts, the manifest, its
// icons and the page's face picture beside the page, then writes sw.js with the list of every file
// and a cache name made of their hash, so that each build that changes a
// byte is a new cache.
//   node web/package-offline.mjs OUT_DIR
import { createHash } from "node:crypto";
import { copyFileSync, readdirSync, readFileSync, statSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const web = dirname(fileURLToPath(import.meta.url));
const out = process.argv[2];
if (!out) {
  console.error("usage: node web/package-offline.mjs OUT_DIR");
  process.exit(2);
}

// face.jpg is the page's own copy of the window's face: the same picture
// drawn at the window's proportions and twice its size (target web-face).
const kExtraFiles = [
  "face.jpg",
  "layout.css",
  "layout.js",
  "touch.js",
  "offline.js",
  "manifest.webmanifest",
  "icon-192.png",
  "icon-512.png",
];
for (const name of kExtraFiles) copyFileSync(join(web, name), join(out, name));

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
