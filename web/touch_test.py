#!/usr/bin/python3
"""The page on a phone (touch emulated, 390 x 844 and 844 x 390) and with a
faked gamepad: a tap starts exactly one game, swipes and the pad hop with
the desktop's lines for the same moves (tests/e2e/gamepad_test.cpp checks
them there), a tap and the pad's South button both leave the game-over
screen, the pause button and a hidden page pause, and the canvas fills the
screen (upright: the game's window is the canvas) or its height (sideways)
without anything scrolling sideways or out of reach.

Run by browser_test.py with the other *_test.py files.
"""

import time

from browser_harness import (BLACK, MENU, PAUSED_BOX, SEED, SKY, GamePageTest, count_in_box, near,
                             screenshot_on_failure, wait_for)

# What the four hops forward, right, left and back print on the desktop
# for SEED.
FOUR_HOPS = [
    "jumping now from: (-0, 0, 0) to: (-0, 0, 1)",
    "player at : (-0, 0, 1)",
    "Score: 1",
    "jumping now from: (-0, 0, 1) to: (1, 0, 1)",
    "player at : (1, 0, 1)",
    "jumping now from: (1, 0, 1) to: (-0, 0, 1)",
    "player at : (-0, 0, 1)",
    "jumping now from: (-0, 0, 1) to: (-0, 0, 0)",
    "player at : (-0, 0, 0)",
]

# Counts what reaches the window library's mouse-button handling: a tap
# must not (its own touch handling made each tap two clicks).
COUNT_CLICKS = """
window.clicksSeen = [];
const changed = GLFW.onMouseButtonChanged;
GLFW.onMouseButtonChanged = function (event, status) {
  window.clicksSeen.push(status);
  return changed.apply(this, arguments);
};
"""


def centred_box(box, width, height):
    """A box of text centred on the 1280 x 768 canvas, where the game places
    it on a `width` x `height` one."""
    dx, dy = (width - 1280) // 2, (height - 768) // 2
    return (box[0] + dx, box[1] + dy, box[2] + dx, box[3] + dy)


def game_over_by_debug_keys(test, page):
    """C (debug mode) and K (end the game) bring the game-over screen up
    (its button tells: the game says which touch button shows)."""
    page.key("c")
    page.key("k")
    test.assertTrue(wait_for(lambda: test.driver.execute_script(
        "return Module.UTF8ToString(Module._quorland_touch_button())") == "start-screen", 30),
        "no game-over screen")


class PhonePageTest(GamePageTest):
    """One phone, held one way for the whole class."""

    WIDTH, HEIGHT = 390, 844

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": cls.WIDTH, "height": cls.HEIGHT, "deviceScaleFactor": 1, "mobile": True})
        cls.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                   {"enabled": True, "maxTouchPoints": 5})

    def touch(self, kind, points):
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [{"x": x, "y": y} for x, y in points]})

    def tap(self, x, y):
        self.touch("touchStart", [(x, y)])
        self.touch("touchEnd", [])

    def swipe(self, start, end, steps=6):
        self.touch("touchStart", [start])
        for step in range(1, steps + 1):
            self.touch("touchMove", [(start[0] + (end[0] - start[0]) * step / steps,
                                      start[1] + (end[1] - start[1]) * step / steps)])
        self.touch("touchEnd", [])

    def recording(self):
        """The lines of the run's recording so far: what the game received."""
        return self.driver.execute_script(
            "return Module.UTF8ToString(Module._quorland_take_recording())").splitlines()

    def rect(self, element_id):
        return self.driver.execute_script(
            "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
            "return {left: r.left, top: r.top, width: r.width, height: r.height};", element_id)

    def centre(self, element_id):
        r = self.rect(element_id)
        return r["left"] + r["width"] / 2, r["top"] + r["height"] / 2

    def layout(self):
        return self.driver.execute_script("""
            const root = document.documentElement;
            const visible = (selector) => [...document.querySelectorAll(selector)].some(
                (e) => getComputedStyle(e).display !== 'none');
            return {viewport: [window.innerWidth, window.innerHeight],
                    scrollWidth: root.scrollWidth, clientWidth: root.clientWidth,
                    canvas: [canvas.width, canvas.height],
                    touchControls: visible('#controls .touch-only'),
                    keyControls: visible('#controls .keys-only'),
                    console: getComputedStyle(document.getElementById('console')).display};""")

    def open_phone(self):
        page = self.open("?seed=" + SEED)
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)),
                             "no start screen")
        self.driver.execute_script(COUNT_CLICKS)
        return page

    def tap_to_start(self, page):
        self.tap(*self.centre("canvas"))
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), SKY)),
                             "a tap should start a game")
        time.sleep(1)  # room for a second click, should one come
        self.assertEqual(self.driver.execute_script("return window.clicksSeen"), [],
                         "the window library's own touch handling is off")
        clicks = [line for line in self.recording() if line.startswith("b ")]
        self.assertEqual(clicks, ["b 0 1 0", "b 0 0 0"],
                         "a tap is one press and one release of the left button")

    def check_fills_the_screen_one_way(self):
        layout = self.layout()
        self.assertEqual(layout["viewport"], [self.WIDTH, self.HEIGHT])
        canvas = self.rect("canvas")
        pause = self.rect("pause")
        if self.WIDTH < self.HEIGHT:
            self.assertEqual((canvas["left"], canvas["top"], canvas["width"]), (0, 0, self.WIDTH))
            self.assertGreaterEqual(canvas["height"], 0.75 * self.HEIGHT, "the canvas fills the phone")
            for below in ("pause", "fullscreen", "mute"):
                rect = self.rect(below)
                self.assertGreaterEqual(rect["top"], canvas["top"] + canvas["height"])
                self.assertLessEqual(rect["top"] + rect["height"], self.HEIGHT, below + " is cut off")
            # The run's window is the canvas, as its recording says.
            self.assertIn("window %d %d 60 0 QUORLAND" % (canvas["width"], canvas["height"]),
                          self.recording())
        else:
            self.assertEqual((canvas["top"], canvas["height"]), (0, self.HEIGHT))
            self.assertGreaterEqual(pause["left"], canvas["left"] + canvas["width"],
                                    "the buttons stand beside the canvas")
            self.assertLessEqual(pause["left"] + pause["width"], self.WIDTH)
            self.assertEqual(canvas["width"] * 768, canvas["height"] * 1280,
                             "the picture keeps its shape")
        self.assertEqual(layout["canvas"], [canvas["width"], canvas["height"]])
        self.assertLessEqual(layout["scrollWidth"], layout["clientWidth"], "the page scrolls sideways")
        self.assertTrue(layout["touchControls"] and not layout["keyControls"])
        self.assertEqual(layout["console"], "none", "the console panel should be folded")
        self.assertGreaterEqual(min(pause["width"], pause["height"]), 44, "a button for a finger")


