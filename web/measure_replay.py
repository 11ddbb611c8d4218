#!/usr/bin/python3
"""The timedemo of one golden replay natively and in the page, in one run:
frames per second of each and their ratio, with the rasterizer each used.

usage: measure_replay.py SITE_FOLDER DESKTOP_BINARY [NAME]

Run it under an X display (scripts/web.sh --timedemo does). The native game
draws through the display's OpenGL (Mesa llvmpipe under Xvfb); the page is
timed twice in headless Chromium: with its usual SwiftShader WebGL, and
drawing through the same Mesa llvmpipe (ANGLE on the display's OpenGL).
The native timedemo runs before and after the page and is averaged.
"""

import os
import re
import subprocess
import sys

import browser_harness

LLVMPIPE_FLAGS = ["--headless=new", "--use-gl=angle", "--use-angle=gl",
                  "--ignore-gpu-blocklist"]
RENDERER_QUERY = """
    const gl = document.createElement('canvas').getContext('webgl2');
    const info = gl.getExtension('WEBGL_debug_renderer_info');
    return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : gl.getParameter(gl.RENDERER);"""


def frames_per_second(line):
    match = re.search(r"Timedemo: (\d+) frames in ([\d.]+) s, ([\d.]+) frames/s", line)
    assert match, line
    return float(match.group(3))


def native(binary, replay):
    done = subprocess.run([binary, "--timedemo", replay], stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=900, check=True)
    # The game does not name its renderer; under Xvfb GLX is Mesa's llvmpipe
    # (the only OpenGL of an Xvfb display), so that is what it used.
    return frames_per_second(done.stdout.splitlines()[-1]), "Mesa llvmpipe (Xvfb's GLX)"


def browser(site, name, flags):
    server, url = browser_harness.serve(site)
    driver = browser_harness.start_browser(flags)
    try:
        driver.set_script_timeout(60)
        page = browser_harness.Page(driver, url + "?timedemo=" + name)
        state = browser_harness.wait_for(
            lambda: page.state() in ("ended", "stopped") and page.state(), 900)
        assert state == "ended", page.stopped_message()
        return frames_per_second(page.lines()[-1]), driver.execute_script(RENDERER_QUERY)
    finally:
        browser_harness.stop_browser(driver)
        server.shutdown()
        server.server_close()


def main():
    site, binary = sys.argv[1:3]
    name = sys.argv[3] if len(sys.argv) > 3 else "log_ride"
    replay = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "replays",
                          name + ".replay")
    before, renderer = native(binary, replay)
    swiftshader = browser(site, name, browser_harness.HEADLESS_FLAGS)
    llvmpipe = browser(site, name, LLVMPIPE_FLAGS)
    after, _ = native(binary, replay)
    fps = (before + after) / 2
    print("timedemo of %s at 1280x768" % name)
    print("native:            %6.2f frames/s (%.2f before, %.2f after), %s" % (fps, before, after,
                                                                              renderer))
    for label, (page_fps, page_renderer) in [("page, SwiftShader", swiftshader),
                                             ("page, llvmpipe", llvmpipe)]:
        print("%-18s %6.2f frames/s, ratio to native %.2f, %s" % (label + ":", page_fps,
                                                                  page_fps / fps, page_renderer))


if __name__ == "__main__":
    main()
