#include "NewsSources.h"

#include "cls_Config.h"

namespace NewsSources {

QList<NewsSource> all(const cls_Config &config)
{
    QList<NewsSource> sources{
        {100, QStringLiteral("FXark"), QStringLiteral("iFXark"), QStringLiteral("FXARK现场直播"), QStringLiteral("iFXarkNews_Table"),
         QStringLiteral("<B STYLE='color:#009900'> - FXARK</B>"), QStringLiteral("http://www.fxark.com/PageForNews.aspx"),
         QStringLiteral("http://www.fxark.com/")},
        {101, QStringLiteral("FX168"), QStringLiteral("iFX168"), QStringLiteral("FX168汇市讯息"), QStringLiteral("iFX168News_Table"),
         QStringLiteral("<B STYLE='color:#FF0000'> - FX168</B>"), QStringLiteral("http://www.fx168.com/fxnews/news_now_html.html"),
         QStringLiteral("http://www.fx168.com/")},
        {102, QStringLiteral("FX678"), QStringLiteral("iFX678"), QStringLiteral("汇通网外汇新闻"), QStringLiteral("iFX678News_Table"),
         QStringLiteral("<B STYLE='color:#0000BB'> - 汇通网</B>"), QStringLiteral("http://www.fx678.com/news/forex/index.html"),
         QStringLiteral("http://www.fx678.com/")},
        {103, QStringLiteral("DailyFX"), QStringLiteral("iDailyfx"), QStringLiteral("DailyFX财经市况"), QStringLiteral("iDailyFXNews_Table"),
         QStringLiteral("<B STYLE='color:#FF9900'> - DailyFX</B>"), QStringLiteral("http://www.dailyfx.com.hk/news/"),
         QStringLiteral("http://www.dailyfx.com.hk/")},
        {104, QStringLiteral("HeXun"), QStringLiteral("iHeXun"), QStringLiteral("和讯网外汇分析"), QStringLiteral("iHeXunNews_Table"),
         QStringLiteral("<B STYLE='color:#AA00BB'> - 和讯</B>"), QStringLiteral("http://forex.hexun.com/analysis/"),
         QStringLiteral("http://forex.hexun.com/")},
        {105, QStringLiteral("CaiXun"), QStringLiteral("iCaiXun"), QStringLiteral("财讯汇市动态"), QStringLiteral("iCaiXunNews_Table"),
         QStringLiteral("<B STYLE='color:#FFCC00'> - 财讯</B>"), QStringLiteral("http://forex.caixun.com/information/"),
         QStringLiteral("http://forex.caixun.com/")},
    };
    for (NewsSource &source : sources) {
        const QString path = QStringLiteral("Settings/Tavrin/Source/") + source.name;
        if (config.isExistAttrib(path, QStringLiteral("Url")))
            source.url = config.GetNodeAttrib(path, QStringLiteral("Url"));
        if (config.isExistAttrib(path, QStringLiteral("Home")))
            source.home = config.GetNodeAttrib(path, QStringLiteral("Home"));
    }
    return sources;
}

QList<int> scheduleOrder()
{
    return {100, 101, 103, 105, 102, 104};
}

} // namespace NewsSources
