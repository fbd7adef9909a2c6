"""Flash-news feeds as today's sites and feed generators serve them, below /feeds/:

  /feeds/flash.rss   RSS 2.0 declared gb2312 that holds GBK-only characters,
                     an importance category ("重要") on some items
  /feeds/flash.atom  Atom 1.0 with "+08:00" dates
  /feeds/flash.json  JSON Feed 1.1 with content_html
  /feeds/flash.html  a page read by selectors: .flash > .row, a.h, span.t, p.s

New items every few seconds; ETag and Last-Modified, answered with 304 when
unchanged. Faults per feed: GET /control?feed=NAME&fault=stall|empty|garbage|
500|429|redirect|huge|bomb|hostile|none (NAME: rss, atom, json, page)."""
import datetime
import hashlib
import html
import json
import random
import threading
import time
from email.utils import format_datetime

import headlines

NAMES = ("rss", "atom", "json", "page")
FAULTS = ("none", "stall", "empty", "garbage", "500", "429", "redirect", "huge", "bomb", "hostile")
MAX_ITEMS = 40
BEIJING = datetime.timezone(datetime.timedelta(hours=8))
# GBK has them, GB2312 has not: what a site declaring gb2312 really sends.
GBK_ONLY = ["镕", "瑈", "堃", "喆", "犇"]
HOSTILE_TITLE = '<script>document.title="owned"</script><img src=x onerror="alert(1)">突发<b>标题</b>'
HOSTILE_SUMMARY = '<iframe src="javascript:alert(2)"></iframe><a href="javascript:alert(3)">点此</a>摘要'


class Feed:
    """One feed's items. `clock` answers the time in seconds, so a test can
    run the feed for hours in no time."""

    def __init__(self, name, seed, every, clock=time.time):
        self.name = name
        self.rng = random.Random(seed)
        self.every = every
        self.clock = clock
        self.pool = headlines.headlines(seed + 17, 300)
        self.items = []
        self.added = 0
        self.fault = "none"
        self.hits = 0
        self.lock = threading.Lock()
        now = self.clock()
        for minutes in range(20, 0, -1):
            self._add(now - minutes * 90)
        self.next_at = now + self.rng.uniform(every / 2, every)

    def _add(self, when, title=None, hostile=False):
        number = self.added
        self.added += 1
        if title is None:
            title = self.pool[number % len(self.pool)] + ("" if number < len(self.pool) else " (%d)" % number)
            if self.rng.random() < 0.2:
                title = self.rng.choice(GBK_ONLY) + title
        self.items.insert(0, {
            "number": number, "title": title, "time": when,
            "summary": HOSTILE_SUMMARY if hostile else headlines.summary(self.rng, title),
            "important": self.rng.random() < 0.25,
            "link": "javascript:alert(4)" if hostile else "/feeds/%s/%d.html" % (self.name, number)})
        del self.items[MAX_ITEMS:]

    def catch_up(self):
        while self.clock() >= self.next_at:
            self._add(self.clock())
            self.next_at += self.rng.uniform(self.every / 2, self.every * 1.5)

    def publish(self, title):
        with self.lock:
            self._add(self.clock(), title)

    def snapshot(self):
        with self.lock:
            self.hits += 1
            self.catch_up()
            if self.fault == "hostile" and not any(i["title"] == HOSTILE_TITLE for i in self.items):
                self._add(self.clock(), HOSTILE_TITLE, hostile=True)
            return [dict(i) for i in self.items]


def beijing(seconds):
    return datetime.datetime.fromtimestamp(seconds, BEIJING)


def render_rss(items, base):
    out = ['<?xml version="1.0" encoding="gb2312"?>\n<rss version="2.0"><channel>',
           "<title>快讯 RSS</title><link>%s/</link><description>外汇快讯</description>" % base]
    for item in items:
        out.append("<item><title>%s</title><link>%s%s</link><guid isPermaLink=\"false\">rss-%d</guid>"
                   "<pubDate>%s</pubDate><description><![CDATA[<p>%s</p>]]></description>%s</item>" % (
                       html.escape(item["title"]), base, html.escape(item["link"]), item["number"],
                       format_datetime(beijing(item["time"])), item["summary"].replace("]]>", ""),
                       "<category>重要</category>" if item["important"] else "<category>外汇</category>"))
    out.append("</channel></rss>")
    return "".join(out).encode("gb18030"), "application/rss+xml; charset=gb2312"


