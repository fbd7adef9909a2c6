// Runs in the application's own script world of our pages, never in the
// page's: the channel to the host is invisible to page scripts and to frames.
(function () {
    'use strict';

    function offsetRect(element) {
        var left = 0, top = 0;
        for (var e = element; e && e.tagName !== 'BODY'; e = e.offsetParent) {
            left += e.offsetLeft;
            top += e.offsetTop;
        }
        return { left: left, top: top, width: element.offsetWidth, height: element.offsetHeight,
                 clientWidth: element.clientWidth, clientHeight: element.clientHeight };
    }

    // A node made from data: its text is always text, never markup.
    function makePart(part) {
        if (part.tag === '#text')
            return document.createTextNode(part.text);
        var element = document.createElement(part.tag || 'span');
        if (part.text !== undefined)
            element.textContent = part.text;
        if (part.className)
            element.className = part.className;
        Object.keys(part.attributes || {}).forEach(function (key) { element.setAttribute(key, part.attributes[key]); });
        (part.children || []).forEach(function (child) { element.appendChild(makePart(child)); });
        return element;
    }

    function fillCell(td, cell) {
        while (td.firstChild)
            td.removeChild(td.firstChild);
        if (cell.parts)
            cell.parts.forEach(function (part) { td.appendChild(makePart(part)); });
        else if (cell.html !== undefined)
            td.innerHTML = cell.html;
        else
            td.textContent = cell.text;
        if (cell.marks)
            markWithin(td, cell.marks.filter(function (word) { return word.length > 0; }));
        Object.keys(cell.style || {}).forEach(function (key) { td.style[key] = cell.style[key]; });
        Object.keys(cell.attributes || {}).forEach(function (key) { td.setAttribute(key, cell.attributes[key]); });
    }

    // Each of the words, wherever it stands in the element's texts, in a <mark>.
    function markWithin(element, words) {
        var walker = document.createTreeWalker(element, NodeFilter.SHOW_TEXT);
        var nodes = [];
        while (walker.nextNode())
            nodes.push(walker.currentNode);
        nodes.forEach(function (node) { markNode(node, words); });
    }

    function markNode(node, words) {
        var text = node.nodeValue, from = 0, pieces = [];
        for (;;) {
            // The next place any word starts, the longest word there.
            var at = -1, length = 0;
            words.forEach(function (word) {
                var found = text.indexOf(word, from);
                if (found >= 0 && (at < 0 || found < at || (found === at && word.length > length))) {
                    at = found;
                    length = word.length;
                }
            });
            if (at < 0)
                break;
            if (at > from)
                pieces.push(document.createTextNode(text.slice(from, at)));
            var mark = document.createElement('mark');
            mark.textContent = text.substr(at, length);
            pieces.push(mark);
            from = at + length;
        }
        if (!pieces.length)
            return;
        if (from < text.length)
            pieces.push(document.createTextNode(text.slice(from)));
        pieces.forEach(function (piece) { node.parentNode.insertBefore(piece, node); });
        node.parentNode.removeChild(node);
    }

    // The changes the host makes to the page, by name; each gets the element first.
    var commands = {
        setText: function (e, text) { e.textContent = text; },
        setHtml: function (e, html) { e.innerHTML = html; },
        setStyle: function (e, property, value) { e.style[property] = value; },
        setAttribute: function (e, name, value) { e.setAttribute(name, value); },
        setValue: function (e, value) { e.value = value; },
        setParentId: function (e, parentId) { e.parentElement.id = parentId; },
        clearParentId: function (e) { e.parentElement.removeAttribute('id'); },
        setParentStyle: function (e, property, value) { e.parentElement.style[property] = value; },
        focus: function (e) { e.focus(); },
        setChecked: function (e, checked) { e.checked = !!checked; },
        setOptions: function (e, options) {
            while (e.options.length)
                e.remove(0);
            options.forEach(function (option) { e.add(new Option(option.text, option.value)); });
            e.selectedIndex = -1;
        },
        setSelectedIndex: function (e, index) { e.selectedIndex = index; },
        fire: function (e, name) { e.dispatchEvent(new Event(name, { bubbles: true })); },
        insertRow: function (table, index, cells) {
            // Rows go into the table's body, never into its header section.
            var target = index >= 0 && index < table.rows.length ? table.rows[index] : null;
            var row;
            if (target && target.parentElement.tagName === 'TBODY')
                row = target.parentElement.insertRow(target.sectionRowIndex);
            else if (table.tBodies.length)
                row = table.tBodies[table.tBodies.length - 1].insertRow(-1);
            else
                row = table.insertRow(index);
            cells.forEach(function (cell) {
                fillCell(row.insertCell(-1), cell);
                if (cell.rowClass)
                    row.className = cell.rowClass;
            });
        },
        deleteRow: function (table, index) { table.deleteRow(index); },
        // The rows after the first (a table's header), all of them.
        clearRows: function (table) {
            while (table.rows.length > 1)
                table.deleteRow(table.rows.length - 1);
        },
        setCell: function (table, rowIndex, cellIndex, cell) { fillCell(table.rows[rowIndex].cells[cellIndex], cell); },
        setParts: function (e, parts) { fillCell(e, { parts: parts }); },
        setClassOfFirst: function (e, selector, name) { e.querySelector(selector).className = name; },
        // Page functions live in the page's world; an element's own click reaches them.
        click: function (e) { e.click(); },
    };

    new QWebChannel(qt.webChannelTransport, function (channel) {
        var host = channel.objects.host;

        function run(command, args) {
            if (command === 'build') {
                // The page's own script builds from the data; DOM events cross the worlds.
                document.documentElement.setAttribute('data-' + args[0], args[1]);
                document.dispatchEvent(new Event('tessaly-' + args[0]));
                return;
            }
            var element = document.getElementById(args[0]);
            if (!element || !commands[command]) {
                host.missingElement(command, String(args[0]));
                return;
            }
            try {
                commands[command].apply(null, [element].concat(args.slice(1)));
            } catch (e) {
                host.missingElement(command + ': ' + e.message, String(args[0]));
            }
        }

        host.apply.connect(function (batch) {
            batch.forEach(function (change) { run(change[0], change[1]); });
        });

        // The elements a selector finds, in document order: id, text, and for
        // a row its cells' texts and the ids of the spans in it.
        host.selectRequested.connect(function (request, selector) {
            var found = Array.prototype.map.call(document.querySelectorAll(selector), function (e) {
                return { id: e.id || '', text: e.innerText,
                         cells: Array.prototype.map.call(e.cells || [], function (c) { return c.innerText; }),
                         spans: Array.prototype.map.call(e.querySelectorAll('span'), function (s) { return s.id || ''; }) };
            });
            host.selected(request, found);
        });

        host.formRequested.connect(function (request, ids) {
            var result = {};
            ids.forEach(function (id) {
                var e = document.getElementById(id);
                if (!e)
                    return;
                var chosen = e.options && e.selectedIndex >= 0 ? e.options[e.selectedIndex] : null;
                result[id] = { checked: !!e.checked, value: chosen ? chosen.value : (e.value || ''),
                               selectedIndex: e.options ? e.selectedIndex : -1, selectedText: chosen ? chosen.text : '' };
            });
            host.measured(request, result);
        });

        host.measureRequested.connect(function (request, ids) {
            var result = {};
            ids.forEach(function (id) {
                var element = document.getElementById(id);
                if (element)
                    result[id] = offsetRect(element);
            });
            host.measured(request, result);
        });

        // Whether a person's gesture is behind an event: its own, or one that a
        // page handler passed on while the gesture still counts.
        function byUser(event) {
            return event.isTrusted || !!(navigator.userActivation && navigator.userActivation.isActive);
        }

        host.bindingsRequested.connect(function (bindings) {
            bindings.forEach(function (binding) {
                var element = document.getElementById(binding.id);
                if (!element) {
                    host.missingElement('bind ' + binding.event, binding.id);
                    return;
                }
                element.addEventListener(binding.event.replace(/^on/, ''), function (event) {
                    var target = event.target && event.target.nodeType === 1 ? event.target : element;
                    var row = target.closest ? target.closest('tr') : null;
                    host.event(binding.id, binding.event, element.textContent, byUser(event), {
                        targetId: target.id || '',
                        checked: !!target.checked,
                        rowIndex: row ? row.rowIndex : -1
                    });
                });
            });
            host.bound();
        });

        // Links never navigate our page. A person's click on a web link opens
        // the user's browser; a click made by script opens nothing.
        document.addEventListener('click', function (event) {
            var anchor = event.target.closest ? event.target.closest('a') : null;
            if (!anchor || !anchor.href || /^javascript:/i.test(anchor.getAttribute('href') || ''))
                return;
            event.preventDefault();
            if (event.isTrusted && /^https?:\/\//i.test(anchor.href))
                host.openLink(anchor.href);
        }, true);

        host.pageLoaded();
    });
})();
