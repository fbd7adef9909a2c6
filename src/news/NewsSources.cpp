#include "news/NewsSources.h"

#include "core/ConfigPaths.h"
#include "core/cls_Config.h"
#include "protocol/SourceId.h"

namespace NewsSources {

QList<NewsSource> all(const cls_Config &config)
{
    QList<NewsSource> sources{
        {s_FXark, SourceId::name(s_FXark), QStringLiteral("iFXark"), QStringLiteral("FXark"), QStringLiteral("FXARK现场直播"),
         QStringLiteral("iFXarkNews"), QStringLiteral("iFXarkNews_Table"), QStringLiteral(" - FXARK"), QStringLiteral("FXark.htm"),
         QStringLiteral("http://www.fxark.com/PageForNews.aspx"), QStringLiteral("http://www.fxark.com/"), true, false},
        {s_FX168, SourceId::name(s_FX168), QStringLiteral("iFX168"), QStringLiteral("FX168"), QStringLiteral("FX168汇市讯息"),
         QStringLiteral("iFX168News"), QStringLiteral("iFX168News_Table"), QStringLiteral(" - FX168"), QStringLiteral("FX168.htm"),
         QStringLiteral("http://www.fx168.com/fxnews/news_now_html.html"), QStringLiteral("http://www.fx168.com/"), true, false},
        {s_Dailyfx, SourceId::name(s_Dailyfx), QStringLiteral("iDailyfx"), QStringLiteral("DailyFX"),
         QStringLiteral("DailyFX财经市况"), QStringLiteral("iDailyFXNews"), QStringLiteral("iDailyFXNews_Table"),
         QStringLiteral(" - DailyFX"), QStringLiteral("Dailyfx.htm"), QStringLiteral("http://www.dailyfx.com.hk/news/"),
         QStringLiteral("http://www.dailyfx.com.hk/"), true, true},
        {s_CaiXun, SourceId::name(s_CaiXun), QStringLiteral("iCaiXun"), QStringLiteral("财讯"), QStringLiteral("财讯汇市动态"),
         QStringLiteral("iCaiXunNews"), QStringLiteral("iCaiXunNews_Table"), QStringLiteral(" - 财讯"), QStringLiteral("CaiXun.htm"),
         QStringLiteral("http://forex.caixun.com/information/"), QStringLiteral("http://forex.caixun.com/"), false, false},
        {s_FX678, SourceId::name(s_FX678), QStringLiteral("iFX678"), QStringLiteral("汇通网"), QStringLiteral("汇通网外汇新闻"),
         QStringLiteral("iFX678News"), QStringLiteral("iFX678News_Table"), QStringLiteral(" - 汇通网"), QStringLiteral("FX678.htm"),
         QStringLiteral("http://www.fx678.com/news/forex/index.html"), QStringLiteral("http://www.fx678.com/"), true, false},
        {s_HeXun, SourceId::name(s_HeXun), QStringLiteral("iHeXun"), QStringLiteral("和讯"), QStringLiteral("和讯网外汇分析"),
         QStringLiteral("iHeXunNews"), QStringLiteral("iHeXunNews_Table"), QStringLiteral(" - 和讯"), QStringLiteral("HeXun.htm"),
         QStringLiteral("http://forex.hexun.com/analysis/"), QStringLiteral("http://forex.hexun.com/"), true, false},
    };
    for (NewsSource &source : sources) {
        const QString path = ConfigPaths::source(source.name);
        if (config.isExistAttrib(path, ConfigPaths::Url))
            source.url = config.GetNodeAttrib(path, ConfigPaths::Url);
        if (config.isExistAttrib(path, ConfigPaths::Home))
            source.home = config.GetNodeAttrib(path, ConfigPaths::Home);
    }
    return sources;
}

} // namespace NewsSources
