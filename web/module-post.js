// Appended inside the generated module script (emcc --post-js). The module's bytes are
// embedded as base64; the runtime's own decoder copies them through a string a character at a
// time, about 8 ms at start-up, where the browser's Uint8Array.fromBase64 takes a fraction of
// one. This declaration replaces the runtime's (of two function declarations of one name in a
// scope, the later is the one), and keeps its ways where there is no fromBase64: Buffer in
// node, atob (or the runtime's own) in an older browser.
function intArrayFromBase64(s) {
  if (typeof Uint8Array.fromBase64 == "function") return Uint8Array.fromBase64(s);
  if (typeof ENVIRONMENT_IS_NODE == "boolean" && ENVIRONMENT_IS_NODE) {
    var buffer = Buffer.from(s, "base64");
    return new Uint8Array(buffer.buffer, buffer.byteOffset, buffer.byteLength);
  }
  var decoded = decodeBase64(s);
  var bytes = new Uint8Array(decoded.length);
  for (var i = 0; i < decoded.length; ++i) bytes[i] = decoded.charCodeAt(i);
  return bytes;
}
