#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// Parts of a page made from data (see PageBridge::insertRow): an element
// with its text as text, a class, attributes and children; the tag "#text"
// makes a text node.
namespace PagePart {

QVariantMap element(const QString &tag, const QString &text = {}, const QString &className = {},
                    const QVariantMap &attributes = {}, const QVariantList &children = {});

// A length in CSS pixels, as setStyle takes it: "12px".
QString px(int value);

} // namespace PagePart
