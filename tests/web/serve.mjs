// A static file server for the web build's folder, as any static server would serve it: the page
// needs nothing else. The browser test starts one; scripts/web runs one for a person.
//   node serve.mjs FOLDER [PORT]
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize} from 'node:path';
import {fileURLToPath} from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.md': 'text/markdown; charset=utf-8',
};

// Serves `root` on 127.0.0.1 at `port` (0: any free one); resolves to the server once it listens.
export function serve(root, port = 0) {
  const server = createServer(async (request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    // Nothing outside the folder: normalising an absolute path drops every ".." above its root.
    const path = join(root, normalize(wanted.endsWith('/') ? wanted + 'index.html' : wanted));
    try {
      const body = await readFile(path);
      // The licence texts are plain text, whatever their names end in.
      const type = wanted.startsWith('/licenses/') ? 'text/plain; charset=utf-8' : TYPES[extname(path)];
      response.writeHead(200, {'Content-Type': type || 'application/octet-stream'});
      response.end(body);
    } catch {
      response.writeHead(404, {'Content-Type': 'text/plain'});
      response.end('not found\n');
    }
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [folder, port = '8080'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const server = await serve(folder, Number(port));
  console.log(`Serving ${folder} at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
