// The ROM view's module at work in a worker of its own, so that the page
// answers and its progress bar moves however large the file: the worker
// runs each call the page sends, over the files the page hands it, and
// sends back what the module said and any file it made. The page starts it
// from its own text, after the module's script; its first call gives the
// module's compiled code.
const utf8 = new TextDecoder();
let core = null;

const said = () => {
  const at = core._quorvane_said();
  return utf8.decode(core.HEAPU8.subarray(at, at + core._quorvane_said_length()));
};

// The calls that move a file in or out of a slot; any other is the
// module's function of that name.
const files = {
  put(slot, bytes) {
    const at = core._quorvane_file(slot, bytes.length);
    if (!at && bytes.length) throw new Error('out of memory');
    core.HEAPU8.set(bytes, at);
  },
  take(slot, from = 0, size = core._quorvane_size(slot) - from) {
    const at = core._quorvane_data(slot) + from;
    return core.HEAPU8.slice(at, at + size);
  },
};

onmessage = async ({ data: { id, name, args } }) => {
  let reply;
  try {
    if (name === 'start') {
      core = await QuorvaneRom({ wasmBinary: args[0] });
      reply = {};
    } else if (files[name]) {
      reply = { bytes: files[name](...args) };
    } else {
      const result = core[`_quorvane_${name}`](...args);
      reply = { result, said: said() };
    }
  } catch (error) {
    reply = { error: error?.message ?? String(error) };
  }
  postMessage({ id, ...reply }, reply.bytes ? [reply.bytes.buffer] : []);
};
