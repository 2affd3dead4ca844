// How fast the ROM view is, beside the command line and beside the page of
// another commit: a BPS applied to a 4 MiB game and the result hashed, in
// Chromium and Firefox, from the click on Apply to the result's hashes
// shown, beside `quorvane-cli patch apply` and `info` of the same files; and
// the calculator's opening, to its first pointer, beside another page
// (the page before the ROM view, say) opened in turns with it. Medians of 9
// (QUORVANE_BENCH_RUNS);
// run it by hand, on an idle machine, never as a test:
//   node window/web/bench/rom_bench.mjs build/web/quorvane.html build/default/cli/quorvane-cli [OTHER.html]
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { browsers } from '../tests/browsers.mjs';

const [built, cli, other] = process.argv.slice(2);
const runs = Number(process.env.QUORVANE_BENCH_RUNS ?? 9);
const median = (times) => times.sort((a, b) => a - b)[times.length >> 1];

// A 4 MiB game of 256 banks and its translation, every 64th byte changed.
const folder = mkdtempSync(join(tmpdir(), 'quorvane-rom-bench-'));
const game = Buffer.alloc(16 + (4 << 20));
Buffer.from([0x4e, 0x45, 0x53, 0x1a, 0, 0, 0x12, 0x08, 0, 0x01]).copy(game);
for (let i = 16; i < game.length; ++i) game[i] = (i * 2654435761) >>> 24;
const translated = Buffer.from(game);
for (let i = 16; i < translated.length; i += 64) translated[i] ^= 0x5a;
writeFileSync(join(folder, 'Game.nes'), game);
writeFileSync(join(folder, 'Game (French).nes'), translated);
const run = (...args) => execFileSync(cli, args, { cwd: folder });
run('patch', 'make', 'Game.nes', 'Game (French).nes', '-o', 'French.bps');

function commandLine() {
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const start = performance.now();
    run('patch', 'apply', 'Game.nes', 'French.bps', '-o', 'out.nes');
    run('info', 'out.nes');
    times.push(performance.now() - start);
  }
  return median(times);
}

async function page(launch) {
  const browser = await launch();
  const shown = await browser.newPage();
  await shown.goto(pathToFileURL(built).href);
  await shown.click('#view-rom');
  await (await shown.$('#rom-file')).uploadFile(join(folder, 'Game.nes'));
  await (await shown.$('#patch-file')).uploadFile(join(folder, 'French.bps'));
  await shown.waitForFunction(() => !document.getElementById('apply').disabled);
  const times = [];
  for (let i = 0; i < runs; ++i) {
    times.push(
      await shown.evaluate(async () => {
        const hashes = document.getElementById('download-hashes');
        hashes.textContent = '';
        const start = performance.now();
        document.getElementById('apply').click();
        while (!hashes.textContent) await new Promise((done) => setTimeout(done));
        return performance.now() - start;
      }),
    );
  }
  await browser.close();
  return median(times);
}

// Milliseconds from the start of opening a page to its first pointer, the
// two pages in turns.
async function opening(pages) {
  const browser = await browsers.Chromium.launch();
  const shown = await browser.newPage();
  await shown.evaluateOnNewDocument(() => {
    new MutationObserver((changes, observer) => {
      const form = document.getElementById('Form1');
      if (form && !form.hasAttribute('aria-busy') && document.getElementById('Calculate')) {
        observer.disconnect();
        document.getElementById('Calculate').click();
        window.pointerAt = performance.now();
      }
    }).observe(document, { subtree: true, childList: true, attributes: true });
  });
  const times = pages.map(() => []);
  for (let i = 0; i < runs; ++i) {
    for (const [which, file] of pages.entries()) {
      await shown.goto(pathToFileURL(file).href);
      times[which].push(
        await shown.waitForFunction(() => window.pointerAt).then((t) => t.jsonValue()),
      );
    }
  }
  await browser.close();
  return times.map(median);
}

const ms = (time) => `${time.toFixed(1)} ms`;
const line = commandLine();
console.log(`BPS applied to a 4 MiB game, and hashed: quorvane-cli ${ms(line)}`);
for (const [name, { launch }] of Object.entries(browsers)) {
  const time = await page(launch);
  console.log(`  ${name}: ${ms(time)} (${(time / line).toFixed(2)}x)`);
}
const [own, before] = await opening(other ? [built, other] : [built]);
console.log(
  `calculator opened to its first pointer: ${ms(own)}` +
    (other ? `, beside ${ms(before)} (${(own / before).toFixed(3)}x)` : ''),
);
