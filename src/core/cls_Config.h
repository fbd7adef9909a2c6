#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <utility>
#include <pugixml.hpp>
#include <vector>

class MessageSink;

// The configuration store over "tavrin.xml": one XML document loaded at start-up,
// read and changed in memory through slash paths relative to the root element
// `App` (first match wins), and written back whole only by XMLSave. Features
// that read settings observe `changed` rather than being told by hand.
class cls_Config : public QObject
{
    Q_OBJECT

public:
    // Error number and text shown when a path names no element or attribute.
    static constexpr int MissingNodeErrorNumber = 91;
    static QString missingNodeDescription();
    static QString errorBoxText(int number, const QString &description);

    explicit cls_Config(MessageSink *sink = nullptr);

    void setMessageSink(MessageSink *sink);
    void setXmlFile(const QString &path) { m_xmlFile = path; }
    QString XmlFile() const { return m_xmlFile; }

    bool Initialize();
    bool OK() const { return m_ok; }
    bool Error() const { return m_error; }

    QString GetNodeText(const QString &path) const;
    bool SetNodeText(const QString &path, const QString &value);
    QString GetNodeAttrib(const QString &path, const QString &attrib) const;
    // A setting that may be absent: the attribute as stored, or `fallback`
    // (its default) when the element or the attribute is not there; no box.
    QString value(const QString &path, const QString &attrib, const QString &fallback = {}) const;
    int GetNodeAttribNumber(const QString &path, const QString &attrib) const;
    bool SetNodeAttrib(const QString &path, const QString &attrib, const QString &value);
    bool XMLSave();

    bool isExist(const QString &parentPath, const QString &name) const;
    bool CreateNode(const QString &parentPath, const QString &name);
    bool isExistAttrib(const QString &path, const QString &attrib) const;
    bool CreateAttrib(const QString &path, const QString &attrib, const QString &value);

    // Adds what older files lack, in a fixed order; the file is not saved.
    // The update-check setting is repaired last, once the main window is up.
    void ApplyStartupRepairs();
    void RepairLiveUpdateSetting();

    // The attributes of every child element named `name` of the element at
    // `path` (first match), in document order: the lists the settings hold.
    QList<QHash<QString, QString>> elements(const QString &path, const QString &name) const;
    // Sets an attribute of the index-th of those elements; false when there is no such element.
    bool setElementAttribute(const QString &path, const QString &name, int index, const QString &attrib,
                             const QString &value);
    // An element's attributes in the order they are written.
    using Attributes = QList<std::pair<QString, QString>>;
    // An element's attributes, those named in `order` first in that order, any others after them.
    static Attributes inOrder(const QHash<QString, QString> &attributes, const QStringList &order);
    // Replaces every child element `name` of the element at `path` (made
    // below its parent when missing) by these, in order; false when the
    // path's parent is missing or a name is no XML name.
    bool replaceElements(const QString &path, const QString &name, const QList<Attributes> &elements);

    // The element at a path (first match), for the stores that keep
    // structured data in the file; null when there is none.
    pugi::xml_node node(const QString &path) const { return element(path); }
    MessageSink &messageSink() const { return *m_sink; }

    // The user changed settings below `path` (a settings dialog saved, a
    // menu switched something): those who read them apply them again.
    void tellChanged(const QString &path) { Q_EMIT changed(path); }

Q_SIGNALS:
    void changed(const QString &path);

private:
    pugi::xml_node root() const;
    // The element at a path below the root; an empty path names nothing.
    pugi::xml_node element(const QString &path) const;
    // The same, where an empty path names the root (existence, node creation).
    pugi::xml_node parentElement(const QString &path) const;
    void showMissingNodeBox() const;
    QString parseErrorText(const pugi::xml_parse_result &result, const QByteArray &data) const;

    MessageSink *m_sink;
    QString m_xmlFile;
    bool m_ok = false;
    bool m_error = false;
    pugi::xml_document m_doc;
    pugi::xml_encoding m_encoding = pugi::encoding_utf8;
    QByteArray m_fileEncoding; // the non-Unicode encoding the file is read and written in, empty otherwise
    bool m_bom = false;        // the file starts with a byte-order mark, and keeps it
};
