#include "core/cls_Config.h"

#include "core/ConfigPaths.h"
#include "core/Logging.h"
#include "core/MessageSink.h"
#include "core/NumberText.h"
#include "core/StderrMessageSink.h"
#include "core/TextEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

QString qstr(const char *text)
{
    return QString::fromUtf8(text);
}

// The XML Name production, restricted to what an element or attribute name of
// this file can sensibly be; pugixml itself would write any text as a name.
bool isXmlName(const QString &name)
{
    if (name.isEmpty())
        return false;
    const QChar first = name.front();
    if (!(first.isLetter() || first == u'_'))
        return false;
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.'))
            return false;
    }
    return true;
}

// Concatenated text of every text node below an element, as a DOM's `text`.
void collectText(const pugi::xml_node &node, QByteArray &out)
{
    for (const pugi::xml_node &child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
        else if (child.type() == pugi::node_element)
            collectText(child, out);
    }
}

struct ByteWriter : pugi::xml_writer
{
    QByteArray data;
    void write(const void *bytes, size_t size) override
    {
        data.append(static_cast<const char *>(bytes), static_cast<qsizetype>(size));
    }
};

} // namespace

QString cls_Config::missingNodeDescription()
{
    return QStringLiteral("对象变量或 With 块变量未设置");
}

QString cls_Config::errorBoxText(int number, const QString &description)
{
    const QString unknown = QStringLiteral("未知");
    return QStringLiteral("错误:#") + (number == 0 ? unknown : QString::number(number))
        + QStringLiteral(" - ") + (description.isEmpty() ? unknown : description);
}

cls_Config::cls_Config(MessageSink *sink)
    : m_sink(sink ? sink : &StderrMessageSink::instance())
{
}

void cls_Config::setMessageSink(MessageSink *sink)
{
    m_sink = sink ? sink : &StderrMessageSink::instance();
}

bool cls_Config::Initialize()
{
    if (m_xmlFile.isEmpty())
        return false;

    QFile file(m_xmlFile);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = true;
        m_sink->show(MessageIcon::Critical,
                     QStringLiteral("无法读取配置文件 ") + m_xmlFile + QStringLiteral(": ") + file.errorString());
        return false;
    }
    QByteArray data = file.readAll();

    // The parser reads the Unicode forms; a file in another encoding is read
    // through iconv and written back in its own encoding.
    const QByteArray declared = TextEncoding::xmlDeclaredEncoding(data);
    QByteArray fileEncoding;
    const bool bom = data.startsWith("\xEF\xBB\xBF") || data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
    if (!TextEncoding::isUnicode(declared)) {
        const std::optional<QByteArray> utf8Data = TextEncoding::convert(data, TextEncoding::superset(declared), "UTF-8");
        if (!utf8Data) {
            m_error = true;
            m_sink->show(MessageIcon::Critical, QStringLiteral("配置文件 %1 无法按其声明的编码 %2 读取")
                                                    .arg(QFileInfo(m_xmlFile).fileName(), QString::fromLatin1(declared)));
            return false;
        }
        data = *utf8Data;
        fileEncoding = TextEncoding::superset(declared);
    }

    // Comments, processing instructions, the document type and the layout's
    // white space are kept, so the file comes back whole but for what changed.
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(data.constData(), static_cast<size_t>(data.size()),
                                                          pugi::parse_full | pugi::parse_ws_pcdata,
                                                          fileEncoding.isEmpty() ? pugi::encoding_auto : pugi::encoding_utf8);
    if (!result) {
        m_error = true;
        m_sink->show(MessageIcon::Critical, parseErrorText(result, data));
        return false;
    }
    const pugi::xml_node top = doc.document_element();
    if (qstrcmp(top.name(), "App") != 0) {
        m_error = true;
        m_sink->show(MessageIcon::Critical,
                     QStringLiteral("配置文件 %1 的根元素应为 App, 而不是 %2")
                         .arg(QFileInfo(m_xmlFile).fileName(), qstr(top.name())));
        return false;
    }

    m_doc.reset(doc);
    m_encoding = result.encoding;
    m_fileEncoding = fileEncoding;
    m_bom = bom;
    m_error = false;
    m_ok = true;
    return true;
}

