"""The site simulator keeps publishing distinct headlines for as long as it runs."""
import datetime
import os
import sys
import unicodedata
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "sitesim"))

import sitesim  # noqa: E402


class FakeClock:
    def __init__(self):
        self.now = 1_800_000_000.0

    def __call__(self):
        return self.now


class SiteRunsForHours(unittest.TestCase):
    def test_every_headline_and_link_stays_distinct_and_some_stories_recur(self):
        clock = FakeClock()
        sites = [sitesim.Site(source, 2026 + i, 15, clock) for i, source in enumerate(sitesim.PATHS.values())]
        for site in sites:
            site.peers = [other for other in sites if other is not site]
        published = {site.source: {} for site in sites}  # title -> (href, first seen)
        for _ in range(6 * 60 * 4):  # six hours, a page every 15 s
            clock.now += 15
            for site in sites:
                site.catch_up()
                for item in site.items:
                    published[site.source].setdefault(item["title"], (item["href"], clock.now))
        for site in sites:
            titles = published[site.source]
            self.assertGreater(site.added, 1000, site.source)
            self.assertEqual(len(site.items), sitesim.MAX_ITEMS, site.source)
            # Every headline ever published is told apart from every other, and so is its link.
            self.assertEqual(len(titles), site.added, site.source)
            links = [href for href, _ in titles.values() if href]
            self.assertEqual(len(set(links)), len(links), site.source)

        # Some stories come again on one or two other sites, a few minutes
        # later, changed in punctuation, width and spacing only.
        def bare(title):
            return "".join(c for c in unicodedata.normalize("NFKC", title)
                           if not unicodedata.category(c)[0] in "PZS")
        told = {}
        for source, titles in published.items():
            for title, (_, seen) in titles.items():
                told.setdefault(bare(title), []).append((seen, source, title))
        # Templates meet now and then by chance; a retold story differs from its first telling.
        recurring = [sorted(tellings) for tellings in told.values()
                     if len({source for _, source, _ in tellings}) > 1 and len({title for _, _, title in tellings}) > 1]
        total = sum(site.added for site in sites)
        self.assertGreater(len(recurring), total * sitesim.RETOLD_SHARE / 2)
        apart = [tellings[-1][0] - tellings[0][0] for tellings in recurring]
        within = [span for span in apart if sitesim.RETOLD_AFTER[0] - 15 <= span <= sitesim.RETOLD_AFTER[1] + 30]
        self.assertGreater(len(within), len(apart) * 0.9)

if __name__ == "__main__":
    unittest.main()


class DemoEventsFallOnTheirDay(unittest.TestCase):
    def test_demo_events_are_on_the_page_of_the_day_they_fall_on(self):
        simcalendar = sitesim.calendar_pages
        beijing = simcalendar.BEIJING
        for started, days in ((datetime.datetime(2026, 12, 9, 10, 0, tzinfo=beijing), {9: 3, 10: 0}),
                              (datetime.datetime(2026, 12, 9, 23, 57, 30, tzinfo=beijing), {9: 2, 10: 1}),
                              (datetime.datetime(2026, 12, 9, 23, 59, tzinfo=beijing), {9: 0, 10: 3})):
            book = simcalendar.Calendar(1, True, clock=lambda at=started: at.timestamp())
            for day, count in days.items():
                rows = book.rows(datetime.date(2026, 12, day))
                demo = [row["time"] for row in rows if row["text"].startswith("演示事件")]
                self.assertEqual(len(demo), count, (started, day, demo))
