#!/usr/bin/env python3
"""The browser page driven in headless Chromium, byte for byte against the Linux build.

    browser_test.py --site DIR --native ZORVANDREL [unittest arguments...]

Serves the built site (index.html, the program's .js and .wasm, xterm.js) from
a local http.server on 127.0.0.1, types into the terminal as a user does, and
compares what the page's test hook reports (window.zorvandrel: transcript(),
exitCode(), files()) with the native binary run on the same input bytes (each
line followed by CR LF) in a temporary folder that starts with an empty
logfile.txt. ZV_WEB_SITE, if set, overrides --site. The unittest arguments pick
cases, e.g. Page.test_6_load_to_greeting for the load-to-greeting figure alone.

Exits 77 (skipped) when the site, chromium, chromedriver or Selenium is
missing, unless ZV_WEB_REQUIRED=1, where that is a failure.
"""

import argparse
import functools
import http.server
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import unittest
from pathlib import Path
from urllib.parse import urlsplit

SKIP = 77
SOURCE_DIR = Path(__file__).resolve().parents[2]
CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
GREETING = "Welcome to Zorvandrel! Please, read FAQ & README files."

# Typed-line notation: "\b" is the Backspace key, "\x1a" Ctrl-Z; a line that is
# exactly CTRL_D is Ctrl-D on an empty line (end of input, no Enter after it).
CTRL_D = "\x04"


def skip_or_fail(reason):
    print(f"skipped: {reason}")
    sys.exit(1 if os.environ.get("ZV_WEB_REQUIRED") == "1" else SKIP)


try:
    from selenium import webdriver
    from selenium.common.exceptions import NoAlertPresentException, TimeoutException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    # Debian's python3-selenium lives with Debian's interpreter.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    skip_or_fail("Selenium is missing (Debian: python3-selenium)")


def menu_leaves():
    """(path, template number, typed lines after the name) for each row of the README's menu map."""
    rows = re.findall(r"^\| ([0-9/]+) \| `mvk_id_([0-9]+)`", (SOURCE_DIR / "README.md").read_text(), re.M)
    fragments = {1: ["x*x"], 2: ["x*x"], 6: [">", "0"], 9: [">", "0"], 13: [">", "0"], 46: [">="], 47: [">="]}
    return [(path, int(n), path.split("/") + fragments.get(int(n), [])) for path, n in rows]


def native_bytes(lines):
    """The bytes the page sends for these typed lines (UTF-8)."""
    out = b""
    for line in lines:
        if line == CTRL_D:
            break
        text = ""
        for c in line:
            text = text[:-1] if c == "\b" else text + c
        out += text.encode() + b"\r\n"
    return out


def run_native(*dialogues):
    """(stdout, exit code, {file name: bytes}) of the Linux build's last run, after the
    dialogues one after another in a fresh folder."""
    with tempfile.TemporaryDirectory(prefix="zv-native-") as folder:
        Path(folder, "logfile.txt").write_bytes(b"")
        for lines in dialogues:
            done = subprocess.run([ARGS.native], input=native_bytes(lines), cwd=folder, capture_output=True,
                                  timeout=30)
        files = {str(p.relative_to(folder)): p.read_bytes() for p in Path(folder).rglob("*") if p.is_file()}
        return done.stdout, done.returncode, files


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


# The time the greeting first shows in the terminal's rows, in ms after the
# navigation started; installed before any script of the page runs.
GREETING_PROBE = """
(() => {
  const want = %s;
  const seen = () => {
    const rows = document.querySelector('#terminal .xterm-rows');
    if (!rows || !rows.textContent.replace(/\\u00a0/g, ' ').includes(want)) return;
    window.__zvGreetingAt = performance.now();
    observer.disconnect();
  };
  const observer = new MutationObserver(seen);
  observer.observe(document, {childList: true, subtree: true, characterData: true});
})();
""" % json.dumps(GREETING)


