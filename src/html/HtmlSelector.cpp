#include "html/HtmlSelector.h"

#include <QRegularExpression>

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c.unicode() > 0x7f;
}

// an+b as CSS writes it: "3", "odd", "even", "2n+1", "-n+3", "n".
std::optional<std::pair<int, int>> parseNth(const QString &text)
{
    const QString t = text.simplified().remove(u' ').toLower();
    if (t == QStringLiteral("odd"))
        return std::pair{2, 1};
    if (t == QStringLiteral("even"))
        return std::pair{2, 0};
    static const QRegularExpression form(QStringLiteral("^(?:([+-]?\\d*)n)?([+-]?\\d+)?$"));
    const QRegularExpressionMatch match = form.match(t);
    if (t.isEmpty() || !match.hasMatch())
        return std::nullopt;
    int a = 0;
    if (match.capturedLength(0) > 0 && t.contains(u'n')) {
        const QString coefficient = match.captured(1);
        a = coefficient.isEmpty() || coefficient == QStringLiteral("+") ? 1
            : coefficient == QStringLiteral("-")                         ? -1
                                                                         : coefficient.toInt();
    }
    const int b = match.captured(2).toInt();
    return std::pair{a, b};
}

bool nthMatches(const std::pair<int, int> &nth, int index)
{
    const auto [a, b] = nth;
    if (a == 0)
        return index == b;
    const int step = index - b;
    return step % a == 0 && step / a >= 0;
}

} // namespace

HtmlSelector::Target HtmlSelector::target(const QString &text, const QString &defaultAttribute)
{
    static const QRegularExpression suffix(QStringLiteral("^(.*?)\\s*@([A-Za-z_:][-\\w:.]*)\\s*$"));
    const QRegularExpressionMatch match = suffix.match(text);
    if (match.hasMatch())
        return {match.captured(1).trimmed(), match.captured(2).toLower()};
    return {text.trimmed(), defaultAttribute};
}

HtmlSelector::HtmlSelector(const QString &text)
{
    if (!parse(text))
        m_groups.clear();
}

bool HtmlSelector::parse(const QString &text)
{
    const auto fail = [this](const QString &why) {
        m_error = why;
        return false;
    };
    Complex complex;
    Compound compound;
    bool compoundStarted = false;
    bool pendingChild = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto readName = [&]() {
        const qsizetype start = i;
        while (i < n && isNameChar(text.at(i)))
            ++i;
        return text.mid(start, i - start);
    };
    const auto closeCompound = [&]() {
        if (!compoundStarted)
            return;
        compound.childOfPrevious = pendingChild;
        complex.push_back(compound);
        compound = Compound();
        compoundStarted = false;
        pendingChild = false;
    };
    const auto closeGroup = [&]() {
        closeCompound();
        if (complex.empty() || pendingChild)
            return false;
        m_groups.push_back(complex);
        complex.clear();
        return true;
    };

    while (i < n) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            closeCompound();
            ++i;
        } else if (c == u'>') {
            closeCompound();
            if (complex.empty() || pendingChild)
                return fail(QStringLiteral("\">\" needs a selector on each side"));
            pendingChild = true;
            ++i;
        } else if (c == u',') {
            if (!closeGroup())
                return fail(QStringLiteral("an empty selector in a group"));
            ++i;
        } else if (c == u'*') {
            if (compoundStarted)
                return fail(QStringLiteral("\"*\" inside a selector"));
            compoundStarted = true;
            ++i;
        } else if (c == u'.' || c == u'#') {
            ++i;
            const QString name = readName();
            if (name.isEmpty())
                return fail(QStringLiteral("a name must follow \"%1\"").arg(c));
            if (c == u'.')
                compound.classes << name;
            else
                compound.id = name;
            compoundStarted = true;
        } else if (c == u'[') {
            ++i;
            while (i < n && text.at(i).isSpace())
                ++i;
            Attribute attribute{readName().toLower(), std::nullopt};
            while (i < n && text.at(i).isSpace())
                ++i;
            if (attribute.name.isEmpty())
                return fail(QStringLiteral("an attribute name must follow \"[\""));
            if (i < n && text.at(i) == u'=') {
                ++i;
                while (i < n && text.at(i).isSpace())
                    ++i;
                if (i < n && (text.at(i) == u'"' || text.at(i) == u'\'')) {
                    const QChar quote = text.at(i);
                    const qsizetype end = text.indexOf(quote, i + 1);
                    if (end < 0)
                        return fail(QStringLiteral("an unclosed quote"));
                    attribute.value = text.mid(i + 1, end - i - 1);
                    i = end + 1;
                } else {
                    attribute.value = readName();
                }
                while (i < n && text.at(i).isSpace())
                    ++i;
            }
            if (i >= n || text.at(i) != u']')
                return fail(QStringLiteral("\"[\" without \"]\""));
            ++i;
            compound.attributes.push_back(attribute);
            compoundStarted = true;
        } else if (c == u':') {
            ++i;
            if (readName().toLower() != QStringLiteral("nth-child") || i >= n || text.at(i) != u'(')
                return fail(QStringLiteral("only the pseudo-class :nth-child(…) is known"));
            const qsizetype end = text.indexOf(u')', i);
            if (end < 0)
                return fail(QStringLiteral(":nth-child( without \")\""));
            compound.nthChild = parseNth(text.mid(i + 1, end - i - 1));
            if (!compound.nthChild)
                return fail(QStringLiteral("not an index of :nth-child: %1").arg(text.mid(i + 1, end - i - 1)));
            i = end + 1;
            compoundStarted = true;
        } else if (isNameChar(c)) {
            if (compoundStarted)
                return fail(QStringLiteral("a type name inside a selector"));
            compound.tag = readName().toLower();
            compoundStarted = true;
        } else {
            return fail(QStringLiteral("\"%1\" is not part of a known selector").arg(c));
        }
    }
    if (!closeGroup())
        return fail(text.trimmed().isEmpty() ? QStringLiteral("an empty selector")
                                             : QStringLiteral("a selector ends in a combinator"));
    return true;
}

