// The main page's own behaviour: table sort, row highlight, quote-row drag.

var lastSelection = null;
var beginMoving = false;

// Rows of the table's first body, by the text of their first cell, highest first.
function sortTable(sTableID) {
    var body = GetObj(sTableID).tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    function key(row) {
        var cell = row.cells[0];
        // Rows of different sources carry a time key that sorts by time.
        if (cell && cell.dataset.key)
            return cell.dataset.key;
        var node = cell ? cell.firstChild : null;
        while (node && node.nodeType !== Node.TEXT_NODE)
            node = node.firstChild;
        return node ? node.nodeValue : '';
    }
    rows.sort(function (a, b) { return key(b).localeCompare(key(a)); });
    rows.forEach(function (row) { body.appendChild(row); });
}

function clearSelection() {
    if (lastSelection) {
        lastSelection.style.backgroundColor = '';
        lastSelection.style.color = '';
    }
}

function highlightRow(event) {
    var target = event.target;
    if (!/^(TR|TD|FONT|A|INPUT|NOBR)$/.test(target.tagName))
        return;
    var row = target;
    while (row && row.tagName !== 'TR' && row.tagName !== 'BODY')
        row = row.parentElement;
    if (row && row.tagName === 'TR') {
        clearSelection();
        row.style.backgroundColor = 'ButtonFace';
        GetObj('selRow').value = String(row.rowIndex);
        lastSelection = row;
    }
    event.stopPropagation();
}

function leaveTable() {
    if (GetObj('chkRow').value === '1')
        return;
    clearSelection();
    lastSelection = null;
    GetObj('selRow').value = '0';
}

var dragStart = null;

function quoteDown(event) {
    var row = event.currentTarget;
    row.style.zIndex = 1;
    row.style.position = 'relative';
    dragStart = { x: event.clientX, y: event.clientY, row: row };
    beginMoving = true;
    if (row.setPointerCapture && event.pointerId !== undefined)
        row.setPointerCapture(event.pointerId);
}

function quoteMove(event) {
    if (!beginMoving)
        return;
    dragStart.row.style.top = (event.clientY - dragStart.y) + 'px';
    dragStart.row.style.left = (event.clientX - dragStart.x) + 'px';
}

// Whole rows moved, truncated toward zero; -1 above the table, the last index below it.
function quoteTarget(index, dy, rowHeight, rowCount) {
    var moved = (dy - (dy % rowHeight)) / rowHeight;
    var target = index + moved;
    if (target < 0)
        target = -1;
    else if (target >= rowCount - 1)
        target = rowCount - 1;
    return target;
}

function moveRow(table, from, to) {
    var body = table.tBodies[0];
    var row = body.rows[from];
    if (to === -1 || to >= body.rows.length - 1)
        body.insertBefore(row, to === -1 ? body.rows[0] : null);
    else
        body.insertBefore(row, body.rows[to < from ? to : to + 1] || null);
}

function quoteUp(event) {
    if (!beginMoving)
        return;
    var row = dragStart.row;
    if (row.releasePointerCapture && event.pointerId !== undefined && row.hasPointerCapture(event.pointerId))
        row.releasePointerCapture(event.pointerId);
    row.style.top = '0px';
    row.style.left = '0px';
    row.style.zIndex = 0;
    beginMoving = false;
    var table = GetObj('QuoteList');
    var target = quoteTarget(row.sectionRowIndex, event.clientY - dragStart.y, GetObj('iTrFirst').offsetHeight,
                             table.tBodies[0].rows.length);
    moveRow(table, row.sectionRowIndex, target);
}

// Row highlight on every list table; the news tables sort by their first header cell.
function wireTable(table) {
    table.addEventListener('mousemove', highlightRow);
    table.addEventListener('mouseleave', leaveTable);
    var sortCell = table.tHead && table.tHead.rows[0].cells[0];
    if (sortCell && table.id !== 'iCalendar_Table')
        sortCell.addEventListener('click', function () { sortTable(table.id); });
}

// The news sources' tabs and blocks, from the program's source table:
// [{anchor, caption, area, table}], in tab order.
function buildSources(sources) {
    var more = GetObj('iMore').parentElement;
    var beforeBlocks = GetObj('iCalendar');
    sources.forEach(function (source) {
        var tab = GetObj('sourceTabTemplate').content.firstElementChild.cloneNode(true);
        var anchor = tab.querySelector('a');
        anchor.id = source.anchor;
        anchor.textContent = source.caption;
        more.parentElement.insertBefore(tab, more);

        var block = GetObj('sourceNewsTemplate').content.firstElementChild.cloneNode(true);
        block.id = source.area;
        var table = block.querySelector('table');
        table.id = source.table;
        table.tHead.rows[0].id = source.table + '_Head';
        beforeBlocks.parentElement.insertBefore(block, beforeBlocks);
        wireTable(table);
    });
}

document.addEventListener('tessaly-sources', function () {
    buildSources(JSON.parse(document.documentElement.getAttribute('data-sources')));
});

// Source tabs that do not fit in the tab row wait under "更多" (the program
// offers them in its menu): the row keeps to the menu bar's width, so many
// sources never make the window wider than that.
function fitTabs() {
    var row = GetObj('iUL');
    var room = GetObj('Menu').clientWidth;
    var tabs = Array.prototype.filter.call(row.children, function (li) { return li.classList.contains('source'); });
    tabs.forEach(function (li) { li.classList.remove('overflow'); });
    for (var i = tabs.length - 1; i >= 0 && row.offsetWidth > room; --i) {
        if (tabs[i].style.display !== 'none')
            tabs[i].classList.add('overflow');
    }
}

// Sources that are gone: [{anchor, area}]; their tabs and blocks go with them.
document.addEventListener('tessaly-dropSources', function () {
    JSON.parse(document.documentElement.getAttribute('data-dropSources')).forEach(function (source) {
        var anchor = GetObj(source.anchor);
        if (anchor)
            anchor.parentElement.remove();
        var block = GetObj(source.area);
        if (block)
            block.remove();
    });
});

document.addEventListener('DOMContentLoaded', function () {
    // Tabs shown, hidden, added or removed, and the bar's width, fit the row again.
    new MutationObserver(fitTabs).observe(GetObj('iUL'), {subtree: true, childList: true, attributes: true,
                                                          attributeFilter: ['style']});
    new ResizeObserver(fitTabs).observe(GetObj('Menu'));
    ['iAllNews_Table', 'iCalendar_Table'].forEach(function (id) { wireTable(GetObj(id)); });
    Array.prototype.forEach.call(GetObj('QuoteList').tBodies[0].rows, function (row) {
        row.addEventListener('pointerdown', quoteDown);
        row.addEventListener('pointermove', quoteMove);
        row.addEventListener('pointerup', quoteUp);
    });
});
