#!/usr/bin/python3
"""Builds the sample gallery with every bundled style and looks at its pages in a headless
Chromium, at a desktop and a phone size, as a visitor would: every picture loads, nothing
scrolls sideways, a picture page shows its whole picture and title, the keys, a swipe and
the way back lead where they should, no script fails, and the dark preference changes the
page. Screenshots of every style at both sizes are saved in the output folder.

    style_pages.py CLI DATA_FOLDER OUTPUT_FOLDER

Exits with 77 (skipped) when Chromium, its driver or Selenium is missing.
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

SKIPPED = 77

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.common.exceptions import TimeoutException
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("skipped: python3-selenium is not installed")
    sys.exit(SKIPPED)

SCREENS = {
    # name: width, height, device pixels per CSS pixel, phone
    "desktop": (1280, 900, 1, False),
    "phone": (390, 844, 2, True),
}
PICTURES_PER_PAGE = 12  # the default 4 x 3 table


class Checks:
    """Collects failed checks, so that one run reports every fault it finds."""

    def __init__(self):
        self.failures = []
        self.where = ""

    def expect(self, condition, message):
        if not condition:
            self.failures.append(f"{self.where}: {message}")
        return condition


def build_gallery(cli, data, style, folder):
    project = folder.with_suffix(".vlm")
    folder.mkdir()
    samples = data / "samples"
    subprocess.run(
        [cli, "new", "-o", project, "--program-folder", data, "--style", style,
         "--add-dir", samples, "--set", f"DestFolder={folder}",
         "--set", "PageTitle=Summer album"],
        check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cli, "build", project, "--program-folder", data, "--yes", "--quiet"],
                   check=True)


def start_browser(profile):
    chromium = shutil.which("chromium")
    driver = shutil.which("chromedriver")
    if not chromium or not driver:
        print("skipped: chromium and chromium-driver are not installed")
        sys.exit(SKIPPED)
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    for argument in ("--headless", "--disable-gpu", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--no-first-run",
                     "--hide-scrollbars", f"--user-data-dir={profile}"):
        options.add_argument(argument)
    # Chromium's sandbox cannot start as root; as any other user it stays on.
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(executable_path=driver), options=options)


class StylePages:
    def __init__(self, browser, checks, gallery, shots, style):
        self.browser = browser
        self.checks = checks
        self.gallery = gallery
        self.shots = shots
        self.style = style

    def url(self, relative):
        return (self.gallery / relative).as_uri()

    def emulate(self, screen, scheme="light"):
        width, height, scale, phone = SCREENS[screen]
        self.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": phone})
        self.browser.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {
            "enabled": phone, "maxTouchPoints": 1})
        self.browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {
            "features": [{"name": "prefers-color-scheme", "value": scheme}]})

    def open(self, relative):
        self.checks.where = f"{self.style} {self.screen} {relative}"
        self.browser.get(self.url(relative))
        WebDriverWait(self.browser, 10).until(lambda b: b.execute_script(
            "return document.readyState === 'complete' && "
            "Array.from(document.images).every(i => i.complete)"))
        for entry in self.browser.get_log("browser"):
            self.checks.expect(entry["level"] != "SEVERE", f"console: {entry['message']}")

    def js(self, script, *arguments):
        return self.browser.execute_script(script, *arguments)

    def check_every_page_fact(self):
        broken = self.js("return Array.from(document.images)"
                         ".filter(i => !(i.naturalWidth > 0)).map(i => i.src)")
        self.checks.expect(not broken, f"pictures that did not load: {broken}")
        # Button markup comes from the navigation links and names no size: the style sheet
        # fixes their box instead.
        unsized = self.js("""return Array.from(document.images).filter(i =>
            !(i.hasAttribute('width') && i.hasAttribute('height')) &&
            !(i.closest('.pager') && i.width === 40 && i.height === 40)).map(i => i.src)""")
        self.checks.expect(not unsized, f"pictures without a size: {unsized}")
        overflow = self.js("return document.documentElement.scrollWidth - window.innerWidth")
        self.checks.expect(overflow <= 0, f"scrolls sideways by {overflow} px")

    def screenshot(self, name):
        self.browser.save_screenshot(str(self.shots / f"{self.style}-{self.screen}-{name}.png"))

    def check_index_pages(self, page_count):
        for page in range(1, page_count + 1):
            self.open("index.htm" if page == 1 else f"index{page}.htm")
            self.check_every_page_fact()
            columns = self.js("""const cells = Array.from(document.querySelectorAll('.thumbs td'));
                return new Set(cells.map(c => Math.round(c.getBoundingClientRect().width))).size""")
            self.checks.expect(columns == 1, "thumbnail cells of unequal width")
            if page == 1:
                wanted = "@2x.jpg" if SCREENS[self.screen][2] > 1 else ".jpg"
                source = self.js("return document.querySelector('.thumbs img').currentSrc")
                self.checks.expect(source.endswith(wanted), f"thumbnail shown from {source}")
                self.screenshot("index")

    def check_picture_page(self, picture, count):
        self.open(f"picpage/page{picture}.htm")
        self.check_every_page_fact()
        facts = self.js("""const img = document.querySelector('.thumbs img');
            const cell = img.closest('td');
            const caption = cell.querySelector('.caption');
            const style = getComputedStyle(cell);
            const inside = r => r.top >= 0 && r.left >= 0 &&
                r.bottom <= window.innerHeight + 0.5 && r.right <= window.innerWidth + 0.5;
            return {picture: inside(img.getBoundingClientRect()),
                    caption: inside(caption.getBoundingClientRect()),
                    slack: cell.getBoundingClientRect().width - img.getBoundingClientRect().width
                           - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight)
                           - parseFloat(style.borderLeftWidth) - parseFloat(style.borderRightWidth),
                    lazy: img.loading === 'lazy', alt: img.alt, title: caption.textContent,
                    back: document.querySelector('a.back').href}""")
        self.checks.expect(facts["picture"], "the large picture reaches out of the window")
        self.checks.expect(facts["caption"], "the picture's title is out of the window")
        self.checks.expect(abs(facts["slack"]) <= 1, f"frame wider than the picture by "
                                                    f"{facts['slack']:.0f} px")
        self.checks.expect(not facts["lazy"], "the large picture loads lazily")
        self.checks.expect(facts["alt"] and facts["alt"] == facts["title"],
                           f"alternative text {facts['alt']!r}")
        index_page = (picture - 1) // PICTURES_PER_PAGE + 1
        wanted = self.url("index.htm" if index_page == 1 else f"index{index_page}.htm")
        self.checks.expect(facts["back"] == wanted, f"the way back leads to {facts['back']}")

    def follows(self, action, expected, what):
        before = self.browser.current_url
        action()
        try:
            WebDriverWait(self.browser, 5).until(lambda b: b.current_url != before and b.execute_script(
                "return document.readyState === 'complete'"))
        except TimeoutException:
            pass
        self.checks.expect(self.browser.current_url == self.url(expected),
                           f"{what} leads to {self.browser.current_url}")

    def press(self, key):
        return lambda: ActionChains(self.browser).send_keys(key).perform()

    def swipe(self, distance):
        def touch(kind, x):
            points = [] if kind == "touchEnd" else [{"x": x, "y": 400}]
            self.browser.execute_cdp_cmd("Input.dispatchTouchEvent",
                                         {"type": kind, "touchPoints": points})

        def action():
            touch("touchStart", 200)
            touch("touchMove", 200 + distance // 2)
            touch("touchMove", 200 + distance)
            touch("touchEnd", 200 + distance)
        return action

    def check_navigation(self):
        self.open("picpage/page14.htm")
        self.follows(self.press(Keys.ARROW_RIGHT), "picpage/page15.htm", "the right arrow")
        self.follows(self.press(Keys.ARROW_LEFT), "picpage/page14.htm", "the left arrow")
        self.follows(self.press(Keys.ESCAPE), "index2.htm", "Escape")
        if SCREENS[self.screen][3]:
            self.open("picpage/page3.htm")
            self.follows(self.swipe(-180), "picpage/page4.htm", "a swipe to the left")
            self.follows(self.swipe(180), "picpage/page3.htm", "a swipe to the right")

    def check_dark_preference(self):
        colours = {}
        for scheme in ("light", "dark"):
            self.emulate(self.screen, scheme)
            self.open("index.htm")
            colours[scheme] = self.js("return getComputedStyle(document.body).backgroundColor")
            if scheme == "dark":
                self.screenshot("index-dark")
        self.checks.expect(colours["light"] != colours["dark"],
                           f"the same background {colours['light']} in light and dark")
        self.emulate(self.screen)


def picture_orientations(gallery, count):
    """The first clearly landscape and clearly portrait picture of some size, by the sizes
    their pages give."""
    found = {}
    for picture in range(1, count + 1):
        page = (gallery / "picpage" / f"page{picture}.htm").read_text(encoding="utf-8")
        start = page.index('src="../pic/')
        tag = page[start:page.index(">", start)]
        width = int(tag.split('width="')[1].split('"')[0])
        height = int(tag.split('height="')[1].split('"')[0])
        if max(width, height) >= 800 and max(width, height) >= 1.2 * min(width, height):
            found.setdefault("landscape" if width > height else "portrait", picture)
    return found


def main():
    cli, data, output = sys.argv[1], Path(sys.argv[2]).resolve(), Path(sys.argv[3]).resolve()
    shutil.rmtree(output, ignore_errors=True)
    shots = output / "screenshots"
    shots.mkdir(parents=True)
    styles = sorted(path.stem for path in (data / "template").glob("*.htm"))
    count = len([path for path in (data / "samples").iterdir() if path.is_file()])
    page_count = (count + PICTURES_PER_PAGE - 1) // PICTURES_PER_PAGE
    checks = Checks()
    browser = start_browser(output / "profile")
    try:
        for style in styles:
            gallery = output / style
            build_gallery(cli, data, style, gallery)
            orientations = picture_orientations(gallery, count)
            checks.where = style
            checks.expect(len(orientations) == 2, "the samples lack a landscape or portrait")
            pages = StylePages(browser, checks, gallery, shots, style)
            for screen in SCREENS:
                pages.screen = screen
                pages.emulate(screen)
                pages.check_index_pages(page_count)
                for picture in range(1, count + 1):
                    pages.check_picture_page(picture, count)
                for orientation, picture in orientations.items():
                    pages.open(f"picpage/page{picture}.htm")
                    pages.screenshot(orientation)
                pages.check_navigation()
                pages.check_dark_preference()
    finally:
        browser.quit()
    for failure in checks.failures:
        print(failure)
    print(f"{len(styles)} styles, {len(checks.failures)} failed checks; screenshots in {shots}")
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