bool HtmlSelector::matchesCompound(const Compound &compound, const HtmlElement &element)
{
    if (!compound.tag.isEmpty() && element.tagName() != compound.tag)
        return false;
    if (!compound.id.isEmpty() && element.attribute(QStringLiteral("id")) != compound.id)
        return false;
    if (!compound.classes.isEmpty()) {
        const QStringList classes = element.className().split(QRegularExpression(QStringLiteral("\\s+")),
                                                              Qt::SkipEmptyParts);
        for (const QString &wanted : compound.classes) {
            if (!classes.contains(wanted))
                return false;
        }
    }
    for (const Attribute &attribute : compound.attributes) {
        if (!element.hasAttribute(attribute.name))
            return false;
        if (attribute.value && element.attribute(attribute.name) != *attribute.value)
            return false;
    }
    return !compound.nthChild || nthMatches(*compound.nthChild, element.childIndex());
}

bool HtmlSelector::matchesFrom(const Complex &complex, int last, const HtmlElement &element)
{
    if (!matchesCompound(complex[static_cast<size_t>(last)], element))
        return false;
    if (last == 0)
        return true;
    const bool child = complex[static_cast<size_t>(last)].childOfPrevious;
    for (HtmlElement ancestor = element.parent(); !ancestor.isNull(); ancestor = ancestor.parent()) {
        if (matchesFrom(complex, last - 1, ancestor))
            return true;
        if (child)
            return false;
    }
    return false;
}

bool HtmlSelector::matches(const HtmlElement &element) const
{
    for (const Complex &complex : m_groups) {
        if (matchesFrom(complex, static_cast<int>(complex.size()) - 1, element))
            return true;
    }
    return false;
}

HtmlCollection HtmlSelector::select(const HtmlElement &root) const
{
    std::vector<HtmlElement> found;
    const HtmlCollection all = root.descendants();
    for (int i = 0; i < all.length(); ++i) {
        if (matches(all.item(i)))
            found.push_back(all.item(i));
    }
    return HtmlCollection(std::move(found));
}

HtmlElement HtmlSelector::first(const HtmlElement &root) const
{
    const HtmlCollection all = root.descendants();
    for (int i = 0; i < all.length(); ++i) {
        if (matches(all.item(i)))
            return all.item(i);
    }
    return {};
}
