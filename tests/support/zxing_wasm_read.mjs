// Reads each PNG file named on the command line with zxing-wasm (zxing-cpp
// compiled to WebAssembly) and prints one line per file: the format and the
// hexadecimal bytes of the first symbol found, or "-". The .wasm file is
// handed over from tests/node_modules; any attempt to reach the network fails.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, join } from "node:path";

globalThis.fetch = () => {
  throw new Error("zxing-wasm must not fetch anything");
};
const require = createRequire(join(process.argv[2], "package.json"));
const reader = require("zxing-wasm/reader");
const wasmPath = join(dirname(require.resolve("zxing-wasm/reader")), "../../reader/zxing_reader.wasm");
await reader.prepareZXingModule({
  overrides: { wasmBinary: readFileSync(wasmPath), locateFile: () => wasmPath },
  fireImmediately: true,
});
for (const file of process.argv.slice(3)) {
  const results = await reader.readBarcodes(new Uint8Array(readFileSync(file)), {
    formats: ["QRCode", "MicroQRCode", "rMQRCode"],
    tryHarder: true,
    maxNumberOfSymbols: 1,
  });
  const found = results.find((r) => r.isValid);
  console.log(found ? `${found.format} ${Buffer.from(found.bytes).toString("hex")}` : "-");
}
