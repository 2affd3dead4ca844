// The page on every screen and in every colour scheme: its layout on phones,
// at 400 % zoom and with larger or more widely spaced text, read from the
// boxes the browser lays out; its colours read from its pixels; and
// axe-core's checks, text contrast among them.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { browsers, calculates, open, settled, url } from './browsers.mjs';

const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const spacing = [
  '* { line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important; }',
  'p { margin-bottom: 2em !important; }',
];

// What is wrong with the window's layout as shown: a control off screen, a
// caption or button whose text is cut, two controls on each other, the page
// scrolling sideways; and the window's size.
function layout() {
  const controls = [...document.querySelectorAll('#Form1 > :not(#status, [role]), [role] > *')];
  const boxes = controls.map((control) => control.getBoundingClientRect());
  const over = (a, b) =>
    a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  const cut = (control) =>
    !/INPUT|HR/.test(control.tagName) &&
    (control.scrollWidth > control.clientWidth || control.scrollHeight > control.clientHeight);
  const wrong = controls.flatMap((control, i) => [
    ...(boxes[i].left < 0 || boxes[i].right > innerWidth ? [`${control.id} off screen`] : []),
    ...(cut(control) ? [`${control.id} cut`] : []),
    ...controls
      .filter((other, j) => j > i && over(boxes[i], boxes[j]))
      .map((other) => `${control.id} on ${other.id}`),
  ]);
  if (document.documentElement.scrollWidth > innerWidth) wrong.push('scrolls sideways');
  const { width, height } = document.getElementById('Form1').getBoundingClientRect();
  return [wrong, `${width}x${height}`];
}

// The luminance of the window's background and of a text box, and the line's
// best contrast with the background, of any pixel in its box, read from a
// screenshot.
async function colours(png) {
  const bytes = Uint8Array.from(atob(png), (character) => character.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes]));
  const canvas = new OffscreenCanvas(image.width, image.height).getContext('2d');
  canvas.drawImage(image, 0, 0);
  const linear = (byte) => (byte <= 10.31 ? byte / 3294.6 : ((byte / 255 + 0.055) / 1.055) ** 2.4);
  const luminance = (rgb, i = 0) =>
    0.2126 * linear(rgb[i]) + 0.7152 * linear(rgb[i + 1]) + 0.0722 * linear(rgb[i + 2]);
  const box = (id) => document.getElementById(id).getBoundingClientRect();
  const pixels = (x, y, width = 1, height = 1) => canvas.getImageData(x, y, width, height).data;
  const window = luminance(pixels(box('Form1').x + 2, box('Form1').bottom - 2));
  const line = pixels(box('Line1').x, box('Line1').y, box('Line1').width, 1);
  const contrasts = Array.from({ length: line.length / 4 }, (_, i) => {
    const [light, dark] = [luminance(line, 4 * i), window].sort((a, b) => b - a);
    return (light + 0.05) / (dark + 0.05);
  });
  return {
    window,
    box: luminance(pixels(box('HV').right - 4, box('HV').y + 4)),
    line: Math.max(...contrasts),
  };
}

for (const [name, { launch, schemes, largeText }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser, large; // large: set to a minimum font size of 16 px
    before(async () => {
      [browser, large] = await Promise.all([launch(), launch(largeText)]);
    });
    after(() => Promise.all([browser?.close(), large?.close()]));

    // Every control and all its text on screen, nothing overlapping, and the
    // tools working; where all fits, the form as drawn.
    test('fits every screen and every size of text', async () => {
      for (const [shown, width, height, style] of [
        [browser, 320, 568],
        [browser, 360, 640],
        [browser, 768, 1024],
        [browser, 320, 568, spacing],
        [browser, 1024, 768, spacing],
        [large, 320, 568],
        [large, 1024, 768],
      ]) {
        const at = await open(shown, url, width, height);
        await at.evaluate(
          (rules) => rules.forEach((rule) => document.styleSheets[0].insertRule(rule)),
          style ?? [],
        );
        await settled(at);
        const [wrong, size] = await at.evaluate(layout);
        const named = `${width}x${height} ${style ? 'spaced' : shown === large ? '16 px' : ''}`;
        assert.deepEqual(wrong, [], named);
        assert.ok(width < 400 || style || shown === large || size === '374x329', size);
        assert.equal(await calculates(at), '1381');
        await at.close();
      }
    });

    for (const [scheme, setting] of Object.entries(schemes)) {
      test(`reads, and passes axe-core, in ${scheme} colours`, async (t) => {
        const own = typeof setting === 'object' ? await launch(setting) : null;
        t.after(() => own?.close());
        const shown = await open(own ?? browser, url);
        const features = [{ name: setting, value: scheme === 'forced' ? 'active' : scheme }];
        if (!own)
          await (await shown.createCDPSession()).send('Emulation.setEmulatedMedia', { features });
        const read = await shown.evaluate(colours, await shown.screenshot({ encoding: 'base64' }));
        assert.ok(scheme !== 'dark' || (read.window < 0.05 && read.box < 0.05), 'dark as one');
        assert.ok(read.line >= 3, `the line: ${read.line.toFixed(2)}:1`);
        await shown.evaluate(axe);
        const { violations } = await shown.evaluate(() => axe.run());
        const found = violations.map(
          ({ id, nodes }) => `${id}: ${nodes.map((node) => node.target)}`,
        );
        assert.deepEqual(found, []);
      });
    }
  });
}
