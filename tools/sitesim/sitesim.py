#!/usr/bin/env python3
"""A stand-in for the six news sites, on 127.0.0.1: each serves its news page
in its own layout and encoding, with new headlines appearing over time.

  sitesim.py [--port N] [--seed S] [--every SECONDS]

Prints "listening on PORT" once it serves. Faults are switched per source:
  GET /control?source=FX168&fault=stall|empty|garbage|500|none
a hostile headline (markup, script, a price range with "~") is published at once by
  GET /control?source=DailyFX&publish=hostile
and a given one by
  GET /control?source=FX168&publish=text:美联储宣布加息25个基点
the broker's quotes page is //forexQuotes.aspx?… (see quotes.py), changed by
  GET /control?quotes=freeze|run|zero:bidElem0|empty:bidElem0|set:bidElem0=1.2|reload|fail|stall|hostile|none
the calendar's day pages are /indexs/ecalendar.asp?date=Y-M-D (see calendar.py), changed by
  GET /control?calendar=add|drop|revise|publish|hostile|stall|empty|garbage|500|noblock|unbalanced|none
the product site's pages are below /site/ (see product.py), changed by
  GET /control?site=update:newer|download:short|tip:markup|advert:hostile|…
the flash-news feeds are below /feeds/ (see feeds.py), changed by
  GET /control?feed=rss|atom|json|page&fault=stall|empty|garbage|500|429|redirect|huge|bomb|hostile|none
a second site in FX168's layout, with headlines of its own, is
  /mirror/fx168/news.html (its hits in /stats as "FX168 mirror")
and /stats answers how often each page was fetched, as JSON.

  sitesim.py --dump HOURS
prints, without serving, every headline the six sites publish in that many
hours (a fake clock, a page every 15 s) as JSON lines of time, source and title."""
import argparse
import datetime
import json
import random
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

import calendar as calendar_pages
import feeds as feed_pages
import headlines
import pages
import product
import quotes as quote_pages

# Paths as the sources' real pages have them, below a folder per source.
PATHS = {
    "/fxark/PageForNews.aspx": "FXark",
    "/fx168/fxnews/news_now_html.html": "FX168",
    "/fx678/news/forex/index.html": "FX678",
    "/dailyfx/news/": "DailyFX",
    "/hexun/analysis/": "HeXun",
    "/caixun/information/": "CaiXun",
}
# Another site in one of the six layouts, its own stories: what a user points
# a source of that kind at. Path: (layout, name in /stats).
MIRRORS = {"/mirror/fx168/news.html": ("FX168", "FX168 mirror")}
MAX_ITEMS = 60
# A share of each site's own headlines that other sites carry too, a few minutes later.
RETOLD_SHARE = 0.15
RETOLD_AFTER = (60, 300)
# Shown as text by the sites (escaped in their pages), as a headline may carry it.
HOSTILE = "区间1.0800~1.0850<img src=x onerror=\"document.title='owned'\">&amp;<b>"


