// Quorvane's window in a browser. Every rule is the core's, compiled to
// WebAssembly from the same C++ as the desktop windows: this script reads
// the boxes, calls the core, and shows its result or its error.

// The page as it was loaded, before this script changes anything, for the
// ROM view to save a copy of (a patcher page).
globalThis.quorvanePage = `<!DOCTYPE html>\n${document.documentElement.outerHTML}`;

const control = (id) => document.getElementById(id);
const [Form1, offset, pointer, word, HV, status, ended] = [
  'Form1',
  'offset',
  'pointer',
  'word',
  'HV',
  'status',
  'ended',
].map(control);
const [utf16, ascii] = [new TextDecoder('utf-16le'), new TextDecoder()];

// The core compiled from the bytes the page holds, which asks nothing of the
// network. A browser that runs no WebAssembly (some are set so) is told so
// plainly, rather than shown a window whose buttons do nothing.
const bytes = control('coreBytes').textContent;
const core = await QuorvaneCore({
  wasmBinary:
    Uint8Array.fromBase64?.(bytes) ??
    Uint8Array.from(atob(bytes), (character) => character.charCodeAt(0)),
}).catch((error) => {
  control('starting').textContent =
    'Quorvane cannot start: this browser is set to run no WebAssembly.';
  throw error;
});

// Hands a text to the core, as the UTF-16 code units a box holds; false
// where it has no room for it.
function send(text) {
  const at = core._quorvane_input(text.length) / 2;
  const units = core.HEAPU16; // after the call: the memory may have grown
  for (let i = 0; at && i < text.length; ++i) {
    units[at + i] = text.charCodeAt(i);
  }
  return at !== 0;
}

// A text the core holds: its reply to the last call, or its error's hint.
function read(at, length) {
  return utf16.decode(core.HEAPU8.subarray(at, at + length * 2));
}
const reply = () => read(core._quorvane_reply(), core._quorvane_reply_length());
const hint = () => read(core._quorvane_hint(), core._quorvane_hint_length());

// The code page Windows gives the reader's language, and the browser's
// decoder for it, found as the page opens, when the hex value box's tool tip
// comes to say whose codes it gives. A browser decodes code pages but has no
// encoder for them: the core lists the code page's codes, the decoder
// decodes them, and the core makes its table from what they decode to. That
// is done once the browser is idle after the window shows, or by a word that
// is not ASCII before then. Where there is no decoder, or it fails,
// Windows-1252 stands.
const codePage = { wanted: 1252, decoder: null, learnt: false };
const noDecoder = (error) =>
  console.warn(
    `Quorvane: no decoder for the code page of ${navigator.language} (${error.message}); using Windows-1252`,
  );

function describeCodePage(had) {
  HV.title = '';
  if (send(navigator.language)) {
    core._quorvane_describe_code_page(had, codePage.wanted);
    HV.title = reply();
  }
}

function findCodePage() {
  if (send(navigator.language)) {
    codePage.wanted = core._quorvane_code_page();
    core._quorvane_decoder_name(codePage.wanted);
    try {
      codePage.decoder = new TextDecoder(reply());
    } catch (error) {
      noDecoder(error);
    }
  }
  describeCodePage(codePage.decoder ? codePage.wanted : 1252);
}

function learnCodePage() {
  if (codePage.learnt || !codePage.decoder) return;
  codePage.learnt = true;
  try {
    const at = core._quorvane_code_listing(codePage.wanted);
    const listing = core.HEAPU8.subarray(at, at + core._quorvane_code_listing_length());
    if (!send(codePage.decoder.decode(listing))) throw new Error('no room');
    core._quorvane_use_code_page(codePage.wanted);
  } catch (error) {
    noDecoder(error);
    describeCodePage(1252);
  }
}

// Runs a tool on the text of `input`, and gives its result to `show`. An
// error is reported in the message dialog, after which `input` is focused
// with its text selected; every box keeps its text.
function run(input, tool, show) {
  if (send(input.value) && tool()) {
    const at = core._quorvane_result();
    show(ascii.decode(core.HEAPU8.subarray(at, at + core._quorvane_result_length())));
    return;
  }
  control('messageText').textContent = reply();
  control('messageHint').textContent = hint();
  control('message').addEventListener(
    'close',
    () => {
      input.focus();
      input.select();
    },
    { once: true },
  );
  control('message').showModal();
}

