#!/usr/bin/env python3
"""The browser page driven in headless Chromium, and a few of its cases in Firefox
ESR, byte for byte against the Linux build.

    browser_test.py --site DIR --native ZORVANDREL [unittest arguments...]

Serves the built site (index.html, the program's .js and .wasm, xterm.js) from
a local http.server on 127.0.0.1, types into the terminal as a user does, and
compares what the page's test hook reports (window.zorvandrel: transcript(),
exitCode(), files()) with the native binary run on the same input bytes (each
line followed by CR LF) in a temporary folder that starts with an empty
logfile.txt. ZV_WEB_SITE, if set, overrides --site. The unittest arguments pick
cases, e.g. Page.test_6_load_to_greeting for the load-to-greeting figure alone,
or Firefox for the cases in Firefox ESR (through firefox_bridge.js and
puppeteer-core from the site's build folder, npm/node_modules).

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
import time
import unittest
from pathlib import Path
from urllib.parse import urlsplit

SKIP = 77
SOURCE_DIR = Path(__file__).resolve().parents[2]
CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
FIREFOX = shutil.which("firefox-esr") or "/usr/bin/firefox-esr"
GREETING = "Welcome to Zorvandrel! Please, read FAQ & README files."

# Typed-line notation: "\b" is the Backspace key, "\x1a" Ctrl-Z, "\x03" Ctrl-C,
# the arrows ← → ↑ ↓ and ⇱ ⇲ ⌦ the keys Left, Right, Up, Down, Home, End and
# Delete; a line that is exactly CTRL_D is Ctrl-D on an empty line (end of
# input), and a line that holds Ctrl-C gets no Enter after it either.
CTRL_D = "\x04"
EDIT_KEYS = {"\b": "BACKSPACE", "←": "LEFT", "→": "RIGHT", "↑": "UP", "↓": "DOWN", "⇱": "HOME", "⇲": "END",
             "⌦": "DELETE"}
SHORT_DIALOGUE = ["prog", "1", "1", "3", ""]
# A school's server on plain http: a name the browsers take for 127.0.0.1, where no service worker runs
# (127.0.0.1 itself counts as a secure origin).
SCHOOL = "school.test"


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
    from selenium.webdriver.support.ui import Select, WebDriverWait
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


def expected_status(code, files, lines):
    """The status line after a run of typed `lines` that ended with `code` and left `files` (English)."""
    if code != 0:
        reasons = re.findall(r"^\s+(\d+): '(.*)',$", (SOURCE_DIR / "web" / "page" / "lang-en.js").read_text(), re.M)
        return f"Run-time error {code}: {dict(reasons)[str(code)]}"
    last = files.get("logfile.txt", b"").split(b"\r\n")[-2:-1]
    written = re.fullmatch(rb"sgenerirovana programma mvk_id_\d+ v file (.*)", last[0]) if last else None
    if written and files.get(written[1].decode()) == b"":
        return f"Generated {written[1].decode()}: the file is empty because this menu entry has no program text."
    if written:
        return f"Generated {written[1].decode()}"
    if CTRL_D in lines:
        return "No program was generated: the input ended."
    return "No program was generated: an answer named no option."


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


def serve(directory, port=0):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port),
                                             functools.partial(QuietHandler, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


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
# True once the worker has no newer one to install: its update check done, the newest one active.
SETTLED_WORKER = """
const done = arguments[0];
navigator.serviceWorker.getRegistration().then(async (r) => {
  await r.update();
  const waiting = () => r.installing || r.waiting;
  while (waiting() && waiting().state !== 'redundant') await new Promise((then) => setTimeout(then, 50));
  done(!!r.active && !waiting());
}, () => done(false));
"""

# Another writer puts arguments[1] (char codes) into file arguments[0], keeping its time, between
# two reads of the folder the page starts on its BroadcastChannel; the first read ends last.
STALE_READ = """
const [name, text, done] = arguments, key = '/store/folder/' + name, tell = new BroadcastChannel('zorvandrel-folder');
const start = IDBDatabase.prototype.transaction;
IDBDatabase.prototype.transaction = function (...args) {
  const transaction = start.apply(this, args);
  IDBDatabase.prototype.transaction = start;  // only the first read is held back
  Object.defineProperty(transaction, 'oncomplete',
                        {set: (then) => transaction.addEventListener('complete', () => setTimeout(then, 1000))});
  return transaction;
};
tell.postMessage('changed');
setTimeout(() => {
  const open = indexedDB.open('/store');
  open.onsuccess = () => {
    const change = open.result.transaction('FILE_DATA', 'readwrite'), store = change.objectStore('FILE_DATA');
    store.get(key).onsuccess = (event) => store.put(
        {...event.target.result, contents: Uint8Array.from(text, (c) => c.charCodeAt(0))}, key);
    change.oncomplete = () => { open.result.close(); tell.postMessage('changed'); setTimeout(done, 2000); };
  };
}, 200);
"""

# The page's clock (performance.now) held by the test: arguments[0] ms on from where it stands
# (0 stops it there), or null to let it run again; so a key's time is the test's, not the machine's.
CLOCK = """
if (!window.__zvClock) {
  const real = performance.now.bind(performance);
  let at = null;
  window.__zvClock = (ms) => { at = ms === null ? null : (at === null ? real() : at) + ms; };
  performance.now = () => (at === null ? real() : at);
}
window.__zvClock(arguments[0]);
"""
# The folder's first read held back until window.__zvReleaseFolder() (installed before the page's scripts).
HOLD_FOLDER = """
(() => {
  let release;
  const held = new Promise((resolve) => (release = resolve));
  window.__zvReleaseFolder = release;
  const open = indexedDB.open.bind(indexedDB);
  indexedDB.open = (...args) => {
    const request = open(...args);
    Object.defineProperty(request, 'onsuccess', {
      set: (then) => request.addEventListener('success', (event) => held.then(() => then.call(request, event))),
    });
    return request;
  };
})();
"""
# The run bar as shown: the run's status, the hint beside it, and the program it offers.
RUN_BAR = """
const shown = (id) => { const e = document.getElementById(id); return e.hidden ? null : e.textContent; };
return [shown('status'), shown('next-run'), shown('earlier'), shown('generated'),
        shown('compile') && document.querySelector('#compile code').textContent];
