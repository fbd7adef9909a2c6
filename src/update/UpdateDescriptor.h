#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The product site's "update.xml": the newest version and where it is, and
// the switches of the main window's adverts. Every element is optional.
struct UpdateDescriptor
{
    QString url;       // the page for a manual download
    QString version;
    QString download;  // the new program file
    QString sha256;    // its SHA-256 in hex, when the site gives it
    QString signature; // its Ed25519 signature, base64
    std::optional<double> isAdvert;
    std::optional<double> fxarkIsAdvert;
    QString fxarkAdvertUrl;

    // Nothing when the text is not a well-formed document.
    static std::optional<UpdateDescriptor> parse(const QByteArray &xml);
};
