"""The six news pages in their sources' layouts. Items are given newest first,
as the sites list them. An item is a dict:
  title     the headline (plain text, escaped when written)
  raw       optional markup written instead of the escaped title
  href      link attribute value, or None for no link
  time      a datetime
  brief     FXark/CaiXun brief item (短讯)
  short     FXark: the shortened text a brief shows in its DT (ends with …)
  summary   DailyFX/FX678 summary text
"""
from html import escape

import headlines

ENCODING = {"FXark": "utf-8", "FX168": "gbk", "FX678": "gbk", "DailyFX": "utf-8", "HeXun": "gbk", "CaiXun": "gbk"}


def _text(item):
    return item.get("raw") if item.get("raw") is not None else escape(item["title"], quote=False)


def _href(item, quote='"'):
    if item.get("href") is None:
        return ""
    return " href=%s%s%s" % (quote, escape(item["href"], quote=True), quote)


CHANNELS = ["首页", "外汇", "黄金", "原油", "股指", "债券", "央行", "数据", "日历", "行情", "专栏", "视频",
            "直播", "学院", "论坛", "博客", "期货", "基金", "理财", "银行", "保险", "港股", "美股", "商品"]


def _chrome():
    """What surrounds the news list on a real portal page: navigation, ticker
    scripts, side boxes of other stories and a long footer."""
    nav = "".join("<li><a href=\"/%s/\">%s</a></li>" % (i, name) for i, name in enumerate(CHANNELS * 3))
    side = "".join("<li><span class=\"n\">%d</span><a href=\"/hot/%d.html\" title=\"%s\">%s</a></li>"
                   % (i + 1, i, t, t) for i, t in enumerate(headlines.headlines(7, 30)))
    related = "".join("<dd><a href=\"/rel/%d.html\">%s</a><em>%d评</em></dd>" % (i, t, i * 7 % 90)
                      for i, t in enumerate(headlines.headlines(8, 40)))
    foot = " | ".join("<a href=\"/about/%d.html\">%s</a>" % (i, name) for i, name in enumerate(CHANNELS * 2))
    script = ("<script type=\"text/javascript\">\n" + "\n".join(
        "var quote%d = {code: 'EURUSD', bid: 1.08%02d, ask: 1.08%02d, time: '14:%02d'};" % (i, i, i + 2, i % 60)
        for i in range(80)) + "\nif (a < b && b > c) { document.write('<div>' + quote1.code + '</div>'); }\n</script>\n")
    style = "<style type=\"text/css\">\n" + "\n".join(
        ".c%d { margin: %dpx; color: #%06x; }" % (i, i % 12, i * 4099 % 0xffffff) for i in range(120)) + "\n</style>\n"
    head = style + script
    top = ("<div id=\"header\"><div class=\"logo\"><a href=\"/\"><img src=\"/logo.png\" alt=\"logo\"/></a></div>"
           "<ul class=\"nav\">%s</ul></div>\n") % nav
    aside = ("<div id=\"aside\"><div class=\"box\"><h3>热门排行</h3><ul>%s</ul></div>"
             "<div class=\"box\"><h3>相关推荐</h3><dl>%s</dl></div></div>\n") % (side, related)
    bottom = "<div id=\"footer\"><p>%s</p><p>Copyright &copy; 2026 版权所有 京ICP备00000000号</p></div>\n" % foot
    return head, top, aside, bottom


def _page(title, charset, body):
    head, top, aside, bottom = _chrome()
    return ("<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%s\">\n"
            "<title>%s</title>\n%s</head>\n<body>\n%s<div id=\"main\">\n%s\n</div>\n%s%s</body>\n</html>\n"
            ) % (charset, title, head, top, body, aside, bottom)


def fxark(items):
    rows = []
    for item in items:
        stamp = item["time"].strftime("%m-%d %H:%M")
        if item.get("brief"):
            shown = escape(item.get("short") or item["title"], quote=False)
            rows.append("<dt><span>%s</span><a class=\"brief\">【短讯】%s</a></dt>\n<dd><div class=\"brief\"><a>%s</a></div></dd>"
                        % (stamp, shown, _text(item)))
        else:
            rows.append("<dt><span>%s</span><a%s target=\"_blank\">%s</a></dt>\n<dd><div class=\"summary\"><a%s>%s</a></div></dd>"
                        % (stamp, _href(item), _text(item), _href(item), escape(item.get("summary", ""), quote=False)))
    body = ("<form name=\"form1\" method=\"post\" action=\"list.aspx\" id=\"form1\">\n"
            "<input type=\"hidden\" name=\"__VIEWSTATE\" value=\"dDwtMTI3OTMzNDM4NDs7Pg==\" />\n"
            "<div class=\"newslist\">\n<dl>\n%s\n</dl></div>\n</form>") % "\n".join(rows)
    return _page("FXark 外汇快讯", "utf-8", body)