class PortraitPhoneTest(PhonePageTest):
    @screenshot_on_failure
    def test_a_tap_starts_one_game_and_four_swipes_hop_with_the_desktop_lines(self):
        page = self.open_phone()
        before = len(page.lines())
        self.tap_to_start(page)
        self.check_fills_the_screen_one_way()
        x, y = self.centre("canvas")
        # Forward, right, left, back; the last one ends outside the canvas.
        moves = [((x, y + 20), (x + 4, y - 40)), ((x - 30, y), (x + 30, y + 10)),
                 ((x + 30, y), (x - 40, y - 5)), ((x, y - 30), (x, y + 200))]
        for number, (start, end) in enumerate(moves):
            landed = FOUR_HOPS[[1, 4, 6, 8][number]]
            self.swipe(start, end)
            self.assertTrue(page.wait_for_line(landed), "swipe %d did not hop" % number)
            # The next hop may start once this one has landed.
            time.sleep(0.5)
        self.assertEqual(page.lines()[before:], FOUR_HOPS)
        self.driver.execute_script("document.getElementById('console-toggle').click()")
        self.assertEqual(self.layout()["console"], "block", "the toggle shows the console")

    @screenshot_on_failure
    def test_the_panel_lies_below_a_canvas_that_covers_most_of_the_screen(self):
        self.open_phone()
        canvas, panel = self.rect("canvas"), self.rect("panel")
        self.assertGreaterEqual(canvas["width"] * canvas["height"], 0.7 * self.WIDTH * self.HEIGHT)
        self.assertGreaterEqual(panel["top"], canvas["top"] + canvas["height"])
        self.assertLessEqual(panel["width"], self.WIDTH)
        self.assertEqual(self.layout()["canvas"], [canvas["width"], canvas["height"]])

    @screenshot_on_failure
    def test_the_pause_button_and_a_hidden_page_pause_until_resumed(self):
        page = self.open_phone()
        self.tap_to_start(page)
        self.tap(*self.centre("pause"))
        paused = page.settled_capture()
        self.assertIsNotNone(paused, "the pause button should pause")
        box = centred_box(PAUSED_BOX, paused.width, paused.height)  # the canvas is the window
        self.assertGreater(count_in_box(paused, box, BLACK), 60, "no PAUSED drawn")
        time.sleep(2)
        self.assertEqual(page.capture().tobytes(), paused.tobytes(), "nothing may move while paused")
        self.assertEqual(self.driver.find_element("id", "pause").text, "Resume")
        self.tap(*self.centre("pause"))
        self.assertIsNotNone(page.wait_for_screen(lambda i: i.tobytes() != paused.tobytes(), 30),
                             "the resume button should resume")

        # Another tab: the game pauses, and stays paused when the page shows again.
        self.driver.execute_script("""
            Object.defineProperty(document, 'hidden', {value: true, configurable: true});
            Object.defineProperty(document, 'visibilityState', {value: 'hidden', configurable: true});
            document.dispatchEvent(new Event('visibilitychange'));""")
        hidden = page.settled_capture()
        self.assertIsNotNone(hidden)
        self.assertGreater(count_in_box(hidden, box, BLACK), 60,
                           "a hidden page should pause the game")
        self.driver.execute_script("""
            delete document.hidden;
            delete document.visibilityState;
            document.dispatchEvent(new Event('visibilitychange'));""")
        time.sleep(2)
        self.assertEqual(page.capture().tobytes(), hidden.tobytes(), "it waits for the player")


    @screenshot_on_failure
    def test_a_tap_on_the_game_over_screen_leaves_it_as_the_pads_south_does(self):
        page = self.open_phone()
        self.tap_to_start(page)
        game_over_by_debug_keys(self, page)
        self.assertTrue(wait_for(self.driver.find_element("id", "to-start").is_displayed, 10),
                        "the start-screen button shows on the game-over screen")
        self.tap(*self.centre("canvas"))
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)),
                             "a tap on the game-over screen should go to the start screen")


