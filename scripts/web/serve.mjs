// A static server on 127.0.0.1 for the web build's folder, sending the two
// headers shared memory needs (a page's program runs its threads on it).
//   node scripts/web/serve.mjs DIR PORT
// KLV_SERVE_PLAIN=1 leaves the headers out (to test the service worker
// that adds them on hosts that cannot).
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';

const [folder = 'build/web', port = '8080'] = process.argv.slice(2);
const root = resolve(folder);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.css': 'text/css', '.png': 'image/png', '.bmp': 'image/bmp',
  '.jpg': 'image/jpeg', '.gif': 'image/gif', '.data': 'application/octet-stream', '.json': 'application/json',
};
const plain = process.env.KLV_SERVE_PLAIN === '1';

const server = createServer(async (request, response) => {
  const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  let file = normalize(join(root, path));
  if (file !== root && !file.startsWith(root + sep)) {
    response.writeHead(403).end();
    return;
  }
  try {
    let info = await stat(file);
    if (info.isDirectory()) file = join(file, 'index.html'), info = await stat(file);
    // Revalidated on every load, answered "not modified" while unchanged.
    const modified = info.mtime.toUTCString();
    const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache',
      'Last-Modified': modified };
    if (!plain) {
      headers['Cross-Origin-Opener-Policy'] = 'same-origin';
      headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
    }
    if (request.headers['if-modified-since'] === modified) {
      response.writeHead(304, headers).end();
      return;
    }
    response.writeHead(200, headers).end(await readFile(file));
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
  }
});
server.listen(Number(port), '127.0.0.1', () => {
  console.log(`http://127.0.0.1:${server.address().port}/`);
});
