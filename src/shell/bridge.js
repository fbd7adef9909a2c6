// Runs in the application's own script world of our pages, never in the
// page's: the channel to the host is invisible to page scripts and to frames.
(function () {
    'use strict';

    function byId(id) {
        var element = document.getElementById(id);
        if (!element)
            throw new Error('no element ' + id);
        return element;
    }

    function offsetRect(element) {
        var left = 0, top = 0;
        for (var e = element; e && e.tagName !== 'BODY'; e = e.offsetParent) {
            left += e.offsetLeft;
            top += e.offsetTop;
        }
        return { left: left, top: top, width: element.offsetWidth, height: element.offsetHeight,
                 clientWidth: element.clientWidth, clientHeight: element.clientHeight };
    }

    // The changes the host makes to the page, by name.
    var commands = {
        setText: function (id, text) { byId(id).textContent = text; },
        setHtml: function (id, html) { byId(id).innerHTML = html; },
        setStyle: function (id, property, value) { byId(id).style[property] = value; },
        setClass: function (id, name) { byId(id).className = name; },
        setAttribute: function (id, name, value) { byId(id).setAttribute(name, value); },
        setValue: function (id, value) { byId(id).value = value; },
        setParentId: function (id, parentId) { byId(id).parentElement.id = parentId; },
        clearParentId: function (id) { byId(id).parentElement.removeAttribute('id'); },
        setParentStyle: function (id, property, value) { byId(id).parentElement.style[property] = value; },
        focus: function (id) { byId(id).focus(); },
        insertRow: function (tableId, index, cells) {
            // Rows go into the table's body, never into its header section.
            var table = byId(tableId);
            var target = index >= 0 && index < table.rows.length ? table.rows[index] : null;
            var row;
            if (target && target.parentElement.tagName === 'TBODY')
                row = target.parentElement.insertRow(target.sectionRowIndex);
            else if (table.tBodies.length)
                row = table.tBodies[table.tBodies.length - 1].insertRow(-1);
            else
                row = table.insertRow(index);
            cells.forEach(function (cell) {
                var td = row.insertCell(-1);
                if (cell.html !== undefined)
                    td.innerHTML = cell.html;
                else
                    td.textContent = cell.text;
                Object.keys(cell.style || {}).forEach(function (key) { td.style[key] = cell.style[key]; });
                Object.keys(cell.attributes || {}).forEach(function (key) { td.setAttribute(key, cell.attributes[key]); });
            });
        },
        deleteRow: function (tableId, index) { byId(tableId).deleteRow(index); },
        // Page functions live in the page's world; an element's own click reaches them.
        click: function (id) { byId(id).click(); },
    };

    new QWebChannel(qt.webChannelTransport, function (channel) {
        var host = channel.objects.host;

        host.apply.connect(function (command, args) {
            try {
                commands[command].apply(null, args);
            } catch (e) {
                // A page without the element: the step is skipped, as every DOM step of the host is.
            }
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

        host.bindingsRequested.connect(function (bindings) {
            bindings.forEach(function (binding) {
                var element = document.getElementById(binding.id);
                if (!element)
                    return;
                element.addEventListener(binding.event.replace(/^on/, ''), function () {
                    host.invoke(binding.operation, binding.id, element.textContent);
                });
            });
            host.bound();
        });

        // External links go to the user's browser, never into a window of ours.
        document.addEventListener('click', function (event) {
            var anchor = event.target.closest ? event.target.closest('a') : null;
            if (anchor && /^https?:\/\//i.test(anchor.href)) {
                event.preventDefault();
                host.openLink(anchor.href);
            }
        }, true);

        host.pageLoaded();
    });
})();
