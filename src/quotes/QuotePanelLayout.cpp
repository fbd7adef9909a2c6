#include "quotes/QuotePanelLayout.h"

#include <algorithm>

namespace QuotePanelLayout {

int columns(int clientWidth)
{
    int n = clientWidth / ColumnWidth;
    if (clientWidth % ColumnWidth >= ColumnWidth / 2)
        ++n;
    return std::clamp(n, 1, MaxColumns);
}

} // namespace QuotePanelLayout
