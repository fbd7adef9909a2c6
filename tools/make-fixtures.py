#!/usr/bin/env python3
"""Writes the parser fixtures: for each source, pages in the source's layout and
encoding, and beside each page what a parser pass must report, derived here
from the items put on the page (an oracle independent of the C++ parsers).
Run from the repository root; the output is committed under tests/worker/fixtures."""
import datetime
import json
import os
import random
import sys
from urllib.parse import quote, urljoin

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "sitesim"))
import headlines  # noqa: E402
import pages  # noqa: E402

OUT = "tests/worker/fixtures"
URLS = {s: "http://127.0.0.1/%s/news/list.html" % s.lower() for s in pages.BUILDERS}
HOSTILE = [
    "<script>alert('x')</script>美元指数走强",
    "欧元\"闪崩\"？交易员's 观点 & 对策",
    "英镑|美元 突破`1.2700`",
    "<img src=x onerror=alert(1)>日元避险买盘涌入",
]


def esc(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("'", "&#39;"))


def make_items(seed, count, start=datetime.datetime(2026, 9, 5, 16, 50)):
    rng = random.Random(seed)
    titles = headlines.headlines(seed, count)
    items = []
    for index, title in enumerate(titles):
        when = start - datetime.timedelta(minutes=7 * index + rng.randint(0, 5))
        items.append({"title": title, "time": when, "href": "/news/2026/%d.html" % (9000 + index),
                      "summary": headlines.summary(rng, title)})
    return items


def link(source, item):
    if item.get("href") is None:
        return ""
    resolved = quote(urljoin(URLS[source], item["href"].strip()), safe="/:?#[]@!$&'()*+,;=%~")
    return resolved if resolved.split(":", 1)[0] in ("http", "https") else ""


def occurs(known, text):
    return bool(known) and text in known


def expected(source, items, known):
    """Msg events (time, info, href) oldest first, as the parser must report them."""
    out = []
    seen = set()
    for item in reversed(items):
        title = item["title"]
        t = item["time"]
        if source == "FXark":
            time = t.strftime("%m/%d %H:%M")
            href = "" if item.get("brief") else link(source, item)
            if item.get("brief") and not (item.get("short") and "…" in item["short"]):
                title = "【短讯】" + (item.get("short") or title)
            if occurs(known, title):
                continue
            if (time, title, href) in seen:
                continue
            seen.add((time, title, href))
            out.append({"time": time, "info": title, "href": href})
        elif source == "FX168":
            time = "" if item.get("notime") else t.strftime("%m/%d %H:%M")
            if not title or occurs(known, title) or not time or item.get("onecell"):
                continue
            out.append({"time": time, "info": title, "href": link(source, item) if "..." in title else ""})
        elif source == "FX678":
            if item.get("notitem"):
                continue
            title = title.strip(" ")
            if not title or occurs(known, title):
                continue
            out.append({"time": "%02d/%02d %02d:%02d" % (t.month, t.day, t.hour, t.minute), "info": title,
                        "href": link(source, item)})
        elif source == "DailyFX":
            time = item.get("expect_time", t.strftime("%m/%d %H:%M"))
            key = (time + title).strip(" ")
            if not key or occurs(known, key):
                continue
            summary = item.get("summary", title)
            info = key + "~" + esc(title)
            if summary != title:
                info += "<br/><font style='color:#0000FF'>" + esc(summary) + "</font>"
            out.append({"time": time, "info": info, "href": ""})
        elif source == "HeXun":
            if item.get("nospan") or not title.strip(" ") or occurs(known, title.strip(" ")):
                continue
            out.append({"time": t.strftime("%m/%d %H:%M"), "info": title.strip(" "), "href": link(source, item)})
        elif source == "CaiXun":
            if item.get("brief"):
                title = "[短讯]" + title
            if occurs(known, title):
                continue
            out.append({"time": t.strftime("%m/%d %H:%M"), "info": title,
                        "href": "" if item.get("brief") else link(source, item)})
    return out


def write(name, source, items, known="", result=None, page=None, page_of=None):
    """page_of: the name of a fixture whose page this one reads with another known text."""
    if page_of is None:
        data = page if page is not None else pages.render(source, items)
        with open(os.path.join(OUT, name + ".html"), "wb") as f:
            f.write(data)
    expectation = {"source": source, "url": URLS[source], "known": known, "page": (page_of or name) + ".html"}
    if result is None:
        events = expected(source, items, known)
        expectation.update({"events": events, "new": bool(events)})
    else:
        expectation.update(result)
    with open(os.path.join(OUT, name + ".expect.json"), "w", encoding="utf-8") as f:
        json.dump(expectation, f, ensure_ascii=False, indent=1)
        f.write("\n")