class LandscapePhoneTest(PhonePageTest):
    WIDTH, HEIGHT = 844, 390

    @screenshot_on_failure
    def test_a_tap_starts_one_game_on_a_full_height_canvas(self):
        page = self.open_phone()
        self.tap_to_start(page)
        self.check_fills_the_screen_one_way()
        before = len(page.lines())
        x, y = self.centre("canvas")
        self.tap(x, y)  # in a game, a tap hops forward
        self.assertTrue(page.wait_for_line(FOUR_HOPS[2]))
        self.assertEqual(page.lines()[before:], FOUR_HOPS[:3])
        time.sleep(0.5)
        # A second finger while the first swipes right is ignored: one hop right.
        self.touch("touchStart", [(x, y)])
        self.touch("touchStart", [(x, y), (x - 100, y + 50)])
        self.touch("touchMove", [(x + 60, y), (x - 100, y + 50)])
        self.touch("touchEnd", [])
        self.assertTrue(page.wait_for_line(FOUR_HOPS[4]))
        time.sleep(2)
        self.assertEqual(page.lines()[before:], FOUR_HOPS[:5])


# The standard layout's numbers: south 0, back 8, start 9, d-pad 12-15.
FAKE_PAD = """
(() => {
  const button = () => ({pressed: false, touched: false, value: 0});
  const pad = {id: 'Fake pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
               timestamp: 0, buttons: Array.from({length: 17}, button), axes: [0, 0, 0, 0]};
  window.fakePad = pad;
  Object.defineProperty(Navigator.prototype, 'getGamepads',
                        {value: () => [pad, null, null, null], configurable: true});
})();
"""


class GamepadPageTest(GamePageTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FAKE_PAD})

    def press(self, button, down):
        self.driver.execute_script(
            "fakePad.buttons[arguments[0]].pressed = arguments[1];"
            "fakePad.buttons[arguments[0]].value = arguments[1] ? 1 : 0;", button, down)

    def lean(self, x, y):
        self.driver.execute_script("fakePad.axes[0] = arguments[0]; fakePad.axes[1] = arguments[1];",
                                   x, y)

    def hold_until_line(self, page, down, up, line):
        """Holds a control until the game printed `line`, then lets it go:
        the pad is read once a frame, and a longer hold would repeat."""
        down()
        self.assertTrue(page.wait_for_line(line), "no " + line)
        up()

    @screenshot_on_failure
    def test_a_pad_starts_hops_with_the_desktop_lines_and_pauses(self):
        page = self.open("?seed=" + SEED)
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)))
        before = len(page.lines())
        self.press(0, True)  # south starts
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), SKY)),
                             "south should start a game")
        self.press(0, False)
        moves = [(lambda: self.press(12, True), lambda: self.press(12, False)),  # d-pad up
                 (lambda: self.lean(1.0, 0.0), lambda: self.lean(0.0, 0.0)),  # stick right
                 (lambda: self.lean(-0.9, 0.3), lambda: self.lean(0.0, 0.0)),  # stick left
                 (lambda: self.press(13, True), lambda: self.press(13, False))]  # d-pad down
        for number, (down, up) in enumerate(moves):
            started = FOUR_HOPS[[0, 3, 5, 7][number]]
            self.hold_until_line(page, down, up, started)
            self.assertTrue(page.wait_for_line(FOUR_HOPS[[1, 4, 6, 8][number]]))
            time.sleep(0.5)
        self.assertEqual(page.lines()[before:], FOUR_HOPS)

        self.press(9, True)  # start pauses
        paused = page.settled_capture()
        self.press(9, False)
        self.assertIsNotNone(paused)
        self.assertGreater(count_in_box(paused, PAUSED_BOX, BLACK), 60, "start should pause")
        time.sleep(1)
        self.press(9, True)  # and resumes
        self.assertIsNotNone(page.wait_for_screen(lambda i: i.tobytes() != paused.tobytes(), 30),
                             "start again should resume")
        self.press(9, False)
        self.assertFalse([line for line in page.lines() if line.startswith("glfw joystick")])

        game_over_by_debug_keys(self, page)
        self.press(0, True)  # south leaves the game-over screen, as a tap does
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), MENU)),
                             "south on the game-over screen should go to the start screen")
        self.press(0, False)
