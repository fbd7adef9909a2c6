#include "shell/StoredGeometry.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"

QRect StoredGeometry::load(const cls_Config &config)
{
    return {config.GetNodeAttribNumber(ConfigPaths::MainWindow, ConfigPaths::Left),
            config.GetNodeAttribNumber(ConfigPaths::MainWindow, ConfigPaths::Top),
            config.GetNodeAttribNumber(ConfigPaths::MainWindow, ConfigPaths::Width),
            config.GetNodeAttribNumber(ConfigPaths::MainWindow, ConfigPaths::Height)};
}

void StoredGeometry::save(cls_Config &config, const QRect &rect)
{
    config.SetNodeAttrib(ConfigPaths::MainWindow, ConfigPaths::Left, QString::number(rect.left()));
    config.SetNodeAttrib(ConfigPaths::MainWindow, ConfigPaths::Top, QString::number(rect.top()));
    config.SetNodeAttrib(ConfigPaths::MainWindow, ConfigPaths::Width, QString::number(rect.width()));
    config.SetNodeAttrib(ConfigPaths::MainWindow, ConfigPaths::Height, QString::number(rect.height()));
}
