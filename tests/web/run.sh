#!/bin/sh
# The browser test, run by test.sh after the native tests: builds the page
# (web.sh), installs the test's browser driver from its lock file, and drives
# the page in Debian's Chromium against the headless game of the native build.
#   tests/web/run.sh [native build folder, default build] [--measure]
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${1:-build}"
shift || true
case "$build" in /*) ;; *) build="$root/$build" ;; esac
"$root/web.sh"
cd "$root/tests/web"
# The driver (puppeteer-core) uses the installed Chromium and downloads none.
if [ ! -d node_modules/puppeteer-core ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund >/dev/null
fi
node page_test.mjs "$root/build-web" "$build/tests/web/web_reference" "$root" "$@"