class Site:
    """One site's news list. `clock` answers the time in seconds, so a test
    can run the site for hours in no time."""

    def __init__(self, source, seed, every, clock=time.time, name=None):
        self.source = source
        self.name = name or source
        self.rng = random.Random(seed)
        self.every = every
        self.clock = clock
        self.pool = headlines.headlines(seed, 400)
        self.items = []
        self.added = 0  # every headline ever published, not only those still listed
        self.fault = "none"
        self.hits = 0
        self.lock = threading.Lock()
        self.peers = []  # the other sites, which retell some of this one's stories
        self.due = []  # (when, title) of stories told first elsewhere
        self.due_lock = threading.Lock()  # apart from `lock`: a site retells while holding its own
        self.told = set()  # every title published here, so a story told twice elsewhere comes once
        now = self._now()
        for minutes in range(30, 0, -1):
            self._add(now - datetime.timedelta(minutes=minutes * 3))
        self.next_at = self.clock() + self.rng.uniform(every / 2, every)

    def _now(self):
        return datetime.datetime.fromtimestamp(self.clock())

    def publish_hostile(self):
        self.publish(HOSTILE)

    def publish(self, title):
        with self.lock:
            self._add(self._now(), title)

    def _add(self, when, title=None):
        number = self.added
        self.added += 1
        # The pool once through, then pool headlines told apart by their number.
        if title is None:
            title = self.pool[number] if number < len(self.pool) else \
                self.pool[self.rng.randrange(len(self.pool))] + " (%d)" % number
            if self.peers and self.rng.random() < RETOLD_SHARE:
                for peer in self.rng.sample(self.peers, self.rng.randint(1, 2)):
                    peer.retell(self.clock() + self.rng.uniform(*RETOLD_AFTER), headlines.retold(self.rng, title))
        item = {"title": title, "time": when, "href": "/%s/news/%d.html" % (self.source.lower(), number),
                "summary": headlines.summary(self.rng, title)}
        if self.source in ("FXark", "CaiXun") and self.rng.random() < 0.15:
            item["brief"] = True
            item["href"] = None
            item["short"] = title[:8] + "…" if self.source == "FXark" else None
        with self.due_lock:
            self.told.add(title)
        self.items.insert(0, item)
        del self.items[MAX_ITEMS:]

    def retell(self, when, title):
        """Another site's story, to publish here at `when`."""
        with self.due_lock:
            if title not in self.told and all(title != due for _, due in self.due):
                self.due.append((when, title))

    def catch_up(self):
        """Publishes what is due by now, this site's own and what it retells, in time order."""
        while True:
            with self.due_lock:
                retold = min(self.due) if self.due else None
                if retold is not None and retold[0] <= min(self.next_at, self.clock()):
                    self.due.remove(retold)
                else:
                    retold = None
            if retold is not None:
                self._add(self._now(), retold[1])
            elif self.clock() >= self.next_at:
                self._add(self._now())
                self.next_at += self.rng.uniform(self.every / 2, self.every * 1.5)
            else:
                break

    def page(self):
        with self.lock:
            self.hits += 1
            self.catch_up()
            return pages.render(self.source, [dict(i) for i in self.items])


def make_handler(sites, calendar, quotes, product_site, feeds):
    by_name = {site.name: site for site in sites.values()}

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def answer(self, status, body, content_type="text/html", headers=None):
            self.send_response(status)
            for name, value in (headers or {}).items():
                self.send_header(name, value)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-cache")
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            # The quotes page is asked for with a doubled slash, which is no host here.
            if self.path.startswith(("//forexQuotes.aspx", "/forexQuotes.aspx")):
                answer = quotes.page()
                if answer is None:
                    time.sleep(3600)
                    return None
                return self.answer(answer[0], answer[1], "text/html; charset=utf-8")
            url = urlparse(self.path)
            if url.path == "/quotes/values":
                return self.answer(200, quotes.state(), "application/json")
            if url.path == "/control":
                query = parse_qs(url.query)
                if "quotes" in query:
                    ok = quotes.control(query["quotes"][0])
                    return self.answer(200 if ok else 400, b"ok" if ok else b"bad control request", "text/plain")
                if "site" in query:
                    ok = product_site.control(query["site"][0])
                    return self.answer(200 if ok else 400, b"ok" if ok else b"bad control request", "text/plain")
                if "feed" in query:
                    ok = feeds.control(query["feed"][0], query.get("fault", ["none"])[0])
                    return self.answer(200 if ok else 400, b"ok" if ok else b"bad control request", "text/plain")
                if "calendar" in query:
                    ok = calendar.control(query["calendar"][0])
                    return self.answer(200 if ok else 400, b"ok" if ok else b"bad control request", "text/plain")
                site = by_name.get(query.get("source", [""])[0])
                if site is not None and query.get("publish") == ["hostile"]:
                    site.publish_hostile()
                    return self.answer(200, b"ok", "text/plain")
                # A given headline, now: publish=text:TITLE (the same story on several sources, a search, an alert).
                if site is not None and query.get("publish", [""])[0].startswith("text:"):
                    title = query["publish"][0][len("text:"):]
                    if not title.strip():
                        return self.answer(400, b"bad control request", "text/plain")
                    site.publish(title)
                    return self.answer(200, b"ok", "text/plain")
                fault = query.get("fault", ["none"])[0]
                if site is None or fault not in ("none", "stall", "empty", "garbage", "500"):
                    return self.answer(400, b"bad control request", "text/plain")
                site.fault = fault
                return self.answer(200, b"ok", "text/plain")
            if url.path == "/indexs/ecalendar.asp":
                try:
                    year, month, day = (int(part) for part in parse_qs(url.query)["date"][0].split("-"))
                    date = datetime.date(year, month, day)
                except (KeyError, ValueError):
                    return self.answer(404, b"<html><body>no such day</body></html>")
                answer = calendar.page(date)
                if answer is None:
                    time.sleep(3600)
                    return None
                return self.answer(answer[0], answer[1], "text/html; charset=gb2312")
            if url.path == "/stats":
                stats = {site.name: site.hits for site in sites.values()}
                stats["Calendar"] = calendar.hits
                stats["Quotes"] = quotes.hits
                stats["QuoteValues"] = quotes.value_hits
                stats.update(product_site.hits)
                stats.update(feeds.hits())
                return self.answer(200, json.dumps(stats).encode(), "application/json")
            base = "http://%s:%d" % self.server.server_address[:2]
            if product_site.serve(self, url.path, base):
                return None
            feed = feeds.answer(self.path, self.headers, base)
            if feed == "stall":
                time.sleep(120)
                return None
            if feed is not None:
                status, headers, body, content_type = feed
                return self.answer(status, body, content_type, headers)
            site = sites.get(url.path)
            if site is None:
                return self.answer(404, b"<html><body><h1>404 Not Found</h1></body></html>")
            charset = pages.ENCODING[site.source]
            body = site.page()
            if site.fault == "stall":
                time.sleep(120)
                return
            if site.fault == "empty":
                body = b""
            elif site.fault == "garbage":
                body = bytes(random.Random(site.hits).randrange(256) for _ in range(2048))
            elif site.fault == "500":
                return self.answer(500, "<html><body>服务器内部错误</body></html>".encode(charset))
            self.answer(200, body, "text/html; charset=" + charset)

    return Handler


