#pragma once

#include <QString>

// The frames the main page shows pages of other sites in, each built here
// and nowhere else. An address that is not http or https gives no frame (an
// empty text); the address is escaped for the attribute. The frames are
// sandboxed: their pages may run scripts and open windows on a click, but
// never move our page, raise dialogs or start downloads.
namespace SideFrames {

QString productAdvert(const QString &address);
// The FXark advert, 435 pixels high alone, 275 below the product's.
QString fxarkAdvert(const QString &address, int height);
// A hidden frame on a page of the product site: the one kept alive, and the
// one that counts a visit of a tab's page.
QString hiddenPage(const QString &address);
// The "精品推荐" panel's page.
QString fxAsk(const QString &address);

} // namespace SideFrames
