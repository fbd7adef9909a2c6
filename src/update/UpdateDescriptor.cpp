#include "update/UpdateDescriptor.h"

#include <pugixml.hpp>

namespace {

QString childText(const pugi::xml_node &root, const char *name)
{
    return QString::fromUtf8(root.child(name).child_value()).trimmed();
}

std::optional<double> childNumber(const pugi::xml_node &root, const char *name)
{
    if (!root.child(name))
        return std::nullopt;
    bool ok = false;
    const double value = childText(root, name).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

std::optional<UpdateDescriptor> UpdateDescriptor::parse(const QByteArray &xml)
{
    pugi::xml_document document;
    // pugixml knows no document type entities, so the text cannot grow while read.
    if (!document.load_buffer(xml.constData(), static_cast<size_t>(xml.size())))
        return std::nullopt;
    const pugi::xml_node root = document.document_element();
    if (!root)
        return std::nullopt;
    UpdateDescriptor descriptor;
    descriptor.url = childText(root, "URL");
    descriptor.version = childText(root, "Version");
    descriptor.download = childText(root, "Download");
    descriptor.sha256 = childText(root, "SHA256").toLower();
    descriptor.signature = childText(root, "Signature");
    descriptor.isAdvert = childNumber(root, "isAdvert");
    descriptor.fxarkIsAdvert = childNumber(root, "FxarkIsAdvert");
    descriptor.fxarkAdvertUrl = childText(root, "FxarkAdvertUrl");
    return descriptor;
}
