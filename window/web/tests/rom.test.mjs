// The ROM view in both browsers, on the test game the build assembles: a
// game opened (from a zip too), its header shown, patches of each format
// applied and made, and a patcher page saved, opened from disk and used.
// Every file the page makes is compared with what quorvane-cli makes of the
// same files; nothing is requested but the page itself.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, truncateSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { browsers, open, url } from './browsers.mjs';

// The command line and the test ROMs of the native build, which ./test.sh
// makes first.
const native = process.env.QUORVANE_NATIVE_BUILD;
const roms = join(native, 'test-roms');
const folder = mkdtempSync(join(tmpdir(), 'quorvane-rom-view-'));
const cli = (...args) =>
  execFileSync(join(native, 'cli/quorvane-cli'), args, { cwd: folder, stdio: 'pipe' });
const refusal = (...args) => {
  try {
    cli(...args);
  } catch (error) {
    return error.stderr
      .toString()
      .replace(/^quorvane-cli: /, '')
      .trim();
  }
  throw new Error(`${args.join(' ')} was not refused`);
};

// The game, a translation of it (bytes changed in two banks), and patches
// of each format made by the command line; the same files without the
// header, for an IPS made for a headerless copy.
const game = readFileSync(join(roms, 'game.nes'));
const translated = Buffer.from(game);
translated.write('BONJOUR', 0x2010, 'latin1');
translated.fill(0x41, 0x8010, 0x8100);
translated.fill(0x60, 0x10, 0x14); // the first bytes after the header too
writeFileSync(join(folder, 'Game.nes'), game);
writeFileSync(join(folder, 'Game (French).nes'), translated);
writeFileSync(join(folder, 'bare.nes'), game.subarray(16));
writeFileSync(join(folder, 'bare-fr.nes'), translated.subarray(16));
for (const format of ['bps', 'ips', 'ups']) {
  cli('patch', 'make', 'Game.nes', 'Game (French).nes', '-o', `French.${format}`);
}
cli('patch', 'make', 'bare.nes', 'bare-fr.nes', '-o', 'Bare.ips');
const file = (name) => readFileSync(join(folder, name));
const huge = join(folder, 'huge.nes');
writeFileSync(huge, '');
truncateSync(huge, 257 << 20);

