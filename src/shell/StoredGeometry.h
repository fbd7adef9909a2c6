#pragma once

#include <QRect>

class cls_Config;

// The main window's place and size as the configuration keeps them
// (Window/Tavrin_Main: Left, Top, Width, Height).
class StoredGeometry
{
public:
    static QRect load(const cls_Config &config);
    static void save(cls_Config &config, const QRect &rect);
};
