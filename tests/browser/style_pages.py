#!/usr/bin/python3
"""Builds the sample gallery with every bundled style and looks at its pages in a headless
Chromium, at a desktop and a phone size, as a visitor would: every picture loads, nothing
scrolls sideways, the thumbnails stand in the columns of the settings at the size they were
built, an index page says which page of how many it is, a picture page shows its whole
picture and title, the keys, a swipe and the way back lead where they should, no script
fails, the page takes the colour of the settings and turns dark where the visitor prefers.
Only what is in view when a page opens loads at once: the first row of thumbnails and a
picture page's picture; every picture has its size in its markup, and until it loads a
thumbnail's place shows the colour of the thumbnail.
The pages' markup is checked too: every style declaration is one the browser accepts, table
cells stand in rows, no link leads to "#", and no empty navigation bar or template comment
is left in. Screenshots of every style at both sizes are saved in the output folder.

    style_pages.py CLI DATA_FOLDER OUTPUT_FOLDER

Exits with 77 (skipped) when Chromium, its driver or Selenium is missing.
"""

import os
import re
import shutil
import subprocess
import sys
from html.parser import HTMLParser
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
# The table of the settings, and a thumbnail size (the longer side) at which a wide window
# holds all its columns and a phone does not.
COLUMNS, ROWS, THUMB_SIZE = 5, 3, 200
PICTURES_PER_PAGE = COLUMNS * ROWS


class Checks:
    """Collects failed checks, so that one run reports every fault it finds."""

    def __init__(self):
        self.failures = []
        self.where = ""

    def expect(self, condition, message):
        if not condition:
            self.failures.append(f"{self.where}: {message}")
        return condition


def build_gallery(cli, data, style, folder, settings=()):
    project = folder.with_suffix(".vlm")
    folder.mkdir()
    samples = data / "samples"
    subprocess.run(
        [cli, "new", "-o", project, "--program-folder", data, "--style", style,
         "--add-dir", samples, "--set", f"DestFolder={folder}",
         "--set", "PageTitle=Summer album", "--set", f"ThumbTableCol={COLUMNS}",
         "--set", f"ThumbTableRow={ROWS}", "--set", f"ThumbWidth={THUMB_SIZE}",
         *(argument for setting in settings for argument in ("--set", setting))],
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
                     "--hide-scrollbars", "--allow-file-access-from-files",
                     f"--user-data-dir={profile}"):
        options.add_argument(argument)
    # Chromium's sandbox cannot start as root; as any other user it stays on.
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(executable_path=driver), options=options)


class TableRows(HTMLParser):
    """Reads a page's table markup as written, before the browser mends it: a cell outside a
    row or a row without cells is a fault of the page."""

    def __init__(self):
        super().__init__()
        self.tables = []  # per open table: the cells of its open row, or None between rows
        self.faults = []

    def close_row(self):
        if self.tables and self.tables[-1] is not None:
            if self.tables[-1] == 0:
                self.faults.append(f"a row without cells before line {self.getpos()[0]}")
            self.tables[-1] = None

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self.tables.append(None)
        elif tag == "tr" and self.tables:
            self.close_row()
            self.tables[-1] = 0
        elif tag in ("td", "th"):
            if not self.tables or self.tables[-1] is None:
                self.faults.append(f"<{tag}> outside a row on line {self.getpos()[0]}")
            else:
                self.tables[-1] += 1

    def handle_endtag(self, tag):
        if tag == "tr":
            self.close_row()
        elif tag == "table" and self.tables:
            self.close_row()
            self.tables.pop()


def markup_faults(page):
    """What is wrong in a page's source, whatever the browser makes of it."""
    source = page.read_text(encoding="utf-8")
    rows = TableRows()
    rows.feed(source)
    rows.close()
    faults = rows.faults
    if re.search(r'href\s*=\s*"#"', source):
        faults.append('a link to "#"')
    document = source[:source.find("</html>")]
    if re.search(r"<!--(?:(?!-->).)*?(\r?\n){2}", document, re.DOTALL):
        faults.append("a comment holding empty lines")
    if re.search(r"(\r?\n){5}", document):
        faults.append("a run of empty lines inside the document")
    return faults


