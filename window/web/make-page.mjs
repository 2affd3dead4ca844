// Makes the page from its parts: quorvane.html, one file with the icon,
// picture, style, core and script in place of its comments in capitals, and
// the same page as an app for a web host, in site/ beside the manifest, the
// service worker and the icons the build renders there.
//   node make-page.mjs SOURCE ASSETS CORE.js ROM.js OUT
// Each page carries its own Content-Security-Policy, which allows its own
// scripts and styles by their SHA-256 and nothing else of its own kind.
import { createHash } from 'node:crypto';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { deflateRawSync } from 'node:zlib';

const [source, assets, core, romCore, out] = process.argv.slice(2);
const read = (...path) => readFileSync(join(...path), 'utf8');
const drawing = (name) => read(assets, name).replace(/^[\s\S]*?(<svg)/, '$1');
const icon = drawing('quorvane.svg').replace(/[%#<>"\n]/g, (character) =>
  encodeURIComponent(character),
);
const parts = {
  ICON: icon,
  PICTURE: drawing('player.svg'),
  STYLE: read(source, 'page.css'),
  CORE: read(core),
  // The core's compiled code, in base64, for the script to compile from its
  // bytes: no fetch of anything, not even of a data: URL.
  BYTES: readFileSync(core.replace(/\.js$/, '.wasm')).toString('base64'),
  // The ROM view's module, the same way, but deflated (the browser inflates
  // it when the view first opens): a page a third smaller.
  ROMCORE: read(romCore),
  ROMWORKER: read(source, 'rom_worker.js'),
  ROMBYTES: deflateRawSync(readFileSync(romCore.replace(/\.js$/, '.wasm')), {
    level: 9,
  }).toString('base64'),
  SCRIPT: read(source, 'page.js'),
  ROMSCRIPT: read(source, 'rom_view.js'),
};
const template = read(source, 'quorvane.html');

const sha256 = (text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`;
function page(hosted) {
  const filled = template.replace(/<!--([A-Z]+)-->/g, (comment, name) => {
    if (name === 'MANIFEST')
      return hosted ? '<link rel="manifest" href="manifest.webmanifest">' : '';
    return name === 'POLICY' ? comment : (parts[name] ?? comment);
  });
  const hashes = (pattern) =>
    [...filled.matchAll(pattern)].map(([, text]) => sha256(text)).join(' ');
  const policy = [
    "default-src 'none'",
    `script-src ${hashes(/<script(?: type="module")?>([\s\S]*?)<\/script>/g)} 'wasm-unsafe-eval'`,
    `style-src ${hashes(/<style>([\s\S]*?)<\/style>/g)}`,
    `img-src ${hosted ? "'self' " : ''}data:`,
    // The ROM view's worker, made by the page from its own text.
    `worker-src ${hosted ? "'self' " : ''}blob:`,
    ...(hosted ? ["manifest-src 'self'"] : []),
    "base-uri 'none'",
  ].join('; ');
  return filled.replace('<!--POLICY-->', policy);
}

const single = page(false);
if (Buffer.byteLength(single) > 200 * 1024) {
  console.error(
    `The page is ${Buffer.byteLength(single)} bytes: a page to download must stay within 200 KB.`,
  );
  process.exit(1);
}
writeFileSync(join(out, 'quorvane.html'), single);

// The app: its worker's cache is named by the release and by what it holds,
// so that a new release's worker replaces the old one's files.
const site = join(out, 'site');
mkdirSync(site, { recursive: true });
const index = page(true);
const manifest = read(source, 'manifest.webmanifest');
const release = createHash('sha256').update(index).update(manifest).digest('hex').slice(0, 16);
writeFileSync(join(site, 'index.html'), index);
writeFileSync(join(site, 'manifest.webmanifest'), manifest);
const icons = JSON.parse(manifest)
  .icons.map(({ src }) => `'${src}'`)
  .join(', ');
writeFileSync(
  join(site, 'service-worker.js'),
  read(source, 'service-worker.js')
    .replace("'quorvane-RELEASE'", `'quorvane-${release}'`)
    .replace("'ICONS'", icons),
);