QString cls_Config::parseErrorText(const pugi::xml_parse_result &result, const QByteArray &data) const
{
    const qsizetype offset = std::min<qsizetype>(static_cast<qsizetype>(result.offset), data.size());
    const QByteArray before = data.left(offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = offset - (before.lastIndexOf('\n') + 1) + 1;
    return QStringLiteral("配置文件 %1 格式错误: %2 (第 %3 行, 第 %4 列)")
        .arg(QFileInfo(m_xmlFile).fileName(), qstr(result.description()))
        .arg(line)
        .arg(column);
}

pugi::xml_node cls_Config::root() const
{
    return m_doc.document_element();
}

namespace {

// The first element in document order at the end of `steps` below `node`, as
// an XPath location path of child steps selects it: a parent that lacks the
// rest of the path does not hide a later parent of the same name that has it.
pugi::xml_node firstMatch(const pugi::xml_node &node, const QList<QByteArray> &steps, qsizetype index)
{
    if (index == steps.size())
        return node;
    for (const pugi::xml_node &child : node.children(steps.at(index).constData())) {
        if (const pugi::xml_node found = firstMatch(child, steps, index + 1))
            return found;
    }
    return {};
}

} // namespace

pugi::xml_node cls_Config::element(const QString &path) const
{
    if (path.isEmpty())
        return {};
    QList<QByteArray> steps;
    for (const QString &step : path.split(u'/', Qt::SkipEmptyParts))
        steps << utf8(step);
    return steps.isEmpty() ? pugi::xml_node() : firstMatch(root(), steps, 0);
}

pugi::xml_node cls_Config::parentElement(const QString &path) const
{
    return path.isEmpty() ? root() : element(path);
}

void cls_Config::showMissingNodeBox() const
{
    m_sink->show(MessageIcon::Critical, errorBoxText(MissingNodeErrorNumber, missingNodeDescription()));
}

QString cls_Config::GetNodeText(const QString &path) const
{
    const pugi::xml_node node = element(path);
    if (!node)
        return {};
    QByteArray text;
    collectText(node, text);
    return QString::fromUtf8(text);
}

bool cls_Config::SetNodeText(const QString &path, const QString &value)
{
    pugi::xml_node node = element(path);
    if (!node) {
        showMissingNodeBox();
        return false;
    }
    while (node.first_child())
        node.remove_child(node.first_child());
    node.append_child(pugi::node_pcdata).set_value(utf8(value).constData());
    return true;
}

QString cls_Config::GetNodeAttrib(const QString &path, const QString &attrib) const
{
    const pugi::xml_attribute attr = element(path).attribute(utf8(attrib).constData());
    if (!attr) {
        showMissingNodeBox();
        return {};
    }
    return qstr(attr.value());
}

QString cls_Config::value(const QString &path, const QString &attrib, const QString &fallback) const
{
    const pugi::xml_attribute attr = element(path).attribute(utf8(attrib).constData());
    return attr ? qstr(attr.value()) : fallback;
}

int cls_Config::GetNodeAttribNumber(const QString &path, const QString &attrib) const
{
    return numberFromText(GetNodeAttrib(path, attrib));
}

bool cls_Config::SetNodeAttrib(const QString &path, const QString &attrib, const QString &value)
{
    pugi::xml_attribute attr = element(path).attribute(utf8(attrib).constData());
    if (!attr) {
        showMissingNodeBox();
        return false;
    }
    attr.set_value(utf8(value).constData());
    return true;
}

bool cls_Config::XMLSave()
{
    if (m_xmlFile.isEmpty())
        return false;

    // Inside the root the layout is the file's own; the nodes around it (the
    // declaration, comments, the document type) keep a line each.
    ByteWriter writer;
    if (m_encoding == pugi::encoding_utf8) {
        if (m_bom && m_fileEncoding.isEmpty())
            writer.data += "\xEF\xBB\xBF";
        for (const pugi::xml_node &node : m_doc.children()) {
            node.print(writer, "", pugi::format_raw, m_encoding);
            writer.data += '\n';
        }
    } else {
        m_doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration | (m_bom ? pugi::format_write_bom : 0),
                   m_encoding);
    }
    QByteArray bytes = writer.data;
    if (!m_fileEncoding.isEmpty()) {
        // A character the file's encoding lacks is written as a character
        // reference: no text can make a save fail.
        const std::optional<QByteArray> encoded = TextEncoding::convertWithReferences(bytes, m_fileEncoding);
        if (!encoded) {
            m_sink->show(MessageIcon::Critical, QStringLiteral("配置文件保存失败: ") + m_xmlFile
                                                    + QStringLiteral(" (无法以 %1 编码写入)").arg(QString::fromLatin1(m_fileEncoding)));
            return false;
        }
        bytes = *encoded;
    }

    // Written beside the old file and renamed over it, so a crash or a full disk
    // never leaves a half-written configuration behind.
    QSaveFile file(m_xmlFile);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        qCInfo(lcConfig) << "saved" << m_xmlFile;
        return true;
    }
    m_sink->show(MessageIcon::Critical,
                 QStringLiteral("配置文件保存失败: ") + m_xmlFile + QStringLiteral(" (") + file.errorString()
                     + QStringLiteral(")"));
    return false;
}

