#!/usr/bin/python3
"""The browser build end to end: the built page served from 127.0.0.1 and
played in Debian's headless Chromium (through chromium-driver), watched from
outside as a player would - the canvas's pixels and the console panel.

usage: browser_test.py SITE_FOLDER LOG_FOLDER

Every test has a deadline; a failed test leaves a screenshot of the page in
LOG_FOLDER. The commentary expected here is what the desktop prints for the
same course and keys (tests/e2e/gameplay_test.cpp checks the same lines).
"""

import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from io import BytesIO

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By

SITE = "build-web/site"  # set from the command line
LOGS = "build-web/test-logs"
FILE_PACKAGER = "/usr/share/emscripten/tools/file_packager.py"

MENU = (176, 0, 176)  # clear colour (0.69, 0, 0.69)
SKY = (135, 204, 250)  # clear colour (0.53, 0.8, 0.98)
WHITE = (255, 255, 255)
SUBTITLE = (84, 84, 84)  # (0.33, 0.33, 0.33)
BLACK = (0, 0, 0)

# Text boxes in canvas pixels at 1280 x 768: the font's measures (width,
# height 12) placed as the game places them, glyphs doubled.
TITLE_BOX = (615, 378, 714, 402)  # "QUORLAND", width 49
SUBTITLE_BOX = (600, 422, 759, 446)  # "Click to START", width 79
SCORE_BOX = (40, 60, 128, 84)  # "Score: 0", width 44, at (20, 30)
PAUSED_BOX = (622, 378, 694, 402)  # "PAUSED", width 36

SEED = "7"  # a course whose first row ahead (z = 1) is open ground
FIRST_HOP = [
    "jumping now from: (-0, 0, 0) to: (-0, 0, 1)",
    "player at : (-0, 0, 1)",
    "Score: 1",
]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def serve(folder):
    """Serves `folder` on 127.0.0.1 at a free port; returns (server, url)."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]


def start_browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless", "--no-sandbox", "--use-angle=swiftshader",
                 "--enable-unsafe-swiftshader", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--window-size=1400,1250",
                 "--user-data-dir=" + tempfile.mkdtemp(prefix="quorland-chromium-")]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_page_load_timeout(60)
    driver.set_script_timeout(30)
    return driver


def wait_for(condition, timeout, step=0.25):
    """Polls `condition` until it gives a true value or `timeout` seconds
    pass. A renderer busy with a slow frame (software WebGL on a loaded
    machine) may not answer a query in time: that counts as "not yet"."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except TimeoutException:
            result = None
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(step)


def patiently(query, timeout=120):
    """The answer of a page query, asked again while the renderer is busy."""
    answer = wait_for(lambda: (query(),), timeout)
    if answer is None:
        raise TimeoutException("the page did not answer within %d s" % timeout)
    return answer[0]


def near(pixel, colour, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel[:3], colour))


def count_in_box(image, box, colour, tolerance=12):
    left, top, right, bottom = box
    return sum(1 for x in range(left, right) for y in range(top, bottom)
               if near(image.getpixel((x, y)), colour, tolerance))


def count_outside_box(image, box, colour, margin=3, tolerance=12):
    left, top, right, bottom = box
    count = 0
    for x in range(0, image.width, 2):
        for y in range(0, image.height, 2):
            inside = left - margin <= x < right + margin and top - margin <= y < bottom + margin
            if not inside and near(image.getpixel((x, y)), colour, tolerance):
                count += 1
    return count


class Page:
    """One loaded page of the game, driven from outside."""

    def __init__(self, driver, url):
        self.driver = driver
        driver.get(url)
        self.canvas = driver.find_element(By.ID, "canvas")

    def state(self):
        return self.canvas.get_attribute("data-state")

    def wait_until_running(self, timeout=90):
        return wait_for(lambda: self.state() in ("running", "stopped") and self.state(),
                        timeout) == "running"

    def lines(self):
        console = self.driver.find_element(By.ID, "console")
        return patiently(lambda: console.get_attribute("textContent")).splitlines()

    def wait_for_line(self, line, timeout=60):
        return wait_for(lambda: line in self.lines(), timeout)

    def capture(self):
        png = patiently(lambda: self.canvas.screenshot_as_png)
        return Image.open(BytesIO(png)).convert("RGB")

    def wait_for_screen(self, test, timeout=60):
        return wait_for(lambda: (lambda image: image if test(image) else None)(self.capture()),
                        timeout, step=0.5)

    def settled_capture(self, timeout=60):
        """A capture equal to the one before it: the picture stands still."""
        previous = [self.capture()]

        def same():
            time.sleep(0.6)
            current = self.capture()
            equal = current.tobytes() == previous[0].tobytes()
            previous[0] = current
            return current if equal else None
        return wait_for(same, timeout, step=0)

    def click(self):
        ActionChains(self.driver).move_to_element(self.canvas).click().perform()

    def key(self, key):
        ActionChains(self.driver).send_keys(key).perform()

    def stopped_message(self):
        return self.driver.find_element(By.ID, "stopped").get_attribute("textContent")


def screenshot_on_failure(test):
    """Leaves a screenshot of the page in LOGS when `test` fails."""
    @functools.wraps(test)
    def run(self):
        try:
            test(self)
        except BaseException:
            os.makedirs(LOGS, exist_ok=True)
            path = os.path.join(LOGS, test.__name__ + ".png")
            self.driver.save_screenshot(path)
            print("\nscreenshot of the failure: " + path)
            raise
    return run


class BrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server, cls.url = serve(SITE)
        cls.driver = start_browser()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        cls.server.server_close()

    def open(self, query="", url=None):
        page = Page(self.driver, (url or self.url) + query)
        self.assertTrue(page.wait_until_running(), "the game did not start: " + page.stopped_message())
        return page

    def start_game(self, page):
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)),
                             "no start screen")
        page.click()
        image = page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), SKY))
        self.assertIsNotNone(image, "a click should start a game")
        return image

    @screenshot_on_failure
    def test_start_screen_shows_its_colour_and_texts_at_their_pixels(self):
        page = self.open("?seed=" + SEED)
        image = page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU))
        self.assertIsNotNone(image, "no start screen")
        self.assertEqual(image.size, (1280, 768))
        for corner in [(2, 2), (1277, 2), (2, 765), (1277, 765), (640, 600)]:
            self.assertTrue(near(image.getpixel(corner), MENU), corner)
        self.assertGreater(count_in_box(image, TITLE_BOX, WHITE), 150)
        self.assertEqual(count_outside_box(image, TITLE_BOX, WHITE), 0)
        self.assertGreater(count_in_box(image, SUBTITLE_BOX, SUBTITLE), 200)
        self.assertEqual(count_outside_box(image, SUBTITLE_BOX, SUBTITLE), 0)

    @screenshot_on_failure
    def test_a_game_starts_hops_with_the_desktop_lines_and_pauses(self):
        page = self.open("?seed=" + SEED)
        image = self.start_game(page)
        self.assertGreater(count_in_box(image, SCORE_BOX, BLACK), 80, "no score drawn")
        score_zero = image.crop(SCORE_BOX).tobytes()

        before = len(page.lines())
        page.key("w")
        self.assertTrue(page.wait_for_line("Score: 1"), "the hop did not land")
        self.assertEqual(page.lines()[before:], FIRST_HOP)
        scored = page.wait_for_screen(lambda i: i.crop(SCORE_BOX).tobytes() != score_zero)
        self.assertIsNotNone(scored, "the score on the screen should change")

        page.key("\ue00c")  # Escape
        paused = page.settled_capture()
        self.assertIsNotNone(paused, "the pause should take effect")
        self.assertGreater(count_in_box(paused, PAUSED_BOX, BLACK), 60, "no PAUSED drawn")
        time.sleep(2)
        self.assertEqual(page.capture().tobytes(), paused.tobytes(), "nothing may move while paused")
        page.key("\ue00c")
        moved = page.wait_for_screen(lambda i: i.tobytes() != paused.tobytes(), timeout=30)
        self.assertIsNotNone(moved, "the world should move again after resuming")

    def first_frame_of(self, seed):
        """The first game frame of a course: a click and Esc in one go, so
        that both arrive before the first game frame and it stays paused."""
        page = self.open("?seed=" + seed)
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)))
        ActionChains(self.driver).move_to_element(page.canvas).click().send_keys("\ue00c").perform()
        image = page.settled_capture()
        self.assertIsNotNone(image)
        self.assertGreater(count_in_box(image, PAUSED_BOX, BLACK), 60, "not paused")
        return image

    @screenshot_on_failure
    def test_a_seed_gives_the_same_first_frame_and_another_seed_another(self):
        # Should the browser run a frame between the click and the Esc, the
        # pause comes one frame late and the logs have moved: try again.
        for _ in range(3):
            first = self.first_frame_of(SEED)
            again = self.first_frame_of(SEED)
            if first.tobytes() == again.tobytes():
                break
        self.assertEqual(first.tobytes(), again.tobytes())
        other = self.first_frame_of("8")
        self.assertNotEqual(first.tobytes(), other.tobytes())
        # Not just the logs: the rows themselves differ.
        self.assertNotEqual(first.crop((0, 600, 1280, 768)).tobytes(),
                            other.crop((0, 600, 1280, 768)).tobytes())

    @screenshot_on_failure
    def test_a_missing_asset_shows_its_fatal_message_on_the_page(self):
        broken = tempfile.mkdtemp(prefix="quorland-site-")
        try:
            for name in ["index.html", "quorland.js", "quorland.wasm"]:
                shutil.copy(os.path.join(SITE, name), broken)
            assets = os.path.join(broken, "assets-source")
            shutil.copytree(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets"),
                            assets)
            os.remove(os.path.join(assets, "textures", "wood_texture.dds"))
            subprocess.run(["/usr/bin/python3", FILE_PACKAGER, os.path.join(broken, "assets.data"),
                            "--preload", assets + "@/quorland/assets",
                            "--js-output=" + os.path.join(broken, "assets.js")],
                           check=True, capture_output=True,
                           env={**os.environ, "NODE_PATH": "/usr/share/nodejs"})
            server, url = serve(broken)
            try:
                page = Page(self.driver, url)
                self.assertEqual(wait_for(page.state, 90), "stopped")
                message = "Could not find texture file: assets/textures/wood_texture.dds"
                self.assertEqual(page.stopped_message(), message)
                self.assertEqual(page.lines()[-1], message)
            finally:
                server.shutdown()
                server.server_close()
        finally:
            shutil.rmtree(broken)


if __name__ == "__main__":
    SITE, LOGS = (os.path.abspath(folder) for folder in sys.argv[1:3])
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    sys.exit(0 if result.wasSuccessful() else 1)