class QuietServer(ThreadingHTTPServer):
    """A client that goes away mid-answer (a program ended, a frame dropped)
    is part of the simulation, not an error worth a traceback."""

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def linked_sites(seed, every, clock=time.time):
    sites = {path: Site(source, seed + index, every, clock) for index, (path, source) in enumerate(PATHS.items())}
    for site in sites.values():
        site.peers = [other for other in sites.values() if other is not site]
    return sites


def mirror_sites(seed, every, clock=time.time):
    """The mirrors: they retell nothing of the six, nor the six of them."""
    return {path: Site(layout, seed + 100 + index, every, clock, name)
            for index, (path, (layout, name)) in enumerate(MIRRORS.items())}


def dump(seed, every, hours):
    now = [time.time()]
    sites = list(linked_sites(seed, every, lambda: now[0]).values())
    published = []
    for site in sites:
        published += [(item["time"], site.source, item["title"]) for item in reversed(site.items)]
        site.added_seen = site.added
    for _ in range(int(hours * 3600 / 15)):
        now[0] += 15
        for site in sites:
            site.catch_up()
            fresh = site.added - site.added_seen
            site.added_seen = site.added
            published += [(item["time"], site.source, item["title"]) for item in reversed(site.items[:fresh])]
    for when, source, title in sorted(published, key=lambda p: p[0]):
        print(json.dumps({"time": when.isoformat(timespec="seconds"), "source": source, "title": title}, ensure_ascii=False))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--seed", type=int, default=2026)
    parser.add_argument("--every", type=float, default=20.0, help="seconds between new headlines of a site")
    parser.add_argument("--version", default="1.0.0000", help="the version the product site calls current")
    parser.add_argument("--payload", help="the file served as the new program")
    parser.add_argument("--no-demo-events", action="store_true", help="no calendar events a few minutes ahead")
    parser.add_argument("--dump", type=float, metavar="HOURS", help="print what the sites publish in HOURS, and end")
    args = parser.parse_args()
    if args.dump:
        return dump(args.seed, args.every, args.dump)
    sites = {**linked_sites(args.seed, args.every), **mirror_sites(args.seed, args.every)}
    calendar = calendar_pages.Calendar(args.seed, not args.no_demo_events)
    quotes = quote_pages.Quotes(args.seed)
    payload = open(args.payload, "rb").read() if args.payload else None
    product_site = product.ProductSite(args.version, payload)
    feeds = feed_pages.Feeds(args.seed, max(args.every / 4, 1.0))
    server = QuietServer(("127.0.0.1", args.port), make_handler(sites, calendar, quotes, product_site, feeds))
    server.daemon_threads = True
    print("listening on %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
