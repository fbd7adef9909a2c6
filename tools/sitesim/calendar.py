"""The economic calendar's day pages, as the calendar site serves them at
/indexs/ecalendar.asp?date=Y-M-D: an event list block and a data block, in GBK.

Events are made up for each weekday from the date; today's page (Beijing time)
also carries, in demo mode, events a few minutes ahead, two of them at the same
minute. A result appears 20 to 90 seconds after its event's Beijing time, and
one event of the day never gets one. Weekends have header-only tables."""
import datetime
import html
import random
import time

BEIJING = datetime.timezone(datetime.timedelta(hours=8))

EVENTS = [("澳大利亚", "零售销售月率"), ("日本", "贸易帐"), ("德国", "CPI年率"), ("欧元区", "GDP季率"),
          ("英国", "失业率"), ("美国", "非农就业人数"), ("美国", "CPI月率"), ("加拿大", "央行利率决议"),
          ("美国", "初请失业金人数"), ("中国", "制造业PMI"), ("瑞士", "央行讲话")]
TIMES = ["00:30", "07:50", "09:30", "15:00", "17:30", "20:30", "21:45", "23:00"]
IMPORTANCE = ["低", "中", "高", ""]
# A row whose event text could break a page that pasted it in.
HOSTILE = "区间1.08~1.09 | A#B <img src=x onerror=\"document.title='owned'\">"


class Calendar:
    """Control by fault: stall, empty, garbage, 500, noblock, unbalanced; and
    by changes of today's page: add, drop, revise, publish, hostile."""

    def __init__(self, seed, demo, clock=time.time):
        self.seed = seed
        self.demo = demo
        self.clock = clock
        self.fault = "none"
        self.extra = []        # rows added to today's page
        self.dropped = 0       # rows taken off today's page
        self.revised = False   # today's first forecast revised
        self.published = False # every result of today out at once
        self.hits = 0
        started = datetime.datetime.fromtimestamp(clock(), BEIJING)
        # Demo events: two at the same minute a few minutes ahead, one later,
        # each on the page of the day it falls on.
        self.demo_times = [started + datetime.timedelta(minutes=m) for m in (2, 2, 4)]

    def now(self):
        return datetime.datetime.fromtimestamp(self.clock(), BEIJING)

    def rows(self, date):
        if date.weekday() >= 5:
            return []
        rng = random.Random("%s-%s" % (self.seed, date.isoformat()))
        rows = []
        for index, at in enumerate(sorted(rng.sample(TIMES, 5))):
            country, name = rng.choice(EVENTS)
            rows.append({"time": at, "text": "%s%s" % (country, name), "before": "%.1f%%" % rng.uniform(-1, 3),
                         "predict": "%.1f%%" % rng.uniform(-1, 3), "importance": rng.choice(IMPORTANCE),
                         "delay": rng.randint(20, 90), "never": index == 2})
        rows[3]["predict"] = "--"
        rows[1]["text"] += "(区间1.0800~1.0850)"
        # Rows the calendar must pass over: no clock time.
        for at, text in (("--", "假日休市"), ("待定", "央行官员讲话"), ("全天", "银行假日")):
            rows.append({"time": at, "text": text, "before": "", "predict": "", "importance": "", "delay": 0,
                         "never": True})
        if self.demo:
            for index, at in enumerate(self.demo_times):
                if at.date() == date:
                    rows.append({"time": at.strftime("%H:%M"), "text": "演示事件%d" % (index + 1), "before": "1.0%",
                                 "predict": "1.2%", "importance": "高", "delay": 30, "never": False})
        if date == self.now().date():
            rows.extend(self.extra)
            rows = rows[:len(rows) - self.dropped] if self.dropped else rows
            if self.revised and rows:
                rows[0] = dict(rows[0], predict="9.9%")
        rows.sort(key=lambda row: (":" not in row["time"], row["time"]))
        return rows

    def result(self, date, row):
        if row["never"]:
            return ""
        hour, minute = map(int, row["time"].split(":"))
        due = datetime.datetime(date.year, date.month, date.day, hour, minute, tzinfo=BEIJING) + \
            datetime.timedelta(seconds=row["delay"])
        if self.published and date == self.now().date():
            return "%.1f%%" % (random.Random(row["text"]).uniform(-1, 3))
        return "%.1f%%" % (random.Random(row["text"]).uniform(-1, 3)) if self.now() >= due else ""

    def control(self, what):
        if what in ("none", "stall", "empty", "garbage", "500", "noblock", "unbalanced"):
            self.fault = what
        elif what == "add":
            self.extra.append({"time": "22:15", "text": "新增事件%d" % (len(self.extra) + 1), "before": "", "predict": "",
                               "importance": "中", "delay": 40, "never": False})
        elif what == "drop":
            self.dropped += 1
        elif what == "revise":
            self.revised = True
        elif what == "publish":
            self.published = True
        elif what == "hostile":
            self.extra.append({"time": "22:30", "text": HOSTILE, "before": "<b>1</b>", "predict": "#|~",
                               "importance": "高", "delay": 40, "never": False})
        else:
            return False
        return True

    def page(self, date):
        """(status, body bytes); None for a stalled answer."""
        self.hits += 1
        if self.fault == "stall":
            return None
        if self.fault == "500":
            return 500, "<html><body>服务器错误</body></html>".encode("gbk")
        if self.fault == "empty":
            return 200, b""
        if self.fault == "garbage":
            return 200, bytes(random.Random(self.hits).getrandbits(8) for _ in range(3000))
        rows = self.rows(date)
        events = "".join("<tr><td>%d</td><td>%s</td><td>国家</td><td>%s</td><td> %s </td></tr>"
                         % (i + 1, row["time"], html.escape(row["importance"]), html.escape(row["text"]))
                         for i, row in enumerate(rows))
        data = "".join("<tr><td>%d</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>"
                       % (i + 1, row["time"], html.escape(row["text"]), html.escape(row["before"]) or "&nbsp;",
                          html.escape(row["predict"]), html.escape(self.result(date, row)) or "&nbsp;",
                          html.escape(row["importance"]))
                       for i, row in enumerate(rows))
        data_block = ("<div class=\"q_riBR01\"><div class=\"note\" title=\"divided\"><span>数据</span></div>"
                      "<table><tr><th>序</th><th>时间</th><th>事件</th><th>前值</th><th>预测</th><th>公布</th><th>重要性</th></tr>"
                      "%s</table>%s" % (data, "" if self.fault == "unbalanced" else "</div>"))
        body = ("<html><head><meta charset=\"gb2312\"><title>财经日历</title></head><body><div class=\"q_top\">%s</div>"
                "<div class=\"q_riBR02\"><table><tr><th>序</th><th>时间</th><th>国家</th><th>重要</th><th>事件</th></tr>%s</table></div>"
                "%s</body></html>" % (date.isoformat(), events, "" if self.fault == "noblock" else data_block))
        if self.fault == "unbalanced":
            body = body.replace("</body>", "<div class=\"foot\">")
        return 200, body.encode("gbk", errors="replace")
