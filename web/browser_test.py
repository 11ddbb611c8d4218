#!/usr/bin/python3
"""The browser build end to end: the page's start screen, a game with the
desktop's commentary, the seed, and a fatal message on the page.

usage: browser_test.py SITE_FOLDER LOG_FOLDER [DESKTOP_BINARY]

Runs every *_test.py in this folder (each derives from
browser_harness.GamePageTest). The commentary expected here is what the
desktop prints for the same course and keys (tests/e2e/gameplay_test.cpp
checks the same lines).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains

import browser_harness
from browser_harness import (BLACK, FILE_PACKAGER, FIRST_HOP, MENU, PAUSED_BOX, SCORE_BOX, SEED,
                             SUBTITLE, SUBTITLE_BOX, TITLE_BOX, WHITE,
                             GamePageTest, Page, count_in_box, count_outside_box, near, serve,
                             screenshot_on_failure, wait_for)


class BrowserTest(GamePageTest):
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
            # The page and the game as built; the assets packed again below.
            for name in os.listdir(browser_harness.SITE):
                if name.endswith((".html", ".js", ".css", ".wasm")) and name != "assets.js":
                    shutil.copy(os.path.join(browser_harness.SITE, name), broken)
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
    browser_harness.SITE, browser_harness.LOGS = (os.path.abspath(f) for f in sys.argv[1:3])
    if len(sys.argv) > 3:
        browser_harness.DESKTOP = os.path.abspath(sys.argv[3])
    # Every *_test.py beside this file, this one included.
    suite = unittest.defaultTestLoader.discover(os.path.dirname(os.path.abspath(__file__)),
                                                pattern="*_test.py")
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