QList<QHash<QString, QString>> cls_Config::elements(const QString &path, const QString &name) const
{
    QList<QHash<QString, QString>> found;
    const QByteArray wanted = utf8(name);
    for (const pugi::xml_node &child : element(path).children(wanted.constData())) {
        QHash<QString, QString> attributes;
        for (const pugi::xml_attribute &attribute : child.attributes())
            attributes.insert(qstr(attribute.name()), qstr(attribute.value()));
        found << attributes;
    }
    return found;
}

bool cls_Config::setElementAttribute(const QString &path, const QString &name, int index, const QString &attrib,
                                     const QString &value)
{
    const QByteArray wanted = utf8(name);
    int at = 0;
    for (pugi::xml_node child : element(path).children(wanted.constData())) {
        if (at++ != index)
            continue;
        const QByteArray key = utf8(attrib);
        pugi::xml_attribute attribute = child.attribute(key.constData());
        if (!attribute)
            attribute = child.append_attribute(key.constData());
        return attribute.set_value(utf8(value).constData());
    }
    return false;
}

cls_Config::Attributes cls_Config::inOrder(const QHash<QString, QString> &attributes, const QStringList &order)
{
    QStringList names = attributes.keys();
    std::sort(names.begin(), names.end(), [&order](const QString &a, const QString &b) {
        const qsizetype ia = order.contains(a) ? order.indexOf(a) : order.size();
        const qsizetype ib = order.contains(b) ? order.indexOf(b) : order.size();
        return ia != ib ? ia < ib : a < b;
    });
    Attributes ordered;
    for (const QString &name : std::as_const(names))
        ordered.append({name, attributes.value(name)});
    return ordered;
}

