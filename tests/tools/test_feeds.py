"""The simulator's feeds: validators and 304s, their faults, and what a site
declaring gb2312 really sends."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "sitesim"))

import feeds  # noqa: E402


class FakeClock:
    def __init__(self):
        self.now = 1_800_000_000.0

    def __call__(self):
        return self.now


class FeedsAnswer(unittest.TestCase):
    def setUp(self):
        self.clock = FakeClock()
        self.feeds = feeds.Feeds(2026, 10, self.clock)

    def test_an_unchanged_feed_answers_304_and_a_changed_one_its_body(self):
        for path in ("/feeds/flash.rss", "/feeds/flash.atom", "/feeds/flash.json", "/feeds/flash.html"):
            status, headers, body, _ = self.feeds.answer(path, {}, "http://h")
            self.assertEqual(status, 200, path)
            self.assertTrue(body and headers["ETag"] and headers["Last-Modified"], path)
            again = self.feeds.answer(path, {"If-None-Match": headers["ETag"]}, "http://h")
            self.assertEqual((again[0], again[2]), (304, b""), path)
            self.clock.now += 3600  # news meanwhile
            self.assertEqual(self.feeds.answer(path, {"If-None-Match": headers["ETag"]}, "http://h")[0], 200, path)

    def test_the_rss_feed_declares_gb2312_and_holds_gbk(self):
        self.clock.now += 3600 * 6
        _, _, body, content_type = self.feeds.answer("/feeds/flash.rss", {}, "http://h")
        self.assertIn("charset=gb2312", content_type)
        self.assertTrue(body.startswith(b'<?xml version="1.0" encoding="gb2312"?>'))
        with self.assertRaises(UnicodeDecodeError):
            body.decode("gb2312")
        text = body.decode("gb18030")
        self.assertTrue(any(c in text for c in feeds.GBK_ONLY))
        self.assertIn("<category>重要</category>", text)

    def test_faults_are_switched_per_feed(self):
        self.assertFalse(self.feeds.control("nosuch", "500"))
        self.assertFalse(self.feeds.control("rss", "nosuch"))
        expected = {"500": 500, "429": 429, "redirect": 302, "empty": 200, "huge": 200, "bomb": 200}
        for fault, status in expected.items():
            self.assertTrue(self.feeds.control("rss", fault))
            self.assertEqual(self.feeds.answer("/feeds/flash.rss", {}, "http://h")[0], status, fault)
            self.assertEqual(self.feeds.answer("/feeds/flash.atom", {}, "http://h")[0], 200, fault)
        self.feeds.control("rss", "huge")
        self.assertGreater(len(self.feeds.answer("/feeds/flash.rss", {}, "http://h")[2]), 8 << 20)
        self.assertTrue(self.feeds.control("rss", "stall"))
        self.assertEqual(self.feeds.answer("/feeds/flash.rss", {}, "http://h"), "stall")
        self.assertIsNone(self.feeds.answer("/feeds/other", {}, "http://h"))


if __name__ == "__main__":
    unittest.main()
