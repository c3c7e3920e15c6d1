#!/usr/bin/python3
"""The browser page's greeting against its floor.

    bench/page_floor.py [--site build/web/site] [--loads 16]

The floor page (bench/floor.js, bundled by the web build with the terminal
options it imports, in a copy of the site's index.html that keeps only its
styles and xterm.js's scripts) loads the same xterm.js, add-ons,
styles and terminal options as the page and writes the greeting at once. Both
are loaded alternately in one headless Chromium profile with a warm HTTP cache
(the server sends the caching headers that the teacher's notes suggest) and
service workers bypassed, served from 127.0.0.1 and opened from disk. For
each, the time from navigation to the greeting in the terminal's rows, as the
lower quartile of the loads, and floor/page.
"""
import argparse
import functools
import http.server
import re
import shutil
import statistics
import sys
import tempfile
import threading
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

# The browser tests' server (the .wasm type), Chromium and probe of the greeting.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "web"))
from browser_test import CHROMEDRIVER, CHROMIUM, GREETING_PROBE, QuietHandler  # noqa: E402

class Quiet(QuietHandler):
    """As the teacher's notes suggest for a server: hashed names kept, index.html asked again."""

    def end_headers(self):
        hashed = re.search(r"\.[0-9a-f]{8}\.\w+$", self.path)
        self.send_header("Cache-Control", "max-age=31536000, immutable" if hashed else "no-cache")
        super().end_headers()


def floor_page(site):
    """index.html with its styles and xterm.js's scripts, then floor.js."""
    html = (site / "index.html").read_text()
    kept = ("xterm", "addon-")
    def script(match):
        return match.group(0) if any(name in match.group(1) for name in kept) else ""
    html = re.sub(r'<script src="([^"]+)"[^>]*></script>\n?', script, html)
    html = re.sub(r'<link rel="(?:preload|manifest)"[^>]*>\n?', "", html)
    return html.replace("</head>", '<script src="floor.js" defer></script>\n</head>')


def quartile(values):
    return statistics.quantiles(values, n=4, method="inclusive")[0]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, default=Path(__file__).resolve().parent.parent / "build/web/site")
    parser.add_argument("--loads", type=int, default=16)
    args = parser.parse_args()

    work = Path(tempfile.mkdtemp(prefix="zv-floor-"))
    site = work / "site"
    shutil.copytree(args.site, site)
    (site / "floor.html").write_text(floor_page(args.site))
    shutil.copy(args.site.parent / "bench" / "floor.js", site / "floor.js")  # bundled by the web build
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()

    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--window-size=1280,900", f"--user-data-dir={work / 'profile'}",
                 "--allow-file-access-from-files"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    try:
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": GREETING_PROBE})

        def greeting(url):
            driver.get(url)
            return WebDriverWait(driver, 30, poll_frequency=0.005).until(
                lambda d: d.execute_script("return window.__zvGreetingAt;"), f"the greeting of {url}")

        port = server.server_address[1]
        for where, base in (("served", f"http://127.0.0.1:{port}/"), ("from disk", site.as_uri() + "/")):
            pages = {"floor": base + "floor.html", "page": base + "index.html"}
            for url in pages.values():
                greeting(url)  # the HTTP cache warm
            times = {name: [] for name in pages}
            for _ in range(args.loads):
                for name, url in pages.items():
                    times[name].append(greeting(url))
            floor, page = quartile(times["floor"]), quartile(times["page"])
            print(f"{where}: floor {floor:.0f} ms, page {page:.0f} ms, floor/page {floor / page:.2f} "
                  f"(lower quartile of {args.loads} loads each)")
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