bool cls_Config::replaceElements(const QString &path, const QString &name, const QList<Attributes> &elements)
{
    if (!isXmlName(name))
        return false;
    for (const Attributes &attributes : elements) {
        for (const auto &[attrib, value] : attributes) {
            if (!isXmlName(attrib))
                return false;
        }
    }
    pugi::xml_node list = element(path);
    if (!list) {
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString leaf = path.mid(slash + 1);
        pugi::xml_node parent = parentElement(slash < 0 ? QString() : path.left(slash));
        if (!parent || !isXmlName(leaf))
            return false;
        list = parent.append_child(utf8(leaf).constData());
    }
    const QByteArray wanted = utf8(name);
    while (pugi::xml_node old = list.child(wanted.constData()))
        list.remove_child(old);
    for (const Attributes &attributes : elements) {
        pugi::xml_node child = list.append_child(wanted.constData());
        for (const auto &[attrib, value] : attributes)
            child.append_attribute(utf8(attrib).constData()).set_value(utf8(value).constData());
    }
    return true;
}

bool cls_Config::isExist(const QString &parentPath, const QString &name) const
{
    const pugi::xml_node parent = parentElement(parentPath);
    if (!parent || name.isEmpty())
        return false;
    const QByteArray wanted = utf8(name);
    return static_cast<bool>(parent.find_node([&wanted](const pugi::xml_node &node) {
        return node.type() == pugi::node_element && wanted == node.name();
    }));
}

bool cls_Config::CreateNode(const QString &parentPath, const QString &name)
{
    pugi::xml_node parent = parentElement(parentPath);
    if (!parent || !isXmlName(name))
        return false;
    return static_cast<bool>(parent.append_child(utf8(name).constData()));
}

bool cls_Config::isExistAttrib(const QString &path, const QString &attrib) const
{
    return static_cast<bool>(element(path).attribute(utf8(attrib).constData()));
}

bool cls_Config::CreateAttrib(const QString &path, const QString &attrib, const QString &value)
{
    pugi::xml_node node = element(path);
    if (!node || !isXmlName(attrib))
        return false;
    const QByteArray name = utf8(attrib);
    pugi::xml_attribute attr = node.attribute(name.constData());
    if (!attr)
        attr = node.append_attribute(name.constData());
    return attr.set_value(utf8(value).constData());
}

void cls_Config::ApplyStartupRepairs()
{
    namespace P = ConfigPaths;
    if (!isExist(P::Sources, P::HeXunName) && CreateNode(P::Sources, P::HeXunName)) {
        CreateAttrib(P::source(P::HeXunName), P::Checked, P::DefaultHeXunChecked);
        CreateAttrib(P::source(P::HeXunName), P::IntervalTime, P::DefaultHeXunInterval);
    }

    if (!isExist(P::Windows, QStringLiteral("FXBar"))) {
        CreateNode(P::Windows, QStringLiteral("FXBar"));
        CreateAttrib(P::BarWindow, P::Left, P::DefaultBarLeft);
        CreateAttrib(P::BarWindow, P::Top, P::DefaultBarTop);
    }
    if (!isExist(P::Windows, QStringLiteral("FXQuote"))) {
        CreateNode(P::Windows, QStringLiteral("FXQuote"));
        CreateAttrib(P::QuoteWindow, P::Left, P::DefaultQuoteLeft);
        CreateAttrib(P::QuoteWindow, P::Top, P::DefaultQuoteTop);
        CreateAttrib(P::QuoteWindow, P::FixedWidth, P::DefaultQuoteFixedWidth);
        CreateAttrib(P::QuoteWindow, P::Status, P::DefaultQuoteStatus);
    }

    if (!isExistAttrib(P::calendarDay(1), P::Event)) {
        for (int day = 1; day <= 5; ++day)
            CreateAttrib(P::calendarDay(day), P::Event, QString());
    }
}

void cls_Config::RepairLiveUpdateSetting()
{
    // An element LiveUpdate without the attribute gets a second, empty sibling
    // while the attribute lands on the first one; older files rely on nothing
    // else, and a later save keeps both.
    if (!isExistAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked)) {
        CreateNode(ConfigPaths::Settings, QStringLiteral("LiveUpdate"));
        CreateAttrib(ConfigPaths::LiveUpdate, ConfigPaths::Checked, ConfigPaths::DefaultLiveUpdateChecked);
    }
}
