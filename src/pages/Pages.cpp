#include "pages/Pages.h"

#include <QtGlobal>

static void registerPages()
{
    Q_INIT_RESOURCE(pages);
    Q_INIT_RESOURCE(jquery);
}

namespace Pages {

void initResources()
{
    registerPages();
}

} // namespace Pages
