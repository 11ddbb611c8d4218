#!/usr/bin/python3
"""Takes the picture of the page on a phone held upright (390 x 844, touch)
in a game, as docs/phone.png shows it.

usage: phone_picture.py SITE_FOLDER OUTPUT.png
(from the project folder: python3 web/phone_picture.py build-web/site docs/phone.png)
"""

import sys
import time

import browser_harness
from browser_harness import SEED, SKY, near
from touch_test import FOUR_HOPS, PortraitPhoneTest


class Picture(PortraitPhoneTest):
    def runTest(self):
        page = self.open_phone()
        self.tap_to_start(page)
        self.tap(*self.centre("canvas"))  # one hop forward
        self.assertTrue(page.wait_for_line(FOUR_HOPS[2]))
        self.assertIsNotNone(page.wait_for_screen(lambda i: near(i.getpixel((5, 5)), SKY)))
        time.sleep(1)
        self.driver.save_screenshot(sys.argv[2])


if __name__ == "__main__":
    browser_harness.SITE = sys.argv[1]
    Picture.setUpClass()
    try:
        Picture().runTest()
    finally:
        Picture.tearDownClass()
    print("wrote " + sys.argv[2] + " (course " + SEED + ")")
