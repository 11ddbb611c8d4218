#!/usr/bin/python3
"""Frames per second of the browser build in headless Chromium against the
native game's full frame, both at 1280 x 768, measured in the same run.

usage: measure_fps.py SITE_FOLDER NATIVE_BENCH_EXECUTABLE

The browser figure counts animation frames (one game frame each) for 30 s
while a game runs (seed 7, standing at the start), after 5 s of warming up; the native figure is the benchmark of one full game frame
(4x multisampling, swap included) in a hidden window, measured before and
after the browser. Medians throughout; run it under an X display.
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

import browser_harness


def native_fps(bench):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "frame.json")
        subprocess.run([bench, "--benchmark_filter=BM_FullGameFrame1280x768",
                        "--benchmark_repetitions=5", "--benchmark_out=" + out,
                        "--benchmark_out_format=json"], check=True, capture_output=True)
        with open(out) as results:
            benchmarks = json.load(results)["benchmarks"]
    times = [b["real_time"] for b in benchmarks if b.get("run_type") == "iteration"]
    return 1000.0 / statistics.median(times)  # the benchmark reports milliseconds


def browser_fps(site):
    server, url = browser_harness.serve(site)
    driver = browser_harness.start_browser()
    try:
        page = browser_harness.Page(driver, url + "?seed=7")
        assert page.wait_until_running(), "the game did not start"
        assert page.wait_for_screen(
            lambda i: browser_harness.near(i.getpixel((5, 5)), browser_harness.MENU))
        page.click()
        time.sleep(5)
        driver.set_script_timeout(120)
        # Animation frames counted over 30 s: each one runs one game frame.
        fps = driver.execute_async_script("""
            const done = arguments[0];
            const start = performance.now();
            let frames = 0;
            function count(now) {
                frames += 1;
                if (now - start < 30000) { requestAnimationFrame(count); }
                else { done(frames * 1000 / (now - start)); }
            }
            requestAnimationFrame(count);""")
        return fps, driver.execute_script("return [canvas.width, canvas.height]")
    finally:
        browser_harness.stop_browser(driver)
        server.shutdown()
        server.server_close()


def main():
    site, bench = sys.argv[1:3]
    before = native_fps(bench)
    browser, size = browser_fps(site)
    after = native_fps(bench)
    native = statistics.mean([before, after])
    print("native full frame: %.2f frames/s (%.2f before, %.2f after)" % (native, before, after))
    print("browser, headless Chromium %dx%d: %.2f frames/s" % (size[0], size[1], browser))
    print("browser / native: %.2f" % (browser / native))


if __name__ == "__main__":
    main()