function describePointer() {
  pointer.title = '';
  if (send(pointer.value)) {
    core._quorvane_describe_pointer();
    pointer.title = reply();
  }
}

function Calculate_Click() {
  const type1 = control('Option1').checked;
  const type2 = control('Option2').checked;
  run(
    offset,
    () => core._quorvane_pointer(type1, type2),
    (text) => {
      pointer.value = text;
      describePointer();
      status.textContent = `Pointer ${text}`;
    },
  );
}

function Command1_Click() {
  if (/[^\0-\x7F]/.test(word.value)) learnCodePage();
  run(
    word,
    () => core._quorvane_word_to_hex(),
    (codes) => {
      HV.value = codes;
      HV.setSelectionRange(0, 0); // the codes from their start
      HV.scrollLeft = 0;
      status.textContent =
        codes.length <= 200 ? `Hex value${codes}` : `Hex value: ${word.value.length} codes`;
    },
  );
}

// A page may close only a tab that a script opened; elsewhere it shows that
// Quorvane has ended, and nothing of the window stays.
function Exit_Click() {
  window.close();
  control('app').remove();
  ended.hidden = false;
  ended.focus();
}

// The captions and line in the colours the core chooses for the browser's
// text colour of the moment. A browser shows a page no colour 19 of the
// desktop (it answers every page the same grey), so there is none to follow.
function applyCaptionColours() {
  ended.style.color = 'CanvasText';
  const [red, green, blue] = getComputedStyle(ended).color.match(/\d+/g).map(Number);
  ended.style.color = '';
  core._quorvane_caption_colours((red << 16) | (green << 8) | blue);
  ['--background', '--text', '--line'].forEach((property, which) => {
    const colour = core._quorvane_caption_colour(which);
    Form1.style.setProperty(
      property,
      `rgb(${colour >> 16} ${(colour >> 8) & 255} ${colour & 255})`,
    );
  });
}

control('Calculate').addEventListener('click', Calculate_Click);
control('Command1').addEventListener('click', Command1_Click);
control('Exit').addEventListener('click', Exit_Click);
pointer.addEventListener('input', describePointer);
for (const query of ['(prefers-color-scheme: dark)', '(forced-colors: active)']) {
  matchMedia(query).addEventListener('change', applyCaptionColours);
}
applyCaptionColours();
findCodePage();

// The form's geometry holds while every caption and button fits its place:
// where larger or more widely spaced text makes one run into another
// control, or out of the window, the window flows as on a narrow screen.
const placed = [...Form1.querySelectorAll('#Form1 > :not([role], #status), [role] > *')];
const main = Form1.closest('main');
function fitForm() {
  main.classList.remove('flows');
  const frame = Form1.getBoundingClientRect();
  const boxes = placed.map((element) => element.getBoundingClientRect());
  const overlap = (a, b) =>
    a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  main.classList.toggle(
    'flows',
    boxes.some(
      (box, i) =>
        box.right > frame.right ||
        box.bottom > frame.bottom ||
        boxes.slice(i + 1).some((other) => overlap(box, other)),
    ),
  );
}
const observer = new ResizeObserver(fitForm);
placed.forEach((element) => observer.observe(element));

// The window takes the sentence's place in a sheet of the script's own,
// which a copy saved without the script does not keep.
const started = new CSSStyleSheet();
started.replaceSync('#starting { display: none; } #app { display: contents; }');
document.adoptedStyleSheets = [started];
Form1.removeAttribute('aria-busy');
// The window opens ready for an offset. A browser drops the autofocus of a
// box that is hidden as the page loads, so the script that shows the window
// gives the focus.
offset.focus();
(window.requestIdleCallback ?? setTimeout)(learnCodePage);

// Put on a web host, the page names its manifest: it is then an app, whose
// worker keeps its files for opening offline. Opened from disk it has none.
if (document.querySelector('link[rel=manifest]') && navigator.serviceWorker) {
  navigator.serviceWorker
    .register('service-worker.js')
    .catch((error) => console.warn(`Quorvane: will not open offline (${error.message})`));
}
