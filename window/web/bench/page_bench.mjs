// How fast the page is in Debian's Chromium, each figure beside a plain page
// in the same run: a click on CALCULATE with a 1 MiB word, beside a page
// whose button only puts the same 3 MiB of codes into its box; and opening
// the page until its first calculation is done, beside the same form with no
// script at all. Then, in Chromium and Firefox each started afresh for each
// run, the first word in a reader's language: Japanese, whose double-byte
// code page's table that word makes, beside English. Medians of 9; run it by
// hand, on an idle machine, never as a test:
//   node window/web/bench/page_bench.mjs build/web/quorvane.html
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { browsers } from '../tests/browsers.mjs';

const built = process.argv[2] ?? 'build/web/quorvane.html';
const runs = 9;
const word = 'A'.repeat(1 << 20);

// The plain pages: the same form, shown, its scripts and its policy taken
// out; one of them has instead a button that writes codes made beforehand.
const form = readFileSync(built, 'utf8')
  .replace(/<script[^]*?<\/script>/g, '')
  .replace(' aria-busy="true"', '')
  .replace(/<meta http-equiv[^>]*>/, '')
  .replace(
    '</head>',
    '<style>#starting { display: none; } #app { display: contents; }</style></head>',
  );
const folder = mkdtempSync(join(tmpdir(), 'quorvane-bench-'));
const plainForm = join(folder, 'form.html');
const plainClick = join(folder, 'click.html');
writeFileSync(plainForm, form);
writeFileSync(
  plainClick,
  form.replace(
    '</body>',
    `<script>
  const codes = ' 11'.repeat(${word.length});
  document.getElementById('Command1').addEventListener('click', () => {
    document.getElementById('HV').value = codes;
  });
</script></body>`,
  ),
);

const median = (times) => times.sort((a, b) => a - b)[times.length >> 1];
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox'],
});
const page = await browser.newPage();

// Milliseconds from a click on CALCULATE to the frame after it, the hex
// value box emptied before each.
async function click(file) {
  await page.goto(pathToFileURL(file).href);
  await page.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
  await page.evaluate((word) => {
    document.getElementById('word').value = word;
  }, word);
  const times = [];
  for (let run = 0; run < runs; ++run) {
    times.push(
      await page.evaluate(async () => {
        document.getElementById('HV').value = '';
        await new Promise((done) => requestAnimationFrame(() => setTimeout(done)));
        const start = performance.now();
        document.getElementById('Command1').click();
        await new Promise((done) => requestAnimationFrame(() => setTimeout(done)));
        return performance.now() - start;
      }),
    );
  }
  return median(times);
}

// Milliseconds from the start of opening the page to its first pointer: the
// page is watched from inside, and Calculate clicked as soon as the page is
// ready. With no script, to the end of its load.
await page.evaluateOnNewDocument(() => {
  addEventListener('load', () => {
    window.loadedAt = performance.now();
  });
  new MutationObserver((changes, observer) => {
    const form = document.getElementById('Form1');
    if (form && !form.hasAttribute('aria-busy') && document.getElementById('Calculate')) {
      observer.disconnect();
      document.getElementById('Calculate').click();
      window.pointerAt =
        document.getElementById('pointer').value === '80' ? performance.now() : NaN;
    }
  }).observe(document, { subtree: true, childList: true, attributes: true });
});
async function start(file, reading) {
  const times = [];
  for (let run = 0; run < runs; ++run) {
    await page.goto(pathToFileURL(file).href);
    times.push(await page.waitForFunction(reading).then((time) => time.jsonValue()));
  }
  return median(times);
}

const figures = [
  ['CALCULATE, 1 MiB word', await click(built), await click(plainClick)],
  [
    'open to first pointer',
    await start(built, () => window.pointerAt),
    await start(plainForm, () => window.loadedAt),
  ],
];
await browser.close();

// Milliseconds of a click on CALCULATE, the first in a browser just started
// in `language`, with a word in its box: the click's own work. The click
// comes as soon as the page shows, before the browser is idle, or with
// `idle` once it is, as a person's click would.
async function firstWord(launch, language, text, idle) {
  const times = [];
  for (let run = 0; run < runs; ++run) {
    const fresh = await launch(undefined, language);
    const shown = await fresh.newPage();
    await shown.goto(pathToFileURL(built).href);
    await shown.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
    times.push(
      await shown.evaluate(
        async (text, idle) => {
          if (idle) await new Promise((done) => requestIdleCallback(done));
          document.getElementById('word').value = text;
          const start = performance.now();
          document.getElementById('Command1').click();
          return performance.now() - start;
        },
        text,
        idle,
      ),
    );
    await fresh.close();
  }
  return median(times);
}
for (const [name, { launch }] of Object.entries(browsers)) {
  for (const idle of [false, true]) {
    figures.push([
      `first word, ${name}, Japanese beside English${idle ? ', once idle' : ''}`,
      await firstWord(launch, 'ja', '\u3042', idle),
      await firstWord(launch, 'en', 'A', idle),
    ]);
  }
}

console.log('| measure | the page | beside it | ratio |\n|---|---|---|---|');
for (const [measure, ours, plain] of figures) {
  console.log(
    `| ${measure} | ${ours.toFixed(1)} ms | ${plain.toFixed(1)} ms | ${(ours / plain).toFixed(2)} |`,
  );
}
