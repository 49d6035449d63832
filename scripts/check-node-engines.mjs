// Every npm package the tests and measurements use must run on the Node that
// Debian 12 ships, and on the Node of this machine: a package that wants a
// newer one breaks `make test` on a fresh Debian 12 long after this check.
// Reads each package's engines.node from package-lock.json.
import { readFileSync } from "node:fs";
import semver from "semver";

// Debian 12's nodejs, in bookworm and bookworm-security.
const kDebian12Node = "18.20.4";

const lockPath = process.argv[2] ?? "package-lock.json";
const lock = JSON.parse(readFileSync(lockPath, "utf8"));
const nodes = [
  { name: "Debian 12's Node", version: kDebian12Node },
  { name: "this machine's Node", version: process.version },
];

// engines.node is a range; a few old packages write a list of ranges.
function nodeRanges(engines) {
  if (!engines) return [];
  if (Array.isArray(engines)) {
    return engines.filter((e) => /^\s*node\b/.test(e)).map((e) => e.replace(/^\s*node\s*/, ""));
  }
  return typeof engines.node === "string" ? [engines.node] : [];
}

const refusals = [];
for (const [path, entry] of Object.entries(lock.packages ?? {})) {
  if (path === "") continue;
  const name = path.replace(/^.*node_modules\//, "");
  for (const range of nodeRanges(entry.engines)) {
    for (const node of nodes) {
      if (!semver.satisfies(node.version, range, { includePrerelease: true })) {
        refusals.push(`${name}@${entry.version} wants node ${range}, refusing ${node.name} ${node.version}`);
      }
    }
  }
}

if (refusals.length > 0) {
  for (const line of refusals) console.error(`${lockPath}: ${line}`);
  console.error(`${lockPath}: lock these packages to versions that run on Node ${kDebian12Node}`);
  process.exit(1);
}
console.log(`${lockPath}: every package accepts Node ${kDebian12Node} and ${process.version}`);
