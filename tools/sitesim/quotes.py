"""The broker's quotes page, as the quote scraper loads it: "//forexQuotes.aspx"
with its query, a first table holding the eight bidElem cells, and a script
that moves the prices by small steps about once a second (it asks the
simulator for them at /quotes/values).

Controls: freeze, run, zero:<cell>, empty:<cell>, set:<cell>=<value>, reload,
fail and stall (the next loads of the page), hostile (the page tries an alert,
a new window, a top navigation and a download), none."""
import json
import random
import threading

CELLS = {"bidElem0": 1.08500, "bidElem1": 0.88000, "bidElem2": 149.500, "bidElem3": 1.26000,
         "bidElem4": 1.35500, "bidElem5": 0.66500, "bidElem7": 188.300, "bidElem8": 0.61000}
YEN = ("bidElem2", "bidElem7")

PAGE = """<html><head><meta charset="utf-8"><title>Forex quotes</title></head><body>
<table id="quotes"><tr><th>Pair</th><th>Bid</th></tr>%s</table>
<script>
var reloads = null;
function update() {
  fetch('/quotes/values').then(function (r) { return r.json(); }).then(function (state) {
    Object.keys(state.cells).forEach(function (id) { document.getElementById(id).textContent = state.cells[id]; });
    if (reloads !== null && state.reloads !== reloads) location.reload();
    reloads = state.reloads;
    if (state.hostile) {
      try { alert('quotes'); } catch (e) {}
      window.open('http://127.0.0.1:1/popup');
      var a = document.createElement('a'); a.href = '/quotes/values'; a.download = 'values.json';
      document.body.appendChild(a); a.click();
      location.href = 'http://127.0.0.1:1/elsewhere';
    }
  }).catch(function () {});
}
setInterval(update, 1000);
</script></body></html>"""


class Quotes:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.values = dict(CELLS)
        self.overrides = {}
        self.frozen = False
        self.reloads = 0
        self.load_fault = "none"
        self.hostile = False
        self.hits = 0
        self.value_hits = 0  # the page's own refreshes of its prices
        self.lock = threading.Lock()

    def text(self, cell):
        if cell in self.overrides:
            return self.overrides[cell]
        return ("%.3f" if cell in YEN else "%.5f") % self.values[cell]

    def page(self):
        """(status, body); None for a load that stalls."""
        with self.lock:
            self.hits += 1
            if self.load_fault == "stall":
                return None
            if self.load_fault == "fail":
                return 500, b"<html><body>down</body></html>"
            rows = "".join("<tr><td>%s</td><td id=\"%s\">%s</td></tr>" % (cell, cell, self.text(cell)) for cell in CELLS)
            return 200, (PAGE % rows).encode()

    def state(self):
        with self.lock:
            self.value_hits += 1
            if not self.frozen:
                for cell in self.values:
                    step = 0.001 if cell in YEN else 0.00001
                    self.values[cell] += step * self.rng.choice((-3, -2, -1, 1, 2, 3))
            return json.dumps({"cells": {cell: self.text(cell) for cell in CELLS}, "reloads": self.reloads,
                               "hostile": self.hostile}).encode()

    def control(self, what):
        with self.lock:
            name, _, argument = what.partition(":")
            if name == "freeze":
                self.frozen = True
            elif name == "run":
                self.frozen = False
            elif name in ("zero", "empty") and argument in CELLS:
                self.overrides[argument] = "0.00000" if name == "zero" else ""
            elif name == "set" and "=" in argument and argument.split("=")[0] in CELLS:
                cell, value = argument.split("=", 1)
                self.overrides[cell] = value
            elif name == "reload":
                self.reloads += 1
            elif name in ("fail", "stall"):
                self.load_fault = name
            elif name == "hostile":
                self.hostile = True
            elif name == "none":
                self.overrides.clear()
                self.load_fault = "none"
                self.hostile = False
                self.frozen = False
            else:
                return False
            return True
