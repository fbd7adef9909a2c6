#!/usr/bin/env python3
"""Points a tavrin.xml at the site simulator on 127.0.0.1: the six sources,
the four demo feed sources, the calendar, the broker's quotes and the product site.

  demo_config.py CONFIG PORT [--quotes-open]

--quotes-open also makes the quote centre start with the program."""
import sys
import xml.etree.ElementTree as ET

PATHS = {"FXark": "/fxark/PageForNews.aspx", "FX168": "/fx168/fxnews/news_now_html.html",
         "FX678": "/fx678/news/forex/index.html", "DailyFX": "/dailyfx/news/",
         "HeXun": "/hexun/analysis/", "CaiXun": "/caixun/information/"}


# The simulator's flash-news feeds, as a user adds them (Settings/Tavrin/Feeds).
FEEDS = [
    {"Name": "快讯RSS", "Url": "/feeds/flash.rss", "Kind": "auto"},
    {"Name": "快讯Atom", "Url": "/feeds/flash.atom", "Kind": "atom"},
    {"Name": "快讯JSON", "Url": "/feeds/flash.json", "Kind": "json"},
    {"Name": "快讯网页", "Url": "/feeds/flash.html", "Kind": "page",
     "Item": ".flash > .row", "Title": "a.h", "Time": "span.t", "Summary": "p.s"},
]


def child(parent, name):
    element = parent.find(name)
    return element if element is not None else ET.SubElement(parent, name)


def point_at(path, port, quotes_open=False):
    base = "http://127.0.0.1:%s" % port
    tree = ET.parse(path)
    root = tree.getroot()
    source = root.find("Settings/Tavrin/Source")
    for name, page in PATHS.items():
        element = source.find(name)
        if element is None:
            element = ET.SubElement(source, name, Checked="1", IntervalTime="30")
        element.set("Url", base + page)
        element.set("Home", base + "/")
    feeds = child(root.find("Settings/Tavrin"), "Feeds")
    for feed in FEEDS:
        element = next((e for e in feeds.findall("Feed") if e.get("Name") == feed["Name"]), None)
        if element is None:
            element = ET.SubElement(feeds, "Feed", Checked="1", IntervalTime="30")
        for name, value in feed.items():
            element.set(name, base + value if name == "Url" else value)
    root.find("Settings/Tavrin/FXCalendar").set("Url", base)
    settings = root.find("Settings")
    child(settings, "Quote").set("Url", base)
    child(settings, "Site").set("Url", base + "/site")
    if quotes_open:
        child(child(root, "Window"), "FXQuote").set("Status", "1")
    tree.write(path, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    point_at(sys.argv[1], sys.argv[2], "--quotes-open" in sys.argv[3:])
