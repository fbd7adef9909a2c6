#include "pages/Pages.h"

#include <QtGlobal>

static void registerPages()
{
    Q_INIT_RESOURCE(pages);
}

namespace Pages {

void initResources()
{
    registerPages();
}

} // namespace Pages