def fx168(items):
    rows = []
    for item in items:
        rows.append("\t<tr>\n\t\t<td class=\"P10L\">%s</td><td class=\"P10\"><a%s target='_blank'>%s</a></td>\n\t</tr>"
                    % (item["time"].strftime("%m/%d %H:%M"), _href(item, "'"), _text(item)))
    body = ("<div class=\"list\"><table id=\"DataList1\" cellspacing=\"0\" border=\"0\" "
            "style=\"width:100%%;border-collapse:collapse;\">\n%s\n</table></div>\n"
            "<table class=\"pager\"><tr><td><a href=\"?page=2\">下一页</a></td></tr></table>") % "\n".join(rows)
    return _page("FX168 外汇新闻", "gb2312", body)


def fx678(items):
    blocks = []
    for index, item in enumerate(items):
        css = "list_content01 " if index % 2 == 0 else "list_content01 bggrey"
        t = item["time"]
        stamp = "[%02d月%02d日 %02d时%02d分 ]" % (t.month, t.day, t.hour, t.minute)
        blocks.append(
            "<div class=\"%s\"><div class=\"list_content01_title\"><div class=\"list_content01_titlel\">"
            "<a%s target=\"_blank\">%s</a></div><div class=\"list_content01_titler\">%s</div></div>"
            "<div class=\"list_content01_content\">%s</div><div class=\"cb\"></div></div>"
            % (css, _href(item), _text(item), stamp, escape(item.get("summary", ""), quote=False)))
    body = ("<div class=\"list_content\">\n%s\n</div>\n<div class=\"list_flip\"><a href=\"?p=2\">下一页</a></div>"
            % "\n".join(blocks))
    return _page("FX678 汇通网 新闻", "gb2312", body)


def dailyfx(items):
    rows = ["<tr><th>时间</th><th>资讯</th></tr>"]
    for item in items:
        t = item["time"]
        stamp = item.get("stamp", "%d月%d日%02d:%02d" % (t.month, t.day, t.hour, t.minute))
        rows.append("<tr><td class=\"time\">%s</td><td><a%s>%s</a><div class=\"summary\">%s</div></td></tr>"
                    % (stamp, _href(item), _text(item), escape(item.get("summary", item["title"]), quote=False)))
    body = ("<div class=\"listtable bottom15\">\n<div class=\"tit\"><div class=\"left\">DailyFX 市场快讯</div></div>\n"
            "<table width=\"100%%\">\n%s\n</table>\n<div class=\"more\"><a href=\"/news/\">更多</a></div>\n</div>\n"
            "<div class=\"sidebar\"><div>热门</div></div>") % "\n".join(rows)
    return _page("DailyFX 中文", "utf-8", body)


def hexun(items):
    rows = []
    for item in items:
        span = "" if item.get("nospan") else "<span>(%s)</span>" % item["time"].strftime("%m/%d %H:%M")
        rows.append("<li>%s<a%s target=\"_blank\">%s</a></li>" % (span, _href(item), _text(item)))
    body = ("<div class=\"mainbox\"><div class=\"hd\"><h2>外汇要闻</h2></div>\n<div class=\"bd\"><ul>\n%s\n</ul></div>\n"
            "<div class=\"ft\"><a href=\"/more.html\">更多&gt;&gt;</a></div></div>\n"
            "<div class=\"sidebox\"><ul><li><a href=\"/ad.html\">广告</a></li></ul></div>") % "\n".join(rows)
    return _page("和讯外汇", "gb2312", body)


def caixun(items):
    rows = []
    for item in items:
        title = ("[短讯]" if item.get("brief") else "") + _text(item)
        rows.append("<li><em>(%s)</em><a%s target=\"_blank\">%s</a></li>"
                    % (item["time"].strftime("%Y-%m-%d %H:%M:%S"), _href(item), title))
    body = ("<div class=\"bordb bno\">\n<ul class=\"list\">\n%s\n</ul>\n</div>\n"
            "<div class=\"page\"><a href=\"?p=2\">下一页</a></div>") % "\n".join(rows)
    return _page("财讯 外汇", "gb2312", body)


BUILDERS = {"FXark": fxark, "FX168": fx168, "FX678": fx678, "DailyFX": dailyfx, "HeXun": hexun, "CaiXun": caixun}


def render(source, items):
    """The page of a source as the bytes its site serves."""
    return BUILDERS[source](items).encode(ENCODING[source], errors="xmlcharrefreplace")
