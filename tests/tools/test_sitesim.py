"""The site simulator keeps publishing distinct headlines for as long as it runs."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "sitesim"))

import sitesim  # noqa: E402


class FakeClock:
    def __init__(self):
        self.now = 1_800_000_000.0

    def __call__(self):
        return self.now


class SiteRunsForHours(unittest.TestCase):
    def test_every_headline_and_link_stays_distinct(self):
        for source in sitesim.PATHS.values():
            clock = FakeClock()
            site = sitesim.Site(source, 2026, 15, clock)
            published = set()
            for _ in range(6 * 60 * 4):  # six hours, a page every 15 s
                clock.now += 15
                site.catch_up()
                published.update((item["title"], item["href"]) for item in site.items)
            self.assertGreater(site.added, 1000, source)
            self.assertEqual(len(site.items), sitesim.MAX_ITEMS, source)
            # Every headline ever published is told apart from every other, and so is its link.
            self.assertEqual(len(published), site.added, source)
            self.assertEqual(len({title for title, _ in published}), site.added, source)
            links = [href for _, href in published if href]
            self.assertEqual(len(set(links)), len(links), source)


if __name__ == "__main__":
    unittest.main()