for (const [name, { launch }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser;
    before(async () => (browser = await launch()));
    after(() => browser?.close());

    // The page at `address`, on its ROM view, each file it offers kept by
    // its link's address: the page's own policy lets nothing fetch it.
    async function romView(address = url) {
      const page = await open(browser, address, 420, 900);
      await page.evaluate(() => {
        const make = URL.createObjectURL;
        window.made = new Map();
        URL.createObjectURL = (blob) => {
          const address = make(blob);
          window.made.set(address, blob);
          return address;
        };
      });
      if (await page.$eval('#rom-view', (view) => view.hidden)) await page.click('#view-rom');
      return page;
    }
    const said = (page) => page.$eval('#rom-status', (shown) => shown.textContent);
    // The file behind a download link, as the page made it.
    const downloaded = async (page, id) => {
      const bytes = await page.$eval(`#${id}`, async (link) => {
        const blob = window.made.get(link.href);
        return blob
          ? [...new Uint8Array(await blob.arrayBuffer())]
          : `${link.href} of ${[...window.made.keys()]}`;
      });
      assert.ok(Array.isArray(bytes), bytes);
      return Buffer.from(bytes);
    };
    // Does something, and waits for the page to say what came of it.
    const saying = async (page, doing) => {
      const before = await said(page);
      await doing();
      await page.waitForFunction(
        (before) => document.getElementById('rom-status').textContent !== before,
        {},
        before,
      );
    };
    const pick = (page, id, path) =>
      saying(page, async () => (await page.$(`#${id}`)).uploadFile(path));
    const apply = (page) => saying(page, () => page.click('#apply'));
    const away = (page) =>
      page.requests.filter((request) => request !== page.url() && !/^(blob|data):/.test(request));

    test('opens a game, says its header and hashes, and applies each format as the command line', async () => {
      const page = await romView();
      await pick(page, 'rom-file', join(folder, 'Game.nes'));
      const info = await page.$eval('#rom-info', (list) => list.innerText);
      assert.match(info, /Header\s+iNES/);
      assert.match(info, /Mapper \(the cartridge’s board\)\s+2 \(UxROM\)/);
      assert.match(info, /CRC32 BE27A6AF\s+SHA-1 a3fe732fc6b372d055a58c241383866953cccda1/);
      for (const format of ['bps', 'ips', 'ups']) {
        await pick(page, 'patch-file', join(folder, `French.${format}`));
        await apply(page);
        assert.match(await said(page), /^Patched: Game \(French\)\.nes is ready/);
        cli('patch', 'apply', 'Game.nes', `French.${format}`, '-o', 'out.nes');
        assert.deepEqual(await downloaded(page, 'download'), file('out.nes'), format);
        assert.equal(await page.$eval('#download', (link) => link.download), 'Game (French).nes');
        assert.match(
          await page.$eval('#download-hashes', (shown) => shown.textContent),
          /^CRC32 [0-9A-F]{8}\nSHA-1 [0-9a-f]{40}$/,
        );
      }
      assert.deepEqual(away(page), []);
      assert.deepEqual(page.said, []);
    });

    test('refuses the wrong game, carries a NES 2.0 header, and applies IPS across a header when asked', async () => {
      const page = await romView();
      await pick(page, 'rom-file', join(roms, 'tables.nes'));
      await pick(page, 'patch-file', join(folder, 'French.bps'));
      await apply(page);
      assert.equal(
        await said(page),
        `French.bps: ${refusal('patch', 'apply', join(roms, 'tables.nes'), 'French.bps', '-o', 'x.nes').replace(/^French.bps: /, '')}`,
      );
      await pick(page, 'rom-file', join(roms, 'nes2.nes'));
      await apply(page);
      cli('patch', 'apply', join(roms, 'nes2.nes'), 'French.bps', '-o', 'carried.nes');
      assert.deepEqual(await downloaded(page, 'download'), file('carried.nes'));
      assert.match(await said(page), /header/);

      await pick(page, 'rom-file', join(folder, 'Game.nes'));
      await pick(page, 'patch-file', join(folder, 'Bare.ips'));
      await apply(page);
      assert.match(await said(page), /It applies across the header/);
      assert.equal(await page.$eval('#across-row', (row) => row.hidden), false);
      await page.click('#across-header');
      await apply(page);
      cli('patch', 'apply', 'Game.nes', 'Bare.ips', '--across-header', '-o', 'across.nes');
      assert.deepEqual(await downloaded(page, 'download'), file('across.nes'));
      assert.deepEqual(away(page), []);
    });

    test('opens a game from a zip of two, the one chosen, the one game beside another file, and refuses one past the ceiling', async () => {
      const page = await romView();
      await pick(page, 'rom-file', join(roms, 'two.zip'));
      assert.match(await page.$eval('#rom-info', (list) => list.innerText), /Header\s+iNES/);
      await saying(page, () => page.select('#rom-entry', 'nes2.nes'));
      assert.match(await page.$eval('#rom-info', (list) => list.innerText), /Header\s+NES 2\.0/);
      assert.equal(await said(page), 'Opened nes2.nes.');
      await pick(page, 'rom-file', join(roms, 'with-table.zip'));
      assert.equal(await said(page), 'Opened game.nes.', 'the game beside a table');
      // A file past the ceiling is refused by its size, unread: a sparse one.
      await pick(page, 'rom-file', huge);
      const words = refusal('info', huge).replace(/^.*: larger/, 'larger');
      assert.equal(await said(page), `huge.nes: ${words}`);
    });

    test('makes a patch as the command line does, and saves a patcher page that applies it from disk', async () => {
      const page = await romView();
      await pick(page, 'rom-file', join(folder, 'Game.nes'));
      await pick(page, 'modified-file', join(folder, 'Game (French).nes'));
      await page.click('#make-patch');
      await page.waitForFunction(() =>
        /^Made /.test(document.getElementById('rom-status').textContent),
      );
      assert.deepEqual(await downloaded(page, 'patch-download'), file('French.bps'));
      // The saved page, caught as the page hands it to the browser.
      const saved = await page.evaluate(async () => {
        const made = new Promise((resolve) => {
          HTMLAnchorElement.prototype.click = async function () {
            resolve([this.download, await window.made.get(this.href).text()]);
          };
        });
        document.getElementById('save-patcher').click();
        return made;
      });
      assert.equal(saved[0], 'Game (French) patcher.html');
      const patcher = join(folder, `patcher-${name}.html`);
      writeFileSync(patcher, saved[1]);
      const player = await romView(pathToFileURL(patcher).href);
      await player
        .waitForFunction(
          () => /open the game to patch/.test(document.getElementById('rom-status').textContent),
          { timeout: 5000 },
        )
        .catch((error) => assert.fail(`${error.message}: ${player.said.join('\n')}`));
      const intro = await player.$eval('#patcher-intro', (shown) => shown.textContent);
      assert.match(intro, /CRC32 BE27A6AF and SHA-1 a3fe732fc6b372d055a58c241383866953cccda1/);
      assert.equal(await player.$eval('#patch-row', (row) => row.hidden), true);
      await pick(player, 'rom-file', join(folder, 'Game.nes'));
      await apply(player);
      assert.deepEqual(await downloaded(player, 'download'), translated);
      assert.deepEqual(away(player), []);
      assert.deepEqual(player.said, []);
    });
  });
}