def render_atom(items, base):
    updated = beijing(items[0]["time"]).isoformat(timespec="seconds") if items else "2026-01-01T00:00:00+08:00"
    out = ['<?xml version="1.0" encoding="utf-8"?>\n<feed xmlns="http://www.w3.org/2005/Atom">',
           '<title>快讯 Atom</title><id>tag:sitesim,2026:atom</id><updated>%s</updated>' % updated,
           '<link rel="alternate" type="text/html" href="%s/"/>' % base]
    for item in items:
        out.append('<entry><id>tag:sitesim,2026:atom-%d</id><title type="html">%s</title>'
                   '<link rel="alternate" type="text/html" href="%s%s"/><published>%s</published><updated>%s</updated>'
                   '<summary type="html">%s</summary>%s</entry>' % (
                       item["number"], html.escape(item["title"]), base, html.escape(item["link"]),
                       beijing(item["time"]).isoformat(timespec="seconds"),
                       beijing(item["time"]).isoformat(timespec="seconds"), html.escape("<p>%s</p>" % item["summary"]),
                       '<category term="重要"/>' if item["important"] else ""))
    out.append("</feed>")
    return "".join(out).encode("utf-8"), "application/atom+xml; charset=utf-8"


def render_json(items, base):
    feed = {"version": "https://jsonfeed.org/version/1.1", "title": "快讯 JSON", "home_page_url": base + "/",
            "items": [{"id": "json-%d" % item["number"], "url": base + item["link"], "title": item["title"],
                       "content_html": "<p>%s</p>" % item["summary"],
                       "date_published": beijing(item["time"]).isoformat(timespec="seconds"),
                       "tags": ["重要"] if item["important"] else []} for item in items]}
    return json.dumps(feed, ensure_ascii=False).encode("utf-8"), "application/feed+json; charset=utf-8"


def render_page(items, base):
    rows = "".join('<div class="row%s"><span class="t">%s</span><a class="h" href="%s">%s</a><p class="s">%s</p></div>' % (
        " imp" if item["important"] else "", beijing(item["time"]).strftime("%Y-%m-%d %H:%M:%S"),
        html.escape(item["link"]), html.escape(item["title"]), html.escape(item["summary"])) for item in items)
    page = ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>快讯</title></head><body>'
            '<div class="nav"><a href="/">首页</a></div><div class="flash">%s</div></body></html>' % rows)
    return page.encode("utf-8"), "text/html; charset=utf-8"


RENDER = {"rss": render_rss, "atom": render_atom, "json": render_json, "page": render_page}

BOMB = ('<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY a "aaaaaaaaaa">'
        + "".join('<!ENTITY %s "%s">' % (chr(ord("b") + i), ("&%s;" % chr(ord("a") + i)) * 10) for i in range(8))
        + ']><rss version="2.0"><channel><title>&i;</title><item><title>&i;</title></item></channel></rss>').encode()


class Feeds:
    def __init__(self, seed, every, clock=time.time):
        self.feeds = {name: Feed(name, seed + index, every, clock) for index, name in enumerate(NAMES)}

    def control(self, name, fault):
        feed = self.feeds.get(name)
        if feed is None or fault not in FAULTS:
            return False
        feed.fault = fault
        return True

    def hits(self):
        return {"feed:" + name: feed.hits for name, feed in self.feeds.items()}

    def answer(self, path, headers, base):
        """(status, extra headers, body, content type) for a path below /feeds/,
        None for a path that is none of the feeds', "stall" for no answer."""
        name = {"/feeds/flash.rss": "rss", "/feeds/flash.atom": "atom", "/feeds/flash.json": "json",
                "/feeds/flash.html": "page"}.get(path.split("?")[0])
        if name is None:
            return None
        feed = self.feeds[name]
        items = feed.snapshot()
        fault = feed.fault
        if fault == "stall":
            return "stall"
        if fault == "500":
            return 500, {}, "<html><body>服务器内部错误</body></html>".encode("utf-8"), "text/html; charset=utf-8"
        if fault == "429":
            return 429, {"Retry-After": "120"}, b"slow down", "text/plain"
        if fault == "redirect":
            # A loop: no client that counts its redirects ever gets a body.
            hop = int(path.split("?hop=")[1]) + 1 if "?hop=" in path else 1
            return 302, {"Location": "%s%s?hop=%d" % (base, path.split("?")[0], hop)}, b"", "text/plain"
        if fault == "empty":
            return 200, {}, b"", "application/xml"
        if fault == "garbage":
            return 200, {}, bytes(random.Random(feed.hits).randrange(256) for _ in range(2048)), "application/xml"
        if fault == "huge":
            body = RENDER[name](items, base)[0]
            return 200, {}, body + b"<!--" + b"x" * (9 << 20) + b"-->", "application/xml"
        if fault == "bomb":
            return 200, {}, BOMB, "application/rss+xml"
        body, content_type = RENDER[name](items, base)
        etag = '"%s"' % hashlib.sha1(body).hexdigest()[:16]
        modified = format_datetime(datetime.datetime.fromtimestamp(int(items[0]["time"]), datetime.timezone.utc),
                                   usegmt=True) if items else None
        validators = {"ETag": etag}
        if modified:
            validators["Last-Modified"] = modified
        if headers.get("If-None-Match") == etag:
            return 304, validators, b"", content_type
        return 200, validators, body, content_type