"""


class Page(unittest.TestCase):
    """One Chromium session over one served site, shared by every case."""

    @classmethod
    def setUpClass(cls):
        cls.server = serve(ARGS.site)
        cls.origin = f"http://127.0.0.1:{cls.server.server_address[1]}"
        cls.url = cls.origin + "/index.html"
        cls.profile = tempfile.mkdtemp(prefix="zv-chromium-")
        cls.downloads = tempfile.mkdtemp(prefix="zv-downloads-")

        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=1280,900", f"--user-data-dir={cls.profile}",
                     f"--host-resolver-rules=MAP {SCHOOL} 127.0.0.1", "--no-proxy-server"):
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
        if cls.hook("state()") not in ("ended", "stopped"):  # end the waiting run first
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
                if c in (CTRL_D, "\x1a", "\x03"):
                    if keys:
                        area.send_keys(keys)
                        keys = ""
                    letter = {CTRL_D: "d", "\x1a": "z", "\x03": "c"}[c]
                    ActionChains(cls.driver).key_down(Keys.CONTROL).send_keys(letter).key_up(Keys.CONTROL).perform()
                else:
                    keys += getattr(Keys, EDIT_KEYS[c]) if c in EDIT_KEYS else c
            if line != CTRL_D and "\x03" not in line:
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
        status = expected_status(code, files, lines)
        self.assertEqual(self.driver.find_element(By.ID, "status").text, status)
        self.assertEqual(self.driver.find_element(By.ID, "compile").is_displayed(),
                         status.startswith("Generated ") and not status.endswith("no program text."), "fpc line")
        self.assertEqual(page_files.get("logfile.txt"), files.get("logfile.txt"), "the log")
        self.assertEqual(page_files, files)
        if expected_code is not None:
            self.assertEqual(code, expected_code, "the native run's exit code")

    # ---- cases -------------------------------------------------------------

    def test_1_every_menu_leaf_as_on_linux(self):
        leaves = menu_leaves()
        self.assertGreaterEqual(len(leaves), 60, "rows in the README's menu map")
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
            ("1,5 as the number after a sign", ["prog", "1", "2", "1", "3", ">", "1,5"], 106),
            ("a folder that does not exist", ["nosuch/prog", "1", "1", "3", ""], 3),
            ("the name logfile", ["logfile", "1", "1", "3", ""], 5),
            ("Ctrl-D at the name prompt", [CTRL_D], 0),
            ("Ctrl-Z then Enter at the top menu", ["prog", "\x1a", ""], 0),
            ("Backspace edits the line", ["prgo\b\bog", "1", "1", "3", "\b"], 0),
            ("a name in Cyrillic (UTF-8)", ["программа", "1", "1", "3", ""], 0),
            ("a name through a missing folder (each part walked)", ["nodir/../p", "1", "1", "3", ""], 3),
            ("Left, Right, Home, End and Delete edit the line", ["xpgo←←r⇲⇱⌦", "1", "1", "3", ""], 0,
             ["prgo", "1", "1", "3", ""]),
            ("Up and Down bring back earlier lines", ["prog", "1", "1", "↑↑↓", "x*x", ""], 0,
             ["prog", "1", "1", "1", "x*x", ""]),
        ]
        for what, lines, code, *native in cases:
            with self.subTest(what):
                self.assert_same_as_native(native[0] if native else lines, self.page_run(lines), expected_code=code)
        self.assertEqual(self.native(["logfile", "1", "1", "3", ""])[2], {"logfile.txt": b""}, "the log kept")

    def test_3_pasted_dialogue_equals_typed(self):
        for path, lines in (("1/2/1/3", ["prog", "1", "2", "1", "3", ">", "0", ""]),
                            ("1/5/2", ["prog", "1", "5", "2", ">=", ""])):
            with self.subTest(path=path):
                self.fresh_run()
                self.paste("\n".join(lines).replace("prog", "pr\x9bo\x07g") + "\n")  # control characters dropped
                code = self.wait_exit()
                page = self.transcript(), code, self.files()
                self.assert_same_as_native(lines, page, expected_code=0)
                if path in self.typed:
                    self.assertEqual(page, self.typed[path], "the typed run")
        # A name that comes without key events (dictation: CDP insertText) or
        # from a composition reaches the line once, as if typed; so does one
        # dictated after a key whose keyup came nowhere, once the terminal lost
        # the focus; text an input event marks as still being composed does not.
        area = "document.querySelector('#terminal .xterm-helper-textarea')"
        dictate = lambda: self.driver.execute_cdp_cmd("Input.insertText", {"text": "prog"})
        for how, enter in (("dictated", dictate),
                           ("composed", lambda: [self.driver.execute_cdp_cmd(*step) for step in (
                               ("Input.imeSetComposition", {"text": "pr", "selectionStart": 2, "selectionEnd": 2}),
                               ("Input.insertText", {"text": "pr"}),
                               ("Input.imeSetComposition", {"text": "og", "selectionStart": 2, "selectionEnd": 2}),
                               ("Input.insertText", {"text": "og"}))]),
                           ("dictated after a key held while the focus left", lambda: [
                               self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                                   "type": "rawKeyDown", "key": "Shift", "code": "ShiftLeft",
                                   "windowsVirtualKeyCode": 16}),
                               self.driver.execute_script(f"document.getElementById('clear-folder').focus();"
                                                          f"{area}.focus();"), dictate()]),
                           ("still composing", lambda: [self.driver.execute_script(
                               f"{area}.dispatchEvent(new InputEvent('input', "
                               "{inputType: 'insertText', data: 'x', isComposing: true}));"), dictate()])):
            with self.subTest(how=how):
                lines = ["prog", "1", "1", "3", ""]
                self.fresh_run()
                self.driver.execute_script(f"{area}.focus();")
                enter()
                self.type_lines(["", *lines[1:]])
                code = self.wait_exit()
                self.assert_same_as_native(lines, (self.transcript(), code, self.files()), 0)

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

        self.driver.find_element(By.CSS_SELECTOR, '#files li[data-name="geo.txt"] button.delete').click()
        self.driver.switch_to.alert.dismiss()  # Delete asks first
        self.assertIn("geo.txt", self.files(), "Cancel deletes nothing")
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

    def test_7_opened_from_disk(self):
        self.driver.get(Path(ARGS.site, "index.html").resolve().as_uri())
        self.wait_ready()
        page = self.page_run(SHORT_DIALOGUE)
        self.driver.refresh()
        self.wait_ready()
        self.assertEqual((page, self.files()), (self.native(SHORT_DIALOGUE), page[2]), "after a reload")
        self.load()

    def test_8_offline_and_a_new_release(self):
        with tempfile.TemporaryDirectory(prefix="zv-site-") as root:
            site, new, ids = self.two_releases(root, worker=True)
            server = serve(root)
            url = f"http://127.0.0.1:{server.server_address[1]}/site/"
            self.driver.get(url)
            # The worker is registered once the program waits for its first answer (the page's own
            # fallback would do it only ten seconds after the load).
            self.wait_ready()
            registered = "navigator.serviceWorker.getRegistration().then((r) => arguments[0](!!r));"
            self.wait(lambda: self.driver.execute_async_script(registered), "the worker registered", seconds=5)
            self.wait(lambda: self.driver.execute_script("return !!navigator.serviceWorker.controller;"), "a worker")
            errors = self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
            self.assertEqual(errors, [], "installable")
            server.shutdown()
            server.server_close()
            self.driver.refresh()
            self.wait_ready()
            self.assertEqual(self.page_run(SHORT_DIALOGUE), self.native(SHORT_DIALOGUE), "offline")
            self.driver.get(url + "FAQ.txt")  # the help, opened from the page, offline too
            self.assertIn("Zorvandrel FAQ", self.driver.find_element(By.TAG_NAME, "body").text)
            self.driver.get(url)
            self.wait_ready()
            # A server that names a release it does not serve (release.txt alone copied) has the page
            # reload once, not forever.
            server = serve(root, server.server_address[1])
            (site / "release.txt").write_text("0badf00d\n")
            counter = "sessionStorage.zvLoads = +sessionStorage.zvLoads + 1 || 1;"
            count = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": counter})
            loads = lambda: self.driver.execute_script("return +sessionStorage.zvLoads;")
            self.driver.refresh()
            self.wait(lambda: loads() == 2 and self.hook("ready()"), "the one reload")
            time.sleep(1.5)
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", count)
            self.assertEqual((loads(), self.release()), (2, ids[0]))
            # The new release, published while this tab waits for its first answer. Hidden a moment and
            # shown again, the tab finds it, has the worker update itself and, once the new worker has
            # taken over, reloads into it (no key has reached the run).
            tab = self.driver.current_window_handle
            shutil.copytree(new, site, dirs_exist_ok=True)
            self.driver.switch_to.new_window("tab")
            self.driver.close()
            self.driver.switch_to.window(tab)
            # (the new worker's install downloads the whole site: slow on a loaded machine)
            self.wait(lambda: self.release() == ids[1] and self.hook("ready()"), "the new release", seconds=120)
            navigation = "return performance.getEntriesByType('navigation')[0].type;"
            self.assertEqual(self.driver.execute_script(navigation), "reload")
            # Loads a second apart from then on: each the new release, from the new worker.
            for _ in range(2):
                time.sleep(1)
                self.driver.refresh()
                self.wait_ready()
                self.assertEqual((self.release(), self.hook("status()")), (ids[1], "Waiting, new release"))
            self.wait(lambda: self.driver.execute_async_script(SETTLED_WORKER), "the new release's worker")
            server.shutdown()
            server.server_close()
            self.driver.refresh()
            self.wait_ready()
            self.assertEqual(self.release(), ids[1], "offline, the new release's worker")
        self.load()

    # ---- the folder: shared, stored, kept --------------------------------------

    def test_9_tabs_share_one_folder(self):
        first, second = ["a", "1", "1", "3", ""], ["b", "2", "1", "1", "1", ""]
        both = run_native(first, second)[2]
        self.fresh_run()
        tab_a = self.driver.current_window_handle
        # Tab A never sees itself shown again: B's changes reach it on the BroadcastChannel alone.
        self.driver.execute_script("Object.defineProperty(document, 'visibilityState', {get: () => 'hidden'});")
        self.driver.switch_to.new_window("tab")  # tab B starts before A writes
        self.load()
        tab_b = self.driver.current_window_handle
        self.driver.switch_to.window(tab_a)
        self.type_lines(first)
        self.wait_exit()
        self.driver.switch_to.window(tab_b)
        self.type_lines(second)
        self.wait_exit()
        # A's program reaches B by B's own read of the folder after A's message, whenever that ends.
        self.wait(lambda: self.files() == both, "both programs, and the log lines in the order written")
        self.driver.close()
        self.driver.switch_to.window(tab_a)
        self.wait(lambda: self.files() == both, "the other tab's program in this tab")
        # Another writer changes b.txt to other bytes of the same length and time, while a folder
        # read that started before the change finishes last: the newer read wins, the viewer follows.
        self.click('#files li[data-name="b.txt"] .view')
        changed = bytes(reversed(both["b.txt"]))
        self.driver.execute_async_script(STALE_READ, "b.txt", changed.decode("latin-1"))
        self.assertEqual(self.files()["b.txt"], changed, "the newer read")
        self.assertEqual(self.driver.find_element(By.ID, "viewer-text").get_attribute("textContent"),
                         changed.decode(errors="replace"))
        self.driver.find_element(By.ID, "viewer-close").click()

    def test_10_work_is_stored_when_confirmed(self):
        # Reloaded while the program waits after its banner: nothing it reported is lost.
        lines = ["prog", "1", "1", "3"]
        self.fresh_run()
        self.type_lines(lines)
        self.wait(lambda: b"www.zorvandrel.example" in self.transcript(), "the banner")
        self.driver.refresh()
        self.wait_ready()
        self.assertEqual(self.files(), run_native(lines)[2])
        # A program written over a longer one is cut first.
        longer, shorter = ["prog", "1", "6", "3", ""], ["prog", "1", "1", "3", ""]
        self.page_run(longer)
        self.click("#run-again")
        self.wait_ready()
        self.type_lines(shorter)
        self.wait_exit()
        self.assertEqual(self.files(), run_native(longer, shorter)[2])

    def test_11_names_stay_in_the_folder_and_the_log_stays(self):
        for name, code, written in (("../outside", 0, ["outside.txt"]), ("/abs", 0, ["abs.txt"]),
                                    ("../../tmp/gone", 3, [])):
            with self.subTest(name):
                _, page_code, files = self.page_run([name, "1", "1", "3", ""])
                self.assertEqual((page_code, sorted(files)), (code, sorted(["logfile.txt", *written])))
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, '#files li[data-name="logfile.txt"] .delete'), [])
        self.driver.find_element(By.CSS_SELECTOR, "#clear-folder").click()
        self.driver.switch_to.alert.dismiss()
        self.assertEqual(sorted(self.files()), ["logfile.txt"], "Cancel deletes nothing")
        # A folder without its log (as an older page could leave it): error 2, and one button.
        self.driver.execute_async_script("""
            const done = arguments[0], open = indexedDB.open('/store');
            open.onsuccess = () => {
              const change = open.result.transaction('FILE_DATA', 'readwrite');
              change.objectStore('FILE_DATA').delete('/store/folder/logfile.txt');
              change.oncomplete = () => { open.result.close(); done(); };
            };""")
        # Run again reads the folder again: no change is heard of, yet the log is missing.
        self.click("#run-again")
        self.wait_ready()
        self.type_lines(["prog", "1", "1", "3", ""])
        self.assertEqual(self.wait_exit(), 2)
        self.click("#create-log")
        self.wait(lambda: self.files().get("logfile.txt") == b"", "the new log")
        self.assertFalse(self.driver.find_element(By.ID, "create-log").is_displayed())

    # ---- the console: stopping, the status line, access, phones, language -------

    def screen(self):
        return self.driver.execute_script("return document.querySelector('#terminal .xterm-rows').textContent;")

    def focused(self):
        return self.driver.execute_script("return document.activeElement.id || document.activeElement.className;")

    def test_12_ctrl_c_and_stop_end_a_run(self):
        for stop in (lambda: self.type_lines(["\x03"]), lambda: self.click("#stop")):
            with self.subTest(stop=stop):
                self.fresh_run()
                self.type_lines(["prog", "1"])
                self.wait(lambda: b"vybetite top" in self.transcript(), "the menu")
                before = self.transcript()
                stop()
                self.wait(lambda: self.hook("state()") == "stopped", "the stopped run")
                self.assertEqual((self.hook("exitCode()"), self.hook("status()")), (None, "Run stopped."))
                self.assertEqual((self.transcript(), self.focused()), (before, "run-again"))
                self.assertIn("^C", self.screen())

    def test_13_status_in_plain_words(self):
        self.fresh_run()
        self.assertEqual((self.hook("state()"), self.hook("status()")), ("waiting", "Waiting for your answer"))
        self.type_lines(["my prog", "1", "1", "3"])
        self.wait(lambda: b"www.zorvandrel.example" in self.transcript(), "the banner")
        self.assertEqual((self.hook("state()"), self.hook("status()")), ("waiting", "Waiting for your answer"))
        self.type_lines([""])
        self.wait_exit()
        self.assertEqual((self.hook("state()"), self.hook("status()")), ("ended", "Generated my prog.txt"))
        link = self.driver.find_element(By.CSS_SELECTOR, "#run-bar #generated")
        self.assertEqual(link.get_attribute("download"), "my prog.txt")
        self.assertEqual(self.driver.find_element(By.CSS_SELECTOR, "#compile code").text, 'fpc "my prog.txt"')
        self.assertEqual(self.focused(), "run-again")
        screen = self.screen()
        ActionChains(self.driver).send_keys(Keys.ENTER).perform()  # typed on: Run again takes no key yet
        self.type_lines(["1"])  # keys typed into an ended run do nothing
        self.assertEqual((self.screen(), self.hook("state()")), (screen, "ended"))
        self.assertFalse(self.driver.execute_script("return document.querySelector('.xterm-cursor-blink') !== null;"))
        # The next run keeps the last one's end above it, and its program's
        # link and command until another program is written; a second after
        # the end, Enter on Run again starts a run without the mouse.
        self.click("#run-again")
        self.wait_ready()
        self.assertIn("www.zorvandrel.example", self.screen())
        self.type_lines([CTRL_D])
        self.wait_exit()
        time.sleep(1.1)
        self.driver.execute_script("document.getElementById('run-again').focus();")
        ActionChains(self.driver).send_keys(Keys.ENTER).perform()
        self.wait_ready()
        self.assertEqual(link.get_attribute("download"), "my prog.txt")
        self.assertEqual(self.driver.find_element(By.CSS_SELECTOR, "#compile code").text, 'fpc "my prog.txt"')

    def test_14_accessible(self):
        axe = (ARGS.site.parent / "npm" / "node_modules" / "axe-core" / "axe.min.js").read_text()
        check = "const done = arguments[0]; axe.run().then((r) => done(r.violations.map((v) => v.id + ': ' + " \
                "v.nodes.map((n) => n.target).join(' '))));"
        for width, height in ((1280, 800), (360, 740)):
            self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                        {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": width < 900})
            self.fresh_run()
            for state, step in (("the greeting", lambda: None), ("a finished run", lambda: self.type_lines(
                    ["prog", "1", "1", "3", ""]) or self.wait_exit()), ("the file viewer", lambda: self.click(
                    '#files li[data-name="prog.txt"] .view'))):
                step()
                with self.subTest(size=(width, height), state=state):
                    self.driver.execute_script(axe)
                    self.assertEqual(self.driver.execute_async_script(check), [])
            self.assertEqual(self.driver.find_element(By.ID, "viewer-title").text, "prog.txt")
            self.driver.find_element(By.ID, "viewer-text").send_keys(Keys.ESCAPE)
            self.assertFalse(self.driver.find_element(By.ID, "viewer").is_displayed())
            self.assertEqual(self.focused(), "view")
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        self.fresh_run()
        tree = self.driver.find_element(By.CSS_SELECTOR, ".xterm-accessibility")
        self.wait(lambda: GREETING in tree.get_attribute("textContent"), "the greeting for a screen reader")
        # Shown again (Back, a restored tab): the keyboard goes back to the terminal.
        self.driver.execute_script("document.getElementById('clear-folder').focus();"
                                   "window.dispatchEvent(new PageTransitionEvent('pageshow', {persisted: true}));")
        self.assertEqual(self.focused(), "xterm-helper-textarea")

    def test_15_phones_show_the_line_being_typed(self):
        for width, height in ((360, 740), (740, 360)):
            with self.subTest(size=(width, height)):
                self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                            {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
                self.fresh_run()
                self.type_lines(["prog", "1", "2", "1", "3", ">"])  # the screen full; the program waits
                self.wait(lambda: b"chislo" in self.transcript()[-200:], "the number's prompt")
                self.driver.execute_script("window.scrollTo(0, 0);")
                top, bottom = self.driver.execute_script(
                    "const r = document.querySelector('#terminal .xterm-helper-textarea').getBoundingClientRect();"
                    "return [r.top, r.bottom - innerHeight + scrollY];")
                self.assertGreaterEqual(top, 0)
                self.assertLessEqual(bottom, 0)
                self.type_lines(["0", ""])
                self.wait_exit()
                self.assertTrue(self.driver.find_element(By.CSS_SELECTOR, "#run-bar #generated").is_enabled())
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def test_16_page_in_russian(self):
        named = ("return [...document.querySelectorAll('#faq-link, #readme-link')].map((a) => a.getAttribute('href'))"
                 ".concat(document.querySelector('#terminal .xterm-helper-textarea').getAttribute('aria-label'));")
        self.assertEqual(self.driver.execute_script(named), ["FAQ.txt", "README.txt", "Terminal input"])
        Select(self.driver.find_element(By.ID, "language")).select_by_value("ru")
        self.assertEqual(self.driver.execute_script(named), ["FAQ.ru.txt", "README.ru.txt", "Ввод в терминал"])
        self.fresh_run()
        self.assertEqual((self.driver.find_element(By.TAG_NAME, "html").get_attribute("lang"), self.hook("status()")),
                         ("ru", "Ждёт вашего ответа"))
        self.driver.refresh()
        self.wait_ready()
        self.assertEqual(self.driver.find_element(By.ID, "run-again").text, "Запустить снова", "the choice kept")
        Select(self.driver.find_element(By.ID, "language")).select_by_value("en")
        self.assertEqual(self.driver.execute_script(named), ["FAQ.txt", "README.txt", "Terminal input"])
        # The Russian help reads right from a server that names no charset (http.server).
        self.driver.get(self.origin + "/FAQ.ru.txt")
        self.assertTrue(self.driver.find_element(By.TAG_NAME, "body").text.startswith("# Zorvandrel: вопросы"))
        self.load()
        # Without a choice kept, the browser's languages decide.
        self.driver.execute_script("localStorage.clear();")
        agent = self.driver.execute_script("return navigator.userAgent;")
        self.driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": "de,ru"})
        self.load()
        self.assertEqual(self.hook("status()"), "Ждёт вашего ответа")
        self.driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": "en"})
        self.load()

    @staticmethod
    def two_releases(root, worker=False, aged=False):
        """This release in root/site, and in root/new the next one: one script changed, the site named again
        by the build's own step (and its service worker written again); with their release ids. Aged: the
        old one's files a month old, the new one's older still (a zip unpacked with its own times)."""
        site, new = Path(root, "site"), Path(shutil.copytree(ARGS.site, Path(root, "new")))
        script = next(new.glob("page.*.js"))
        script.write_text(script.read_text().replace("Waiting for your answer", "Waiting, new release"))
        subprocess.run(["node", SOURCE_DIR / "web" / "tools" / "name-by-content.js", new], check=True)
        if worker:
            npm = str(ARGS.site.parent / "npm" / "node_modules")
            subprocess.run(["node", SOURCE_DIR / "web" / "tools" / "write-service-worker.js", new], check=True,
                           stdout=subprocess.DEVNULL, env={**os.environ, "NODE_PATH": npm})
        shutil.copytree(ARGS.site, site)
        for folder, days in ((site, 30), (new, 31)) if aged else ():
            for file in folder.iterdir():
                os.utime(file, (time.time() - days * 86400,) * 2)
        return site, new, [(folder / "release.txt").read_text().strip() for folder in (site, new)]

    def release(self):
        return self.driver.execute_script("return document.querySelector('meta[name=release]').content;")

    def test_17_an_upgrade_reloads_the_new_release_whole(self):
        # A plain-http server, where no service worker runs: the browser keeps the page by Last-Modified
        # alone. The new release is unpacked over a month-old one with its own, older times.
        tabs = self.driver.window_handles
        with tempfile.TemporaryDirectory(prefix="zv-site-") as root:
            site, new, ids = self.two_releases(root, aged=True)
            self.assertNotEqual(*ids)
            server = serve(site)
            url = f"http://{SCHOOL}:{server.server_address[1]}/"
            self.driver.get(url)
            self.wait_ready()
            self.assertEqual(self.driver.title, f"Zorvandrel 0.3 · {ids[0]}")
            self.assertEqual(self.driver.find_element(By.TAG_NAME, "h1").text, f"Zorvandrel 0.3 · {ids[0]}")
            self.type_lines(SHORT_DIALOGUE[:2])  # a dialogue half typed at the upgrade
            shutil.copytree(new, site, dirs_exist_ok=True)
            # A new tab: its first load is the cached old release, which finds the new one and reloads.
            self.driver.switch_to.new_window("tab")
            started = time.monotonic()
            self.driver.get(url)
            self.wait(lambda: self.release() == ids[1] and self.hook("ready()"), "the new release")
            print(f"\nbenchmark: a new tab after an upgrade runs the new release {time.monotonic() - started:.2f} s"
                  " after its navigation", flush=True)
            self.assertEqual(self.hook("status()"), "Waiting, new release")
            self.assertEqual(self.driver.execute_script(
                "return [performance.getEntriesByType('navigation')[0].type, sessionStorage['zorvandrel-release']];"),
                ["reload", ids[1]])
            self.driver.close()
            # Back in the first tab: the half-typed dialogue goes on, and its end stays; the next run is the
            # new release, with the answers typed before.
            self.driver.switch_to.window(tabs[0])
            self.type_lines(SHORT_DIALOGUE[2:])
            self.assertEqual(self.wait_exit(), 0)
            self.assertEqual((self.transcript(), self.release()), (self.native(SHORT_DIALOGUE)[0], ids[0]))
            self.click("#clear-folder")
            self.wait(lambda: self.files() == {"logfile.txt": b""}, "the cleared folder")
            self.click("#run-again")
            self.wait(lambda: self.release() == ids[1] and self.hook("ready()"), "the new release")
            recalled = "↑" * sum(1 for line in SHORT_DIALOGUE if line)
            self.type_lines([recalled, *SHORT_DIALOGUE[1:]])
            self.assertEqual(self.wait_exit(), 0)
            self.assertEqual((self.transcript(), 0, self.files()), self.native(SHORT_DIALOGUE))
            self.assertFalse(self.driver.execute_script("return window.isSecureContext;"))
            server.shutdown()
            server.server_close()
        self.load()

    # ---- a run's end: keys typed on, the run bar, the folder's rows -------------

    def clock(self, ms):
        self.driver.execute_script(CLOCK, ms)

    def press(self, keys, pause):
        """Keys typed at the focused element, the page's clock moved on by `pause` ms before each."""
        for key in keys:
            self.clock(pause)
            ActionChains(self.driver).send_keys({"⏎": Keys.ENTER, "⇥": Keys.TAB}.get(key, key)).perform()

    def test_18_typing_on_never_starts_a_run(self):
        error = ["oshibka", "x"]
        for language, pause in (("en", 80), ("ru", 400)):
            with self.subTest(language=language, ms=pause):
                Select(self.driver.find_element(By.ID, "language")).select_by_value(language)
                self.fresh_run()
                self.type_lines(error)
                self.assertEqual(self.wait_exit(), 106)
                self.clock(0)
                at_end = lambda: [self.transcript(), self.driver.execute_script(RUN_BAR), self.screen(),
                                  self.driver.execute_script("return scrollY;")]
                end = at_end()
                self.press("abc⏎1⏎1⏎3⏎⏎1⏎1⏎3⏎⏎", pause)
                self.assertEqual(at_end(), end)
                self.assertEqual(self.hook("state()"), "ended")
                self.assertIn("Runtime error 106", self.screen())
                self.assertIn({"en": "press Enter", "ru": "нажмите Enter"}[language], end[1][1])
                # Tab and Shift+Tab, which only move the focus, do not count: a second after the
                # last key that does, a keyboard-only user's Enter on Run again starts a run.
                self.press("⇥", 600)
                ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
                self.assertEqual(self.focused(), "run-again")
                self.press("⏎", 400)
                self.clock(None)
                self.wait_ready()
                self.assertEqual(self.transcript(), run_native([CTRL_D])[0][:len(self.transcript())])
        Select(self.driver.find_element(By.ID, "language")).select_by_value("en")
        self.load()

    def test_19_the_run_bar_names_the_last_program(self):
        self.fresh_run()
        self.type_lines(["Задача 1", "1", "1", "3", ""])
        self.wait_exit()
        program = ["Download Задача 1.txt", 'fpc "Задача 1.txt"']
        hint = "To run again, wait a second and press Enter, or click Run again."
        self.assertEqual(self.driver.execute_script(RUN_BAR), ["Generated Задача 1.txt", hint, None, *program])
        for lines in (["nodir/d28", "1", "1", "3", ""], [CTRL_D]):
            with self.subTest(lines=lines):
                self.click("#run-again")
                self.wait_ready()
                self.type_lines(lines)
                code = self.wait_exit()
                status = expected_status(code, {}, lines)
                self.assertEqual(self.driver.execute_script(RUN_BAR), [status, hint, "From an earlier run:", *program])
        self.assertEqual(self.driver.find_element(By.ID, "generated").get_attribute("download"), "Задача 1.txt")
        # The run's own program, once it has one, takes the link back; the link shows after every run
        # that wrote one, the CPU slowed down four times.
        self.driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})
        try:
            for n in range(3):
                with self.subTest(run=n):
                    self.click("#run-again")
                    self.wait_ready()
                    self.type_lines([f"p{n}", "1", "1", "3", ""])
                    self.wait_exit()
                    self.assertEqual(self.driver.execute_script(RUN_BAR)[2:],
                                     [None, f"Download p{n}.txt", f"fpc p{n}.txt"])
        finally:
            self.driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 1})

    def test_20_folder_rows_line_up(self):
        Select(self.driver.find_element(By.ID, "language")).select_by_value("ru")
        self.fresh_run()
        self.type_lines(["a", "1", "1", "3", ""])
        self.wait_exit()
        self.click("#run-again")
        self.wait_ready()
        self.type_lines(["programma-s-ochen-dlinnym-imenem-kotoroe-ne-vlezet-v-odnu-stroku", "1", "1", "3", ""])
        self.wait_exit()
        columns = """return [...document.querySelectorAll('#files li')].map((li) =>
            ['.view', '.download', '.delete'].map((c) => li.querySelector(c))
              .map((b) => b && Math.round(b.getBoundingClientRect().left)));"""
        for width in (320, 768, 1280):
            with self.subTest(width=width):
                self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                            {"width": width, "height": 800, "deviceScaleFactor": 1,
                                             "mobile": width < 900})
                rows = self.driver.execute_script(columns)
                self.assertEqual(len(rows), 3)
                for column in zip(*rows):
                    self.assertEqual(len(set(x for x in column if x is not None)), 1, rows)
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        Select(self.driver.find_element(By.ID, "language")).select_by_value("en")

    def test_21_the_program_waits_for_a_slow_folder(self):
        # Answers typed while the folder is still being read: the first file the program opens
        # waits for it.
        self.fresh_run()
        hold = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HOLD_FOLDER})
        try:
            self.driver.get(self.url)
            self.wait(lambda: self.hook("state()") == "waiting", "the first prompt")
            self.type_lines(SHORT_DIALOGUE[:-1])
            self.wait(lambda: b"vybetite top" in self.transcript(), "the menus")
            self.assertEqual((self.hook("ready()"), self.hook("state()")), (False, "running"))
            self.driver.execute_script("window.__zvReleaseFolder();")
            self.wait(lambda: b"www.zorvandrel.example" in self.transcript(), "the banner")
            self.type_lines([""])
            code = self.wait_exit()
        finally:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", hold)
        self.assertEqual((self.transcript(), code, self.files()), self.native(SHORT_DIALOGUE))
        self.load()


