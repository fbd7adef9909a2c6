#include "update/SystemNotice.h"

#include <pugixml.hpp>

QString SystemNotice::text(const QByteArray &xml)
{
    pugi::xml_document document;
    if (!document.load_buffer(xml.constData(), static_cast<size_t>(xml.size())))
        return {};
    return QString::fromUtf8(document.document_element().child("SysTip").child_value()).trimmed();
}
