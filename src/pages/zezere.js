// Shared by every page of Tessaly.

function GetObj(objName) {
    return document.getElementById(objName);
}

// Our windows show their own menus; the browser's never appears.
function nocontextmenu(event) {
    event = event || window.event;
    event.stopPropagation();
    event.preventDefault();
    return false;
}

// For elements that keep the browser's menu: stop here, but let it show.
function PopMenu(event) {
    (event || window.event).stopPropagation();
    return true;
}

// F5 and Ctrl+F would reload or search the page.
function KeyDown(event) {
    event = event || window.event;
    if (event.keyCode === 116 || (event.ctrlKey && event.keyCode === 70)) {
        event.preventDefault();
        event.stopPropagation();
        return false;
    }
    return true;
}

// An image standing for the check box just before it.
function imgClick(image, event) {
    var box = image.previousElementSibling;
    if (!box || box.disabled)
        return;
    box.checked = !box.checked;
    box.focus();
    box.dispatchEvent(new Event('click', { bubbles: true }));
    if (event)
        event.stopPropagation();
}

// Key filter of numeric fields: digits of both blocks, Tab, Delete, Backspace, Left, Right.
function onlyNum(event) {
    event = event || window.event;
    var code = event.keyCode;
    var allowed = (code >= 48 && code <= 57) || (code >= 96 && code <= 105)
        || code === 9 || code === 46 || code === 8 || code === 37 || code === 39;
    if (!allowed)
        event.preventDefault();
    return allowed;
}

// This engine shows PNG transparency itself.
function fixPNG(myImage) {
}

// Popup items call the old element.fireEvent('onclick'); it dispatches the named event.
if (!Element.prototype.fireEvent) {
    Element.prototype.fireEvent = function (name) {
        var type = String(name).replace(/^on/, '');
        if (type === 'click' && typeof this.click === 'function')
            this.click();
        else
            this.dispatchEvent(new Event(type, { bubbles: true, cancelable: true }));
        return true;
    };
}

document.addEventListener('contextmenu', function (event) {
    var field = event.target.closest && event.target.closest('input[type=text], textarea');
    if (!field)
        nocontextmenu(event);
});
document.addEventListener('keydown', KeyDown, true);
document.addEventListener('dragstart', function (event) { event.preventDefault(); });
document.addEventListener('drop', function (event) { event.preventDefault(); });
document.addEventListener('selectstart', function (event) {
    var field = event.target.closest && event.target.closest('input, textarea');
    if (!field && document.body && document.body.dataset.select !== 'text')
        event.preventDefault();
});