def main():
    os.makedirs(OUT, exist_ok=True)

    items = make_items(100, 60)
    items[3].update(brief=True, href=None, short=items[3]["title"][:8] + "…")
    items[9].update(brief=True, href=None, short=items[9]["title"][:6] + "…")
    items[15].update(brief=True, href=None, short=items[15]["title"])
    items[20]["title"] = HOSTILE[0]
    items[21]["title"] = HOSTILE[1]
    items[22]["href"] = "javascript:alert(document.cookie)"
    items[23]["href"] = "/news/it's \"here\".html"
    items[24] = dict(items[25])  # the same item twice on the page
    write("fxark_60_items_briefs_hostile", "FXark", items)
    known = "".join(i["title"] for i in items[40:])
    write("fxark_older_items_known", "FXark", items, known=known, page_of="fxark_60_items_briefs_hostile")

    items = make_items(101, 60)
    for index in range(0, 60, 5):
        items[index]["title"] = items[index]["title"][:12] + "..."
    items[7]["title"] = HOSTILE[2] + "..."
    items[8]["title"] = HOSTILE[2]
    items[11].update(notime=True)
    items[30]["title"] = HOSTILE[0]
    page = pages.fx168(items)
    page = page.replace("<td class=\"P10L\">%s</td>" % items[11]["time"].strftime("%m/%d %H:%M"),
                        "<td class=\"P10L\"></td>")
    write("fx168_60_items_shortened_links", "FX168", items, page=page.encode("gbk"))
    unclosed = pages.fx168(items[:30]).replace("</td>", "").replace("</tr>", "").replace("</a>", "</a >")
    items_u = [dict(i, notime=False) for i in items[:30]]
    write("fx168_unclosed_cells", "FX168", items_u, page=unclosed.encode("gbk"))
    write("fx168_without_list", "FX168", [], page=pages._page("页面不存在", "gb2312", "<h1>404 页面不存在</h1>").encode("gbk"),
          result={"error": "发生错误在模块[GETInfo_FX168]第#1行,\r\n错误码:5"})

    items = make_items(102, 60)
    items[4]["raw"] = "美元&nbsp;短线走强，关注&nbsp;1.0850"
    items[4]["title"] = "美元\u00a0短线走强，关注\u00a01.0850"
    items[6]["title"] = HOSTILE[3]
    items[7]["href"] = "javascript:void(0)"
    items[8]["href"] = "https://www.fx678.sim/news/20260905/8.shtml"
    items[9]["href"] = "news/relative/9.shtml"
    page = pages.fx678(items).replace(
        "<div class=\"list_flip\">",
        "<div class=\"list_content01\"><div><div><a href=\"/x\">不是新闻条目</a></div><div>[09月05日 10时00分 ]</div></div></div>\n"
        "<div class=\"list_flip\">")
    write("fx678_60_items_relative_links", "FX678", items, page=page.encode("gbk"))
    write("fx678_error_page", "FX678", [], page=pages._page("404", "gb2312", "<h1>404 Not Found</h1>").encode("gbk"),
          result={"events": [], "new": False})

    items = make_items(103, 60)
    items[0].update(time=datetime.datetime(2026, 12, 12, 8, 0))
    items[1].update(time=datetime.datetime(2026, 9, 5, 14, 30))
    items[2].update(stamp="", expect_time="0")
    for index in range(0, 60, 3):
        items[index]["summary"] = items[index]["title"]
    items[5]["title"] = HOSTILE[1]
    items[5]["summary"] = HOSTILE[0]
    for item in items:
        if "expect_time" not in item:
            t = item["time"]
            item["expect_time"] = "%02d/%02d %02d:%02d" % (t.month, t.day, t.hour, t.minute)
    write("dailyfx_60_items_summaries", "DailyFX", items)

    items = make_items(104, 60)
    items[2].update(nospan=True)
    items[5]["title"] = HOSTILE[2]
    items[6]["href"] = "http://forex.hexun.sim/2026-09-05/%E6%B1%87%E7%8E%87.html?a=1&b=2"
    write("hexun_60_items", "HeXun", items)
    truncated = pages.hexun(items)
    truncated = truncated[:truncated.index("<div class=\"ft\">")].replace("</ul></div>", "")
    write("hexun_truncated_page", "HeXun", items, page=truncated.encode("gbk"),
          result={"error": "发生错误在模块[GETInfo_HeXun]第#1行,\r\n错误码:5"})

    items = make_items(105, 60)
    for index in (1, 10, 33):
        items[index].update(brief=True)
    items[12]["title"] = HOSTILE[0]
    write("caixun_60_items_briefs", "CaiXun", items)
    write("caixun_without_list", "CaiXun", [], page=pages._page("维护中", "gb2312", "<p>系统维护中</p>").encode("gbk"),
          result={"events": [], "new": False})


if __name__ == "__main__":
    main()
