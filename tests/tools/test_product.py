"""The simulated product site answers as the program's tests expect."""
import base64
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "sitesim"))

import product  # noqa: E402


class ProductSiteTest(unittest.TestCase):
    def setUp(self):
        self.site = product.ProductSite("1.0.0007", b"\x7fELF payload")

    def version(self):
        return ET.fromstring(self.site.descriptor("http://127.0.0.1:1")).findtext("Version")

    def test_versions_around_the_current_one(self):
        expected = {"older": "0.0.0007", "equal": "1.0.0007", "newer": "1.0.0008", "noversion": ""}
        for setting, version in expected.items():
            self.assertTrue(self.site.control("update:" + setting))
            self.assertEqual(self.version(), version, setting)

    def test_a_hostile_advert_address_stays_inside_its_element(self):
        self.site.control("update:hostile")
        self.site.control("fxark:1")
        root = ET.fromstring(self.site.descriptor("http://127.0.0.1:1"))
        self.assertTrue(root.findtext("FxarkAdvertUrl").startswith("javascript:"))
        self.assertEqual(root.findtext("FxarkIsAdvert"), "1")

    def test_the_notice_keeps_its_markup_as_text(self):
        self.site.control("tip:markup")
        self.assertEqual(ET.fromstring(self.site.notice()).findtext("SysTip"), "<b>注意</b> 1 < 2 & 3")
        self.site.control("tip:missing")
        self.assertIsNone(self.site.notice())

    def test_the_new_program_is_signed_with_the_test_key(self):
        def verifies(signature):
            with tempfile.TemporaryDirectory() as folder:
                message, sig = os.path.join(folder, "m"), os.path.join(folder, "s")
                open(message, "wb").write(b"\x7fELF payload")
                open(sig, "wb").write(base64.b64decode(signature))
                return subprocess.run(["openssl", "pkeyutl", "-verify", "-pubin", "-inkey",
                                       product.TEST_KEY.replace(".pem", ".pub.pem"), "-rawin", "-in", message,
                                       "-sigfile", sig], capture_output=True).returncode == 0
        outcomes = {}
        for setting in ("right", "wrong", "none"):
            self.assertTrue(self.site.control("sig:" + setting))
            signature = ET.fromstring(self.site.descriptor("http://127.0.0.1:1")).findtext("Signature") or ""
            outcomes[setting] = bool(signature) and verifies(signature)
        self.assertEqual(outcomes, {"right": True, "wrong": False, "none": False})

    def test_unknown_controls_are_refused(self):
        for request in ("update:latest", "download:", "nothing:1", "sha"):
            self.assertFalse(self.site.control(request), request)


if __name__ == "__main__":
    unittest.main()
