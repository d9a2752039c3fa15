#!/usr/bin/env python3
"""Serves the web page that web.sh builds (build-web/) on 127.0.0.1.

    tools/serve_web.py [port, default 8000] [folder, default build-web]

The page is sent cross-origin isolated (the two headers below): only then does
the browser give it its clock at full resolution (a few microseconds rather
than a tenth of a millisecond), which the frame limiter needs to keep 45 frames
a second at TURBO. Any server that sends the same headers will do.
"""
import functools
import http.server
import os
import sys


class IsolatedHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.js': 'text/javascript', '.wasm': 'application/wasm'}

    def end_headers(self):
        self.send_header('Cross-Origin-Opener-Policy', 'same-origin')
        self.send_header('Cross-Origin-Embedder-Policy', 'require-corp')
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()


def main():
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 8000
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'build-web')
    if not os.path.isfile(os.path.join(folder, 'index.html')):
        sys.exit(f'serve_web: no page in {folder} (build it with ./web.sh)')
    handler = functools.partial(IsolatedHandler, directory=folder)
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print(f'serving {folder} at http://127.0.0.1:{port}/ (Ctrl+C stops)')
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
