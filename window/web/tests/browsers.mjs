// The browsers the page is tested in, Debian's Chromium and Firefox, started
// by puppeteer-core: each with its driver's names for the behaviour table's
// keys (to Firefox's, as to WebDriver, "Enter" is the keypad's), how it shows
// the page in light, dark and forced colours (Chromium switches while the
// page is open, Firefox starts in them), and how it starts, with Firefox's
// preferences given and set to the reader's language given.
import puppeteer from 'puppeteer-core';

export const browsers = {
  Chromium: {
    keys: { Tab: 'Tab', Return: 'Enter', Enter: 'NumpadEnter', Esc: 'Escape' },
    launch: (preferences, language) => puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--no-sandbox', ...(language ? [`--accept-lang=${language}`] : [])],
    }),
    schemes: { light: 'prefers-color-scheme', dark: 'prefers-color-scheme', forced: 'forced-colors' },
  },
  Firefox: {
    keys: { Tab: 'Tab', Return: '\uE006', Enter: 'Enter', Esc: 'Escape' },
    launch: (preferences, language) => puppeteer.launch({
      browser: 'firefox',
      executablePath: '/usr/bin/firefox-esr',
      extraPrefsFirefox: { ...preferences, ...(language && { 'intl.accept_languages': language }) },
    }),
    schemes: {
      light: { 'layout.css.prefers-color-scheme.content-override': 1 },
      dark: { 'layout.css.prefers-color-scheme.content-override': 0 },
      forced: { 'browser.display.document_color_use': 2 },
    },
  },
};

// Opens the page from disk, once its core is ready.
export async function open(browser, url) {
  const page = await browser.newPage();
  page.requests = [];
  page.on('request', (request) => page.requests.push(request.url()));
  await page.setViewport({ width: 420, height: 400 });
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
  return page;
}
