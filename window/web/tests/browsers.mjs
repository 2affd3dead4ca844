// The browsers the page is tested in, Debian's Chromium and Firefox, started
// by puppeteer-core: each with its driver's names for the behaviour table's
// keys (to Firefox's, as to WebDriver, "Enter" is the keypad's), how it shows
// the page in light, dark and forced colours (Chromium switches while the
// page is open, Firefox starts in them), and how it starts, with Firefox's
// preferences given (Chromium's as its settings' switches) and set to the
// reader's language given, and how it is set to a minimum font size of
// 16 px, as many with low vision set it.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

// The built page, opened from disk, and the table every window passes.
export const file = process.env.QUORVANE_PAGE;
export const url = pathToFileURL(file).href;
export const readJson = (path) => JSON.parse(readFileSync(new URL(path, import.meta.url)));

export const browsers = {
  Chromium: {
    // Under a display, as a user's, where `headed` is set.
    keys: { Tab: 'Tab', Return: 'Enter', Enter: 'NumpadEnter', Esc: 'Escape' },
    launch: (preferences, language, headed = false) =>
      puppeteer.launch({
        headless: !headed,
        executablePath: '/usr/bin/chromium',
        args: [
          '--no-sandbox',
          ...(language ? [`--accept-lang=${language}`] : []),
          ...(preferences ?? []),
        ],
      }),
    schemes: {
      light: 'prefers-color-scheme',
      dark: 'prefers-color-scheme',
      forced: 'forced-colors',
    },
    largeText: ['--blink-settings=minimumFontSize=16'],
  },
  Firefox: {
    keys: { Tab: 'Tab', Return: '\uE006', Enter: 'Enter', Esc: 'Escape' },
    launch: (preferences, language, headed = false) =>
      puppeteer.launch({
        headless: !headed,
        browser: 'firefox',
        executablePath: '/usr/bin/firefox-esr',
        extraPrefsFirefox: {
          ...preferences,
          ...(language && { 'intl.accept_languages': language }),
        },
      }),
    schemes: {
      light: { 'layout.css.prefers-color-scheme.content-override': 1 },
      dark: { 'layout.css.prefers-color-scheme.content-override': 0 },
      forced: { 'browser.display.document_color_use': 2 },
    },
    largeText: { 'font.minimum-size.x-western': 16 },
  },
};

// Opens the page at `url` on a screen of `width` by `height` CSS pixels, a
// phone's touch screen where `touch` is set, once its core is ready (unless
// it is a copy that cannot run); what it requests, and any message or error
// of its console, are listed as it goes.
export async function open(browser, url, width = 420, height = 400, runs = true, touch = false) {
  const page = await browser.newPage();
  Object.assign(page, { requests: [], said: [] });
  page.on('request', (request) => page.requests.push(request.url()));
  ['console', 'pageerror'].forEach((event) =>
    page.on(event, (said) => page.said.push(said.message ?? said.text())),
  );
  await page.setViewport({ width, height, hasTouch: touch, isMobile: touch });
  await page.goto(url);
  if (runs) {
    await page.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
  }
  return page;
}

// Offset 8123 to pointer 1381, with the keys and a click.
export const calculates = (shown) =>
  shown
    .type('#offset', '8123')
    .then(() => shown.click('#Calculate'))
    .then(() => shown.$eval('#pointer', (box) => box.value));

// The ROM view shown, with the test game the native build assembles open.
const game = join(process.env.QUORVANE_NATIVE_BUILD ?? '', 'test-roms', 'game.nes');
export async function withGame(page) {
  await page.click('#view-rom');
  await (await page.$('#rom-file')).uploadFile(game);
  await page.waitForFunction(() => document.getElementById('rom-info').children.length > 0);
}