class Firefox(unittest.TestCase):
    """A few of the cases above in Firefox ESR, driven with puppeteer-core (firefox_bridge.js)."""

    @classmethod
    def setUpClass(cls):
        npm = ARGS.site.parent / "npm" / "node_modules"
        if not (os.access(FIREFOX, os.X_OK) and (npm / "puppeteer-core").is_dir()):
            if os.environ.get("ZV_WEB_REQUIRED") == "1":
                raise AssertionError(f"{FIREFOX} or puppeteer-core ({npm}) is missing")
            raise unittest.SkipTest(f"{FIREFOX} or puppeteer-core is missing (Debian: firefox-esr)")
        cls.server = serve(ARGS.site)
        cls.url = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"
        cls.bridge = subprocess.Popen(["node", str(Path(__file__).with_name("firefox_bridge.js"))], text=True,
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      env={**os.environ, "NODE_PATH": str(npm), "ZV_FIREFOX": FIREFOX})
        cls.calls = 0
        cls.tab = cls.call("open", url=cls.url)

    @classmethod
    def tearDownClass(cls):
        cls.bridge.stdin.close()
        cls.bridge.wait(timeout=60)
        cls.server.shutdown()

    @classmethod
    def call(cls, op, **args):
        cls.calls += 1
        cls.bridge.stdin.write(json.dumps({"id": cls.calls, "op": op, **args}) + "\n")
        cls.bridge.stdin.flush()
        reply = json.loads(cls.bridge.stdout.readline() or '{"error": "the bridge ended"}')
        if "error" in reply:
            raise AssertionError(reply["error"])
        return reply["value"]

    def hook(self, tab, call):
        return self.call("eval", tab=tab, js=f"window.zorvandrel && window.zorvandrel.{call}")

    def until(self, tab, call, want, seconds=30):
        end = time.monotonic() + seconds
        while (got := self.hook(tab, call)) != want and not (want is True and got):
            if time.monotonic() > end:
                raise AssertionError(f"{call} is {got!r}, not {want!r}")
            time.sleep(0.05)

    def files(self, tab):
        return {name: text.encode("latin-1") for name, text in self.hook(tab, "files()").items()}

    def run_lines(self, tab, lines, fresh=True):
        """(transcript, exit code, files) of a dialogue typed into a new run (over a cleared folder)."""
        if fresh:
            if self.hook(tab, "state()") not in ("ended", "stopped"):
                self.call("keys", tab=tab, keys=CTRL_D)
                self.until(tab, "state()", "ended")
            self.call("click", tab=tab, selector="#clear-folder")
            self.until(tab, "files()", {"logfile.txt": ""})
            self.call("click", tab=tab, selector="#run-again")
        self.until(tab, "ready()", True)
        self.call("keys", tab=tab, keys="".join(line if line == CTRL_D else line + "\n" for line in lines))
        self.until(tab, "state()", "ended")
        return self.hook(tab, "transcript()").encode("latin-1"), self.hook(tab, "exitCode()"), self.files(tab)

    def test_dialogue_error_and_reload(self):
        error, dialogue = ["prog", "1", "dva"], ["prog", "1", "2", "1", "3", ">", "0", ""]
        for lines in (error, dialogue):
            with self.subTest(lines=lines):
                self.assertEqual(self.run_lines(self.tab, lines), run_native(lines))
        self.call("reload", tab=self.tab)
        self.until(self.tab, "ready()", True)
        self.assertEqual(self.files(self.tab), run_native(dialogue)[2], "the folder after a reload")

    def test_two_tabs(self):
        first, second = ["a", "1", "1", "3", ""], ["b", "2", "1", "1", "1", ""]
        self.run_lines(self.tab, [CTRL_D])  # the run ended, the folder cleared, a new run waiting
        self.call("click", tab=self.tab, selector="#clear-folder")
        self.until(self.tab, "files()", {"logfile.txt": ""})
        self.call("click", tab=self.tab, selector="#run-again")
        other = self.call("open", url=self.url)  # opened before the first tab writes
        self.run_lines(self.tab, first, fresh=False)
        self.run_lines(other, second, fresh=False)
        both = run_native(first, second)[2]
        self.assertEqual(self.files(other), both)
        self.until(self.tab, "files()", {name: data.decode("latin-1") for name, data in both.items()})

    def test_keys_and_the_run_bar_at_a_run_end(self):
        bar = lambda: self.call("eval", tab=self.tab, js=f"(() => {{ {RUN_BAR} }})()")
        clock = lambda ms: self.call("eval", tab=self.tab, js=f"(function () {{ {CLOCK} }})({json.dumps(ms)})")
        self.run_lines(self.tab, ["Задача 1", "1", "1", "3", ""])
        self.call("click", tab=self.tab, selector="#run-again")
        _, code, _ = self.run_lines(self.tab, ["oshibka", "x"], fresh=False)
        self.assertEqual(code, 106)
        end = [self.hook(self.tab, "transcript()"), bar()]
        self.assertEqual(end[1][2:], ["From an earlier run:", "Download Задача 1.txt", 'fpc "Задача 1.txt"'])
        clock(0)
        for key in "abc⏎1⏎1⏎3⏎⏎":  # typed on at 80 ms a key
            clock(80)
            self.call("press", tab=self.tab, keys=["Enter" if key == "⏎" else key])
        self.assertEqual([self.hook(self.tab, "transcript()"), bar(), self.hook(self.tab, "state()")], [*end, "ended"])
        clock(600)
        self.call("press", tab=self.tab, keys=["Tab", "Shift+Tab"])
        clock(400)
        self.call("press", tab=self.tab, keys=["Enter"])
        clock(None)
        self.until(self.tab, "ready()", True)

    def test_a_new_release_reaches_a_new_tab(self):
        # A plain-http server (by name: no service worker) with month-old files, then the new release
        # unpacked over it with its own, older times: a tab opened after it runs the new release.
        with tempfile.TemporaryDirectory(prefix="zv-site-") as root:
            site, new, ids = Page.two_releases(root, aged=True)
            server = serve(site)
            url = f"http://{SCHOOL}:{server.server_address[1]}/"
            first = self.call("open", url=url)
            self.until(first, "ready()", True)
            self.assertEqual(self.call("eval", tab=first, js="document.title"), f"Zorvandrel 0.3 · {ids[0]}")
            shutil.copytree(new, site, dirs_exist_ok=True)
            tab = self.call("open", url=url)
            loaded = ("[document.querySelector('meta[name=release]').content, window.zorvandrel.ready(),"
                      " performance.getEntriesByType('navigation')[0].type, sessionStorage['zorvandrel-release'],"
                      " isSecureContext]")
            end = time.monotonic() + 30
            while True:
                try:  # the page may be reloading
                    got = self.call("eval", tab=tab, js=loaded)
                except AssertionError:
                    got = None
                if got and got[:2] == [ids[1], True] or time.monotonic() > end:
                    break
                time.sleep(0.05)
            self.assertEqual(got, [ids[1], True, "reload", ids[1], False])
            for opened in (first, tab):
                self.call("close", tab=opened)
            self.call("front", tab=self.tab)
            server.shutdown()
            server.server_close()

    def test_opened_from_disk(self):
        tab = self.call("open", url=(ARGS.site / "index.html").resolve().as_uri())
        self.assertEqual(self.run_lines(tab, SHORT_DIALOGUE), run_native(SHORT_DIALOGUE))
        self.call("reload", tab=tab)
        self.until(tab, "ready()", True)
        self.assertEqual(self.files(tab), run_native(SHORT_DIALOGUE)[2], "the folder after a reload")


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
