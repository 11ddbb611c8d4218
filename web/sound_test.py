#!/usr/bin/python3
"""The game's sound in the page, as a player hears it: a spy injected before
the page loads logs every audio buffer the page starts (its length in
samples tells which effect it holds) and every audio context it makes.

Lengths: the effects are rendered at 48000 samples per second, the click
for 0.080 s and a hop for 0.110 s (audio/effects.cpp).
"""

import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

from browser_harness import SEED, GamePageTest, screenshot_on_failure, wait_for

CLICK = 3840
HOP = 5280

SPY = """
window.__starts = [];
window.__contexts = [];
const originalStart = AudioBufferSourceNode.prototype.start;
AudioBufferSourceNode.prototype.start = function (...args) {
  window.__starts.push(this.buffer ? this.buffer.length : -1);
  return originalStart.apply(this, args);
};
const OriginalContext = window.AudioContext;
window.AudioContext = function (...args) {
  const context = new OriginalContext(...args);
  window.__contexts.push(context);
  return context;
};
window.AudioContext.prototype = OriginalContext.prototype;
"""


class SoundTest(GamePageTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": SPY})

    def starts(self):
        return self.driver.execute_script("return window.__starts;")

    def hop(self, page, score):
        page.key("w")
        self.assertTrue(page.wait_for_line("Score: %d" % score), "hop %d did not land" % score)

    @screenshot_on_failure
    def test_a_click_and_three_hops_are_heard_in_order_and_the_audio_runs(self):
        page = self.open("?seed=" + SEED)
        self.start_game(page)
        for score in (1, 2, 3):
            self.hop(page, score)
        self.assertTrue(wait_for(lambda: self.starts().count(HOP) == 3, 10), self.starts())
        heard = [length for length in self.starts() if length in (CLICK, HOP)]
        self.assertEqual(heard, [CLICK, HOP, HOP, HOP])
        states = self.driver.execute_script("return window.__contexts.map(c => c.state);")
        self.assertEqual(states, ["running"], "a real click should resume the game's audio")

    @screenshot_on_failure
    def test_mute_in_the_address_opens_no_audio_at_all(self):
        page = self.open("?seed=" + SEED + "&mute=1")
        self.start_game(page)
        self.hop(page, 1)
        time.sleep(1)
        self.assertEqual(self.starts(), [])
        self.assertEqual(self.driver.execute_script("return window.__contexts.length;"), 0)
        button = self.driver.find_element(By.ID, "mute")
        self.assertEqual(button.text, "Sound: off")
        self.assertFalse(button.is_enabled())

    @screenshot_on_failure
    def test_the_mute_button_silences_the_game_until_pressed_again(self):
        page = self.open("?seed=" + SEED)
        self.start_game(page)
        button = self.driver.find_element(By.ID, "mute")
        self.assertEqual(button.text, "Sound: on")
        ActionChains(self.driver).move_to_element(button).click().perform()
        self.assertEqual(button.text, "Sound: off")
        before = len(self.starts())
        self.hop(page, 1)
        time.sleep(1)
        self.assertEqual(len(self.starts()), before, "a muted hop starts no sound")
        ActionChains(self.driver).move_to_element(button).click().perform()
        self.assertEqual(button.text, "Sound: on")
        self.hop(page, 2)
        self.assertTrue(wait_for(lambda: HOP in self.starts()[before:], 10), self.starts())