def default_page_colour(template):
    """The page colour a style's settings section starts with, as the browser writes it."""
    found = re.search(r"^<%page bg color=([0-9A-Fa-f]{6})%>$", template.read_text(), re.MULTILINE)
    red, green, blue = (int(found.group(1)[i:i + 2], 16) for i in (0, 2, 4))
    return f"rgb({red}, {green}, {blue})"


def is_dark(colour):
    red, green, blue = (int(part) for part in re.findall(r"\d+", colour)[:3])
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue < 80


class StylePages:
    def __init__(self, browser, checks, gallery, shots, style):
        self.browser = browser
        self.checks = checks
        self.gallery = gallery
        self.shots = shots
        self.style = style
        self.copies_chosen = {}  # by screen

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
        # A browser takes a wider picture it holds already over the one a screen needs.
        self.browser.execute_cdp_cmd("Network.enable", {})
        self.browser.execute_cdp_cmd("Network.clearBrowserCache", {})
        self.browser.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})

    def open(self, relative):
        self.checks.where = f"{self.style} {self.screen} {relative}"
        self.browser.get(self.url(relative))
        WebDriverWait(self.browser, 10).until(lambda b: b.execute_script(
            "return document.readyState === 'complete' && "
            "Array.from(document.images).every(i => i.loading === 'lazy' || i.complete)"))
        for entry in self.browser.get_log("browser"):
            self.checks.expect(entry["level"] != "SEVERE", f"console: {entry['message']}")

    def js(self, script, *arguments):
        return self.browser.execute_script(script, *arguments)

    def load_every_picture(self):
        """Lets the pictures that wait until they are scrolled to load now."""
        self.js("for (const i of document.images) i.loading = 'eager'")
        WebDriverWait(self.browser, 10).until(lambda b: b.execute_script(
            "return Array.from(document.images).every(i => i.complete)"))

    def check_every_page_fact(self):
        self.load_every_picture()
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
        self.check_styles()
        empty_bars = self.js("""return Array.from(document.querySelectorAll('nav, .pager'))
            .filter(bar => !bar.querySelector('a[href], img')).length""")
        self.checks.expect(empty_bars == 0, f"{empty_bars} navigation bars without buttons")

    def check_styles(self):
        """Every declaration of the page's style attributes and style sheets is one the
        browser takes; a custom property must hold a value that some property takes."""
        rejected = self.js("""
            const takes = (name, value) => name.startsWith('--')
                ? ['color', 'width', 'line-height', 'background-image'].some(
                      p => CSS.supports(p, value))
                : CSS.supports(name, value);
            const rejected = [];
            for (const element of document.querySelectorAll('[style]')) {
                for (const declaration of element.getAttribute('style').split(';')) {
                    if (!declaration.trim()) continue;
                    const colon = declaration.indexOf(':');
                    const name = declaration.slice(0, colon).trim();
                    const value = declaration.slice(colon + 1).trim();
                    if (colon < 0 || !takes(name, value)) rejected.push(declaration.trim());
                }
            }
            for (const element of document.querySelectorAll('[bgcolor], [bordercolor]')) {
                for (const name of ['bgcolor', 'bordercolor']) {
                    const value = element.getAttribute(name);
                    if (value !== null && !/^([0-9A-Fa-f]{6})?$/.test(value))
                        rejected.push(`${name}=${value}`);
                }
            }
            // A rule left without declarations lost them all to parse errors.
            const rules = list => Array.from(list).flatMap(
                rule => rule.cssRules ? rules(rule.cssRules) : [rule]);
            for (const sheet of document.styleSheets) {
                for (const rule of rules(sheet.cssRules)) {
                    if (rule.style && rule.style.length === 0)
                        rejected.push(`${rule.selectorText} in ${sheet.href}`);
                }
            }
            return rejected""")
        self.checks.expect(not rejected, f"style the browser rejects: {rejected}")

    def screenshot(self, name):
        self.browser.save_screenshot(str(self.shots / f"{self.style}-{self.screen}-{name}.png"))

    def check_index_pages(self, page_count):
        for page in range(1, page_count + 1):
            self.open("index.htm" if page == 1 else f"index{page}.htm")
            self.check_thumbnail_loading()
            self.check_every_page_fact()
            self.check_placeholder_colours()
            columns = self.js("""const cells = Array.from(document.querySelectorAll('.thumbs td'));
                return new Set(cells.map(c => Math.round(c.getBoundingClientRect().width))).size""")
            self.checks.expect(columns == 1, "thumbnail cells of unequal width")
            self.check_thumbnail_grid()
            position = self.js("""const p = document.querySelector('.position');
                return p && p.getClientRects().length ? p.innerText.trim() : null""")
            self.checks.expect(position == f"Page {page} of {page_count}",
                               f"the page says {position!r} about its place")
            if page == 1:
                wanted = "@2x.webp" if SCREENS[self.screen][2] > 1 else ".webp"
                source = self.js("return document.querySelector('.thumbs img').currentSrc")
                self.checks.expect(source.endswith(wanted), f"thumbnail shown from {source}")
                self.screenshot("index")

    def check_thumbnail_loading(self):
        """The first row of the settings loads at once, later rows when they are scrolled to,
        and a picture page's picture at once; nothing else in view waits."""
        loading = self.js("""return Array.from(document.images, i => ({
            thumbnail: !!i.closest('.thumbs'), lazy: i.loading === 'lazy',
            async: i.decoding === 'async', src: i.src}))""")
        # On a picture page the one cell shows the large picture, always in view.
        in_view = COLUMNS if "picpage/" not in self.browser.current_url else 1
        thumbnails = [image for image in loading if image["thumbnail"]]
        for place, image in enumerate(thumbnails):
            later = place >= in_view
            self.checks.expect(image["lazy"] == later and image["async"] == later,
                               f"thumbnail {place + 1} loads {'lazily' if image['lazy'] else 'at once'}, "
                               f"decoding {'apart' if image['async'] else 'in step'}")
        eager = [image["src"] for image in loading if not image["thumbnail"] and image["lazy"]
                 and not image["src"].endswith("_flourish.gif")]
        self.checks.expect(not eager, f"pictures in view that load lazily: {eager}")

    def check_placeholder_colours(self):
        """Each thumbnail's place has the mean colour of the thumbnail as its background, taken
        from the page's own markup, without a script."""
        faults = self.js("""const faults = [];
            const canvas = document.createElement('canvas');
            const context = canvas.getContext('2d', {willReadFrequently: true});
            for (const img of document.querySelectorAll('.thumbs img')) {
                const tone = img.closest('td').style.getPropertyValue('--tone').trim();
                const match = /^#([0-9A-F]{2})([0-9A-F]{2})([0-9A-F]{2})$/.exec(tone);
                if (!match) { faults.push(`${img.src}: tone ${tone}`); continue; }
                const want = match.slice(1).map(h => parseInt(h, 16));
                const shown = getComputedStyle(img).backgroundColor;
                if (shown !== `rgb(${want.join(', ')})`) {
                    faults.push(`${img.src}: background ${shown}, tone ${tone}`);
                }
                canvas.width = img.naturalWidth;
                canvas.height = img.naturalHeight;
                context.drawImage(img, 0, 0);
                const pixels = context.getImageData(0, 0, canvas.width, canvas.height).data;
                const sums = [0, 0, 0];
                for (let i = 0; i < pixels.length; i += 4) {
                    for (let c = 0; c < 3; ++c) sums[c] += pixels[i + c];
                }
                const mean = sums.map(sum => sum / (pixels.length / 4));
                if (mean.some((value, c) => Math.abs(value - want[c]) > 6)) {
                    faults.push(`${img.src}: tone ${tone}, mean ${mean.map(Math.round)}`);
                }
            }
            return faults""")
        self.checks.expect(not faults, f"placeholder colours: {faults}")

    def check_thumbnail_grid(self):
        """Each line of thumbnails holds cells of one row of the settings only, as many as
        the window has room for; every thumbnail is shown at the size it was built."""
        grid = self.js("""const cells = Array.from(document.querySelectorAll('.thumbs td'));
            const lines = new Map();
            for (const cell of cells) {
                const top = Math.round(cell.getBoundingClientRect().top);
                if (!lines.has(top)) lines.set(top, []);
                lines.get(top).push(cell);
            }
            const cell = cells[0].getBoundingClientRect().width;
            const space = parseFloat(getComputedStyle(cells[0].parentElement).columnGap) || 0;
            const table = getComputedStyle(document.querySelector('.thumbs'));
            const body = getComputedStyle(cells[0].parentElement.parentElement);
            const room = document.querySelector('main').clientWidth
                - 2 * parseFloat(table.borderLeftWidth)
                - parseFloat(body.paddingLeft) - parseFloat(body.paddingRight);
            return {widest: Math.max(...Array.from(lines.values(), line => line.length)),
                    mixed: Array.from(lines.values()).filter(
                        line => new Set(line.map(c => c.parentElement)).size > 1).length,
                    fit: Math.floor((room + space) / (cell + space)),
                    resized: Array.from(document.querySelectorAll('.thumbs img')).filter(img => {
                        const r = img.getBoundingClientRect();
                        return Math.abs(r.width - img.getAttribute('width')) > 0.5 ||
                               Math.abs(r.height - img.getAttribute('height')) > 0.5;
                    }).map(img => `${img.src} at ${img.getBoundingClientRect().width} px`)}""")
        wanted = min(COLUMNS, max(1, grid["fit"]))
        self.checks.expect(grid["widest"] == wanted,
                           f"{grid['widest']} thumbnails side by side, not {wanted}")
        self.checks.expect(grid["mixed"] == 0, "a line of thumbnails mixes rows")
        self.checks.expect(not grid["resized"],
                           f"thumbnails not at their built size: {grid['resized']}")

    def check_picture_page(self, picture, count):
        self.open(f"picpage/page{picture}.htm")
        self.check_thumbnail_loading()
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
                    tone: cell.style.getPropertyValue('--tone').trim(),
                    shown: getComputedStyle(img).backgroundColor,
                    alt: img.alt, title: caption.textContent,
                    back: document.querySelector('a.back').href}""")
        self.checks.expect(facts["picture"], "the large picture reaches out of the window")
        self.checks.expect(facts["caption"], "the picture's title is out of the window")
        self.checks.expect(abs(facts["slack"]) <= 1, f"frame wider than the picture by "
                                                    f"{facts['slack']:.0f} px")
        self.checks.expect(re.fullmatch(r"#[0-9A-F]{6}", facts["tone"]) is not None,
                           f"the large picture waits on {facts['tone']!r}, {facts['shown']}")
        self.checks.expect(facts["alt"] and facts["alt"] == facts["title"],
                           f"alternative text {facts['alt']!r}")
        index_page = (picture - 1) // PICTURES_PER_PAGE + 1
        wanted = self.url("index.htm" if index_page == 1 else f"index{index_page}.htm")
        self.checks.expect(facts["back"] == wanted, f"the way back leads to {facts['back']}")
        self.check_chosen_candidate()

    def check_chosen_candidate(self):
        """The browser takes the large picture in WebP, at a width no smaller than it shows
        the picture at in device pixels (or the widest there is), and counts how often that is
        one of the smaller copies."""
        self.load_every_picture()
        chosen = self.js("""const img = document.querySelector('.thumbs img');
            const source = img.closest('picture')?.querySelector('source');
            return {src: img.currentSrc,
                    needed: img.getBoundingClientRect().width * devicePixelRatio,
                    offered: source ? source.srcset : ''}""")
        if not chosen["offered"]:
            return
        # The candidates by file name, with their widths in pixels.
        widths = {candidate.split()[0].rsplit("/", 1)[-1]: int(candidate.split()[-1][:-1])
                  for candidate in chosen["offered"].split(", ")}
        name = chosen["src"].rsplit("/", 1)[-1]
        self.checks.expect(name in widths, f"the large picture shown from {chosen['src']}")
        width = widths.get(name, 0)
        self.checks.expect(width >= min(0.95 * chosen["needed"], max(widths.values())),
                           f"{name} is {width} px wide, shown at {chosen['needed']:.0f} "
                           f"device pixels")
        copy = re.fullmatch(r"pic[0-9]+-[0-9]+\.webp", name) is not None
        self.checks.expect(copy or width == max(widths.values()),
                           f"the large picture shown from {name}, not a copy in WebP")
        self.copies_chosen[self.screen] = self.copies_chosen.get(self.screen, 0) + copy

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
        picture = PICTURES_PER_PAGE + 2
        self.open(f"picpage/page{picture}.htm")
        self.follows(self.press(Keys.ARROW_RIGHT), f"picpage/page{picture + 1}.htm",
                     "the right arrow")
        self.follows(self.press(Keys.ARROW_LEFT), f"picpage/page{picture}.htm", "the left arrow")
        self.follows(self.press(Keys.ESCAPE), "index2.htm", "Escape")
        if SCREENS[self.screen][3]:
            self.open("picpage/page3.htm")
            self.follows(self.swipe(-180), "picpage/page4.htm", "a swipe to the left")
            self.follows(self.swipe(180), "picpage/page3.htm", "a swipe to the right")

    def check_colours(self, settings_colour):
        """Without a preference the page has the colour of its settings; a preference for
        dark gives a dark page, in the styles that are light by their settings too."""
        for scheme in ("light", "dark"):
            self.emulate(self.screen, scheme)
            for page in ("index.htm", "picpage/page1.htm"):
                self.open(page)
                colour = self.js("return getComputedStyle(document.body).backgroundColor")
                if scheme == "light":
                    self.checks.expect(colour == settings_colour,
                                       f"background {colour}, not {settings_colour}")
                else:
                    self.checks.expect(is_dark(colour), f"background {colour} when dark")
            if scheme == "dark":
                self.open("index.htm")
                self.screenshot("index-dark")
        self.emulate(self.screen)


# Copies narrow enough for the sample pictures to have some, each also in WebP.
OFFERED_CANDIDATES = ("ResponsiveWidths=320 640 960", "ModernFormats=WebP")

# The page colours switched off, a table colour and border switched on.
SWITCHED_COLOURS = ("IdxPageBGColor=no color", "PageBGColor=no color", "ThumbTableBGColor=255",
                    "ThumbTableBorderWidth=3", "ThumbTableBorderColor=65280")


def check_switched_colours(pages):
    """Without page colours the style's own colour shows, and the table takes its colours;
    the markup stays valid either way."""
    pages.screen = "desktop"
    pages.emulate("desktop")
    for page in ("index.htm", "picpage/page1.htm"):
        pages.open(page)
        pages.check_every_page_fact()
        colours = pages.js("""const table = getComputedStyle(document.querySelector('.thumbs'));
            return {body: getComputedStyle(document.body).backgroundColor,
                    root: getComputedStyle(document.documentElement).backgroundColor,
                    table: table.backgroundColor, frame: table.borderTopColor,
                    border: table.borderTopWidth}""")
        pages.checks.expect(colours["body"] == "rgba(0, 0, 0, 0)" and
                            colours["root"] != "rgba(0, 0, 0, 0)",
                            f"page colours {colours['body']} on {colours['root']}")
        if page == "index.htm":
            pages.checks.expect((colours["table"], colours["frame"], colours["border"]) ==
                                ("rgb(255, 0, 0)", "rgb(0, 255, 0)", "3px"),
                                f"table colours {colours}")


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
            build_gallery(cli, data, style, gallery, OFFERED_CANDIDATES)
            orientations = picture_orientations(gallery, count)
            checks.where = style
            checks.expect(len(orientations) == 2, "the samples lack a landscape or portrait")
            for page in sorted(gallery.glob("*.htm")) + sorted(gallery.glob("picpage/*.htm")):
                checks.where = f"{style} {page.relative_to(gallery)}"
                for fault in markup_faults(page):
                    checks.expect(False, fault)
            pages = StylePages(browser, checks, gallery, shots, style)
            for screen in SCREENS:
                pages.screen = screen
                pages.emulate(screen)
                pages.check_index_pages(page_count)
                for picture in range(1, count + 1):
                    pages.check_picture_page(picture, count)
                checks.where = f"{style} {screen}"
                checks.expect(pages.copies_chosen.get(screen, 0) > 0,
                              "no picture page took a smaller copy of its picture")
                for orientation, picture in orientations.items():
                    pages.open(f"picpage/page{picture}.htm")
                    pages.screenshot(orientation)
                pages.check_navigation()
                pages.check_colours(default_page_colour(data / "template" / f"{style}.htm"))
            switched = output / f"{style}-switched"
            build_gallery(cli, data, style, switched, SWITCHED_COLOURS)
            check_switched_colours(StylePages(browser, checks, switched, shots, style))
    finally:
        browser.quit()
    for failure in checks.failures:
        print(failure)
    print(f"{len(styles)} styles, {len(checks.failures)} failed checks; screenshots in {shots}")
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
