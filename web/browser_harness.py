#!/usr/bin/python3
"""What every browser test of the page shares: the built site served from
127.0.0.1, Debian's headless Chromium (through chromium-driver), the page
driven and watched from outside as a player would (the canvas's pixels and
the console panel), and the base class the test files derive from.

Every wait has a deadline; a failed test leaves a screenshot of the page in
LOGS.
"""

import functools
import http.server
import os
import shutil
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

SITE = "build-web/site"  # set by browser_test.py from its command line
LOGS = "build-web/test-logs"
DESKTOP = None  # the desktop game binary, when browser_test.py is given one
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


HEADLESS_FLAGS = ["--headless", "--use-angle=swiftshader", "--enable-unsafe-swiftshader"]


def start_browser(flags=None):
    """A Chromium of its own profile, headless on SwiftShader unless other
    `flags` are given. End it with stop_browser, which removes the profile."""
    profile = tempfile.mkdtemp(prefix="quorland-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in (HEADLESS_FLAGS if flags is None else flags) + [
            "--no-sandbox", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--window-size=1400,1250", "--user-data-dir=" + profile]:
        options.add_argument(flag)
    try:
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except Exception:
        shutil.rmtree(profile, ignore_errors=True)
        raise
    driver.quorland_profile = profile
    driver.set_page_load_timeout(60)
    driver.set_script_timeout(30)
    return driver


def stop_browser(driver):
    driver.quit()
    shutil.rmtree(driver.quorland_profile, ignore_errors=True)


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


class GamePageTest(unittest.TestCase):
    """One browser and one server for the tests of a class."""

    @classmethod
    def setUpClass(cls):
        cls.server, cls.url = serve(SITE)
        cls.driver = start_browser()

    @classmethod
    def tearDownClass(cls):
        stop_browser(cls.driver)
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