class Page(unittest.TestCase):
    """One Chromium session over one served site, shared by every case."""

    @classmethod
    def setUpClass(cls):
        handler = functools.partial(QuietHandler, directory=str(ARGS.site))
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.origin = f"http://127.0.0.1:{cls.server.server_address[1]}"
        cls.url = cls.origin + "/index.html"
        cls.profile = tempfile.mkdtemp(prefix="zv-chromium-")
        cls.downloads = tempfile.mkdtemp(prefix="zv-downloads-")

        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=1280,900", f"--user-data-dir={cls.profile}"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
        options.add_experimental_option("prefs", {"download.default_directory": cls.downloads,
                                                  "download.prompt_for_download": False})
        cls.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        cls.driver.set_script_timeout(30)
        cls.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                   {"behavior": "allow", "downloadPath": cls.downloads})
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": GREETING_PROBE})
        cls.native_cache = {}
        cls.typed = {}
        cls.load()
        cls.first_load = cls.driver.execute_script("return window.__zvGreetingAt;")

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        shutil.rmtree(cls.profile, ignore_errors=True)
        shutil.rmtree(cls.downloads, ignore_errors=True)

    # ---- the page ----------------------------------------------------------

    @classmethod
    def hook(cls, call):
        return cls.driver.execute_script(f"return window.zorvandrel && window.zorvandrel.{call};")

    @classmethod
    def wait(cls, condition, what, seconds=30):
        try:
            return WebDriverWait(cls.driver, seconds, poll_frequency=0.02).until(lambda _: condition(), what)
        except TimeoutException:
            raise AssertionError(f"timed out waiting for {what}; transcript so far: {cls.transcript()!r}")

    @classmethod
    def transcript(cls):
        text = cls.hook("transcript()")
        return None if text is None else text.encode("latin-1")

    @classmethod
    def files(cls):
        return {name: text.encode("latin-1") for name, text in (cls.hook("files()") or {}).items()}

    @classmethod
    def wait_ready(cls):
        cls.wait(lambda: cls.hook("exitCode()") is None and cls.hook("ready()") is True, "the first prompt")

    @classmethod
    def wait_exit(cls):
        code = lambda: cls.hook("exitCode()")
        cls.wait(lambda: code() is not None, "the run's exit code")
        return code()

    @classmethod
    def load(cls):
        cls.driver.get(cls.url)
        cls.wait_ready()

    @classmethod
    def click(cls, selector):
        cls.driver.find_element(By.CSS_SELECTOR, selector).click()
        try:  # a confirmation, where the page asks for one
            cls.driver.switch_to.alert.accept()
        except NoAlertPresentException:
            pass

    @classmethod
    def fresh_run(cls):
        """A new run over a cleared folder (one empty logfile.txt), waiting at its first prompt."""
        if cls.hook("exitCode()") is None:  # end the waiting run first
            cls.type_lines([CTRL_D])
            cls.wait_exit()
        cls.click("#clear-folder")
        cls.wait(lambda: cls.files() == {"logfile.txt": b""}, "the cleared folder")
        cls.click("#run-again")
        cls.wait_ready()

    @classmethod
    def type_lines(cls, lines):
        area = cls.driver.find_element(By.CSS_SELECTOR, "#terminal .xterm-helper-textarea")
        cls.driver.execute_script("arguments[0].focus();", area)  # Ctrl keys go to the focused element
        for line in lines:
            keys = ""
            for c in line:
                if c in (CTRL_D, "\x1a"):
                    if keys:
                        area.send_keys(keys)
                        keys = ""
                    letter = "d" if c == CTRL_D else "z"
                    ActionChains(cls.driver).key_down(Keys.CONTROL).send_keys(letter).key_up(Keys.CONTROL).perform()
                else:
                    keys += Keys.BACKSPACE if c == "\b" else c
            if line != CTRL_D:
                area.send_keys(keys + Keys.ENTER)

    def paste(self, text):
        self.driver.execute_script("""
            const area = document.querySelector('#terminal .xterm-helper-textarea');
            area.focus();
            const data = new DataTransfer();
            data.setData('text/plain', arguments[0]);
            area.dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true, cancelable: true}));
        """, text)

    def page_run(self, lines):
        """(transcript, exit code, files) of one typed dialogue in a fresh run."""
        self.fresh_run()
        self.type_lines(lines)
        code = self.wait_exit()
        return self.transcript(), code, self.files()

    def native(self, lines):
        key = tuple(lines)
        if key not in self.native_cache:
            self.native_cache[key] = run_native(lines)
        return self.native_cache[key]

    def assert_same_as_native(self, lines, page, expected_code=None):
        out, code, files = self.native(lines)
        page_out, page_code, page_files = page
        self.assertEqual(page_out, out)
        self.assertEqual(page_code, code)
        self.assertIn(str(code), self.driver.find_element(By.ID, "status").text)
        self.assertEqual(page_files.get("logfile.txt"), files.get("logfile.txt"), "the log")
        self.assertEqual(page_files, files)
        if expected_code is not None:
            self.assertEqual(code, expected_code, "the native run's exit code")

    # ---- cases -------------------------------------------------------------

    def test_1_every_menu_leaf_as_on_linux(self):
        leaves = menu_leaves()
        self.assertEqual(len(leaves), 60, "rows in the README's menu map")
        for path, n, answers in leaves:
            with self.subTest(path=path, template=n):
                lines = ["prog", *answers, ""]
                page = self.page_run(lines)
                self.typed[path] = page
                self.assert_same_as_native(lines, page, expected_code=0)
                log_line = f"sgenerirovana programma mvk_id_{n} v file prog.txt\r\n".encode()
                self.assertEqual(page[2]["logfile.txt"], log_line)

    def test_2_errors_as_on_linux(self):
        cases = [
            ("wrong top-menu answer", ["prog", "4", ""], 0),
            ("wrong lower-menu answer", ["prog", "1", "2", "7", ""], 0),
            ("wrong answer at the silent menu 1/6", ["prog", "1", "6", "9", ""], 0),
            ("dva at a menu", ["prog", "1", "dva"], 106),
            ("a folder that does not exist", ["nosuch/prog", "1", "1", "3", ""], 3),
            ("the name logfile", ["logfile", "1", "1", "3", ""], 5),
            ("Ctrl-D at the name prompt", [CTRL_D], 0),
            ("Ctrl-Z then Enter at the top menu", ["prog", "\x1a", ""], 0),
            ("Backspace edits the line", ["prgo\b\bog", "1", "1", "3", "\b"], 0),
            ("a name in Cyrillic (UTF-8)", ["программа", "1", "1", "3", ""], 0),
        ]
        for what, lines, code in cases:
            with self.subTest(what):
                self.assert_same_as_native(lines, self.page_run(lines), expected_code=code)
        self.assertEqual(self.native(["logfile", "1", "1", "3", ""])[2], {"logfile.txt": b""}, "the log kept")

    def test_3_pasted_dialogue_equals_typed(self):
        for path, lines in (("1/2/1/3", ["prog", "1", "2", "1", "3", ">", "0", ""]),
                            ("1/5/2", ["prog", "1", "5", "2", ">=", ""])):
            with self.subTest(path=path):
                self.fresh_run()
                self.paste("\n".join(lines) + "\n")
                code = self.wait_exit()
                page = self.transcript(), code, self.files()
                self.assert_same_as_native(lines, page, expected_code=0)
                if path in self.typed:
                    self.assertEqual(page, self.typed[path], "the typed run")

    def test_4_folder_persists_downloads_and_clears(self):
        first, second = ["prog", "1", "1", "1", "x*x", ""], ["geo", "2", "1", "1", "1", ""]
        _, _, native_files = run_native(first, second)
        self.assertEqual(native_files["logfile.txt"].count(b"\r\n"), 2)
        self.page_run(first)
        self.click("#run-again")
        self.wait_ready()
        self.type_lines(second)
        self.wait_exit()
        self.driver.refresh()
        self.wait_ready()
        self.assertEqual(self.files(), native_files, "the folder after a reload")
        def listed():
            return [li.get_attribute("data-name") for li in self.driver.find_elements(By.CSS_SELECTOR, "#files li")]

        self.assertEqual(sorted(listed()), sorted(native_files))

        for old in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, old))
        self.driver.find_element(By.CSS_SELECTOR, '#files li[data-name="prog.txt"] a.download').click()
        target = Path(self.downloads, "prog.txt")
        self.wait(lambda: target.exists() and not any(n.endswith(".crdownload") for n in os.listdir(self.downloads)),
                  "the download", seconds=15)
        self.assertEqual(target.read_bytes(), native_files["prog.txt"])
        self.assertIn(b"\r\n", target.read_bytes())

        self.click('#files li[data-name="geo.txt"] button.delete')
        self.wait(lambda: sorted(listed()) == ["logfile.txt", "prog.txt"], "the list without the deleted file")
        self.assertNotIn("geo.txt", self.files())

        # Cleared, and still so for a run started at once and after a reload.
        self.type_lines([CTRL_D])
        self.wait_exit()
        self.click("#clear-folder")
        self.wait(lambda: self.files() == {"logfile.txt": b""}, "the cleared folder")
        self.wait(lambda: listed() == ["logfile.txt"], "the cleared list")
        self.click("#run-again")
        self.wait_ready()
        self.assertEqual(self.files(), {"logfile.txt": b""}, "the folder of the next run")
        self.driver.refresh()
        self.wait_ready()
        self.assertEqual(self.files(), {"logfile.txt": b""}, "the cleared folder after a reload")
        self.assertEqual(listed(), ["logfile.txt"])

    def test_5_nothing_from_another_origin(self):
        self.driver.get_log("performance")
        self.load()
        self.type_lines(["prog", "1", "1", "3", ""])
        self.wait_exit()
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        urls += self.driver.execute_script("return performance.getEntriesByType('resource').map(e => e.name);")
        self.assertIn(self.url, urls, "the network log saw the page")
        # data: and blob: stay inside the page; chrome: is the browser's own.
        foreign = [u for u in urls if urlsplit(u).scheme not in ("data", "blob", "chrome")
                   and f"{urlsplit(u).scheme}://{urlsplit(u).netloc}" != self.origin]
        self.assertEqual(foreign, [])

    def test_6_load_to_greeting(self):
        times, parsed = [], []
        for _ in range(10):
            self.driver.get(self.url)
            self.wait(lambda: self.driver.execute_script("return window.__zvGreetingAt;") is not None,
                      "the greeting on screen")
            times.append(self.driver.execute_script("return window.__zvGreetingAt;"))
            parsed.append(self.driver.execute_script(
                "return performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd;"))
        first = "?" if self.first_load is None else f"{self.first_load:.1f}"
        print(f"\nbenchmark: navigation to greeting on screen, median {statistics.median(times):.1f} ms over 10 loads"
              f" (min {min(times):.1f}, max {max(times):.1f}; the page parsed at {statistics.median(parsed):.1f} ms;"
              f" the first load in a fresh profile {first} ms)", flush=True)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, required=True)
    parser.add_argument("--native", type=lambda p: str(Path(p).resolve()), required=True)
    ARGS, rest = parser.parse_known_args()
    if os.environ.get("ZV_WEB_SITE"):
        ARGS.site = Path(os.environ["ZV_WEB_SITE"])
    if not (ARGS.site / "index.html").is_file() or not list(ARGS.site.glob("*.wasm")):
        skip_or_fail(f"no built site in {ARGS.site} (cmake --workflow --preset web builds it)")
    for program, package in ((CHROMIUM, "chromium"), (CHROMEDRIVER, "chromium-driver")):
        if not os.access(program, os.X_OK):
            skip_or_fail(f"{program} is missing (Debian: {package})")
    if not os.access(ARGS.native, os.X_OK):
        sys.exit(f"no native binary at {ARGS.native}")
    result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
