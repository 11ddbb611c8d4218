#!/usr/bin/python3
"""Replays in the page, against the desktop: every golden replay played with
?replay= prints the desktop's transcript line for line; ?timedemo= prints
its closing line; a game played with real input in the page, downloaded,
replays on the desktop binary with the page's transcript; a chosen or a
dropped file plays; bad files show the desktop's line for them and the game
in progress goes on.

The desktop binary (browser_harness.DESKTOP) is given to browser_test.py by
scripts/web.sh --test; the tests that need it are skipped without it.
"""

import glob
import os
import shutil
import subprocess
import tempfile
import time

from selenium.webdriver.common.by import By

import browser_harness
from browser_harness import SEED, GamePageTest, Page, screenshot_on_failure, wait_for

HERE = os.path.dirname(os.path.abspath(__file__))
GOLDENS = os.path.join(HERE, "..", "tests", "replays")
WITH_DISPLAY = os.path.join(HERE, "..", "scripts", "with-display.sh")


def golden(name, extension):
    with open(os.path.join(GOLDENS, name + extension)) as file:
        return file.read()


def desktop_lines(arguments, folder, display=False, timeout=300):
    """What the desktop game prints for `arguments`, run in `folder` with
    standard input at its end, and its exit code."""
    command = [os.path.abspath(browser_harness.DESKTOP)] + arguments
    if display:
        command = [WITH_DISPLAY] + command
    done = subprocess.run(command, cwd=folder, stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, timeout=timeout)
    return done.stdout.splitlines(), done.returncode


class ReplayPageTest(GamePageTest):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quorland-replays-")

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_to_end(self, page, timeout=400):
        state = wait_for(lambda: page.state() in ("ended", "stopped") and page.state(), timeout)
        self.assertEqual(state, "ended", page.stopped_message())
        return page.lines()

    def notice(self):
        return self.driver.find_element(By.ID, "replay-notice").get_attribute("textContent")

    def choose(self, path):
        self.driver.find_element(By.ID, "replay-file").send_keys(path)

    def drop(self, name, text):
        self.driver.execute_script("""
            const transfer = new DataTransfer();
            transfer.items.add(new File([arguments[1]], arguments[0]));
            window.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, cancelable: true}));
            """, name, text)

    @screenshot_on_failure
    def test_every_golden_replay_prints_the_desktop_transcript(self):
        names = sorted(os.path.basename(path)[:-len(".replay")]
                       for path in glob.glob(os.path.join(GOLDENS, "*.replay")))
        self.assertIn("drift_edge", names)
        for name in names:
            with self.subTest(name):
                page = Page(self.driver, self.url + "?replay=" + name)
                self.assertEqual(self.run_to_end(page), golden(name, ".transcript").splitlines())

    @screenshot_on_failure
    def test_a_timedemo_prints_the_transcript_then_its_line(self):
        page = Page(self.driver, self.url + "?timedemo=fall")
        lines = self.run_to_end(page)
        self.assertEqual(lines[:-1], golden("fall", ".transcript").splitlines())
        frames = golden("fall", ".replay").splitlines()[-1].split()[1]
        self.assertTrue(lines[-1].startswith("Timedemo: %s frames in " % frames), lines[-1])
        self.assertIn(" frames/s; frame times median ", lines[-1])

    @screenshot_on_failure
    def test_a_game_played_in_the_page_replays_on_the_desktop(self):
        if not browser_harness.DESKTOP:
            self.skipTest("no desktop binary given")
        page = self.open("?seed=" + SEED)
        self.start_game(page)
        page.key("w")
        self.assertTrue(page.wait_for_line("Score: 1"))
        for key in "aw":  # a hop, or a tree's refusal: either prints
            before = len(page.lines())
            page.key(key)
            self.assertTrue(wait_for(lambda: len(page.lines()) > before, 60), key)
            time.sleep(1)  # the hop lands
        page.key("\ue00c")  # Escape: paused
        time.sleep(1.5)  # a few frames after the last key
        lines = page.lines()
        self.driver.execute_cdp_cmd("Page.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": self.folder})
        self.driver.find_element(By.ID, "replay-download").click()
        downloaded = wait_for(lambda: [f for f in os.listdir(self.folder)
                                       if f.endswith(".replay")], 30)
        self.assertTrue(downloaded, "nothing was downloaded")
        replay = os.path.join(self.folder, downloaded[0])
        with open(replay) as file:
            self.assertTrue(file.read().splitlines()[-1].startswith("end "))
        printed, code = desktop_lines(["--replay", replay, "--run_headless", "--filename", "last"],
                                      self.folder, display=True)
        self.assertEqual(code, 0)
        self.assertEqual(printed, lines)

    @screenshot_on_failure
    def test_a_chosen_and_a_dropped_file_play(self):
        page = self.open("?seed=" + SEED)
        path = os.path.join(self.folder, "chosen.replay")
        shutil.copy(os.path.join(GOLDENS, "fall.replay"), path)
        self.choose(path)
        self.assertEqual(self.run_to_end(page), golden("fall", ".transcript").splitlines())
        self.drop("dropped.replay", golden("pause_orbit", ".replay"))
        self.assertEqual(self.run_to_end(page), golden("pause_orbit", ".transcript").splitlines())

    @screenshot_on_failure
    def test_bad_files_show_the_desktop_line_and_the_game_goes_on(self):
        header = golden("fall", ".replay").split("\n")[0]
        files = {
            "garbage.replay": b"\x00\x01 not a replay\n",
            "cut.replay": golden("fall", ".replay")[:len(header) + 9].encode(),
            "newer.replay": golden("fall", ".replay").replace("REPLAY 1 ", "REPLAY 2 ", 1).encode(),
        }
        for name, data in files.items():
            with open(os.path.join(self.folder, name), "wb") as file:
                file.write(data)
        huge = os.path.join(self.folder, "huge.replay")
        with open(huge, "wb") as file:
            file.truncate(64 * 1024 * 1024 + 1)  # sparse: nothing needs reading
        page = self.open("?seed=" + SEED)
        self.start_game(page)
        shown_lines = {}
        for name in list(files) + ["huge.replay"]:
            with self.subTest(name):
                expected = None
                if browser_harness.DESKTOP:
                    printed, code = desktop_lines(["--replay", name], self.folder)
                    self.assertEqual(code, 1)
                    expected = printed[-1]
                self.choose(os.path.join(self.folder, name))
                shown = wait_for(lambda: self.notice().startswith("ERROR: ") and self.notice(), 30)
                self.assertTrue(shown, name)
                shown_lines[name] = shown
                self.assertIn("'" + name + "'", shown)
                if expected:
                    self.assertEqual(shown, expected)
                self.assertEqual(page.lines()[-1], shown)
                self.assertEqual(page.state(), "running")
                self.driver.execute_script(
                    "document.getElementById('replay-notice').textContent = ''")
        self.assertIn("line 1: format version '2' is not supported", shown_lines["newer.replay"])
        self.assertIn("too large", shown_lines["huge.replay"])
        before = len(page.lines())
        page.key("w")
        self.assertTrue(page.wait_for_line("Score: 1"), "the game should go on")
        self.assertGreater(len(page.lines()), before)
