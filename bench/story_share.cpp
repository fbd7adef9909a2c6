// The share of all-news rows that folding stories saves: reads items as JSON
// lines ({"time", "source", "title"}, in time order) from each file named,
// folds them as the all-news table does and prints how many rows are left;
// with -v, each folded item beside the story it joined.
//   story_share [-v] FILE...
#include "news/StoryFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList files = app.arguments().mid(1);
    const bool verbose = files.removeAll(QStringLiteral("-v")) > 0;
    if (files.isEmpty()) {
        std::fputs("usage: story_share [-v] FILE...\n", stderr);
        return 2;
    }
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "story_share: cannot read %s\n", qPrintable(path));
            return 1;
        }
        StoryFolder folder;
        QHash<int, QString> titles; // a story's first title
        int items = 0;
        int folded = 0;
        while (!file.atEnd()) {
            const QJsonObject item = QJsonDocument::fromJson(file.readLine()).object();
            if (item.isEmpty())
                continue;
            const QDateTime at = QDateTime::fromString(item.value(QStringLiteral("time")).toString(), Qt::ISODate);
            ++items;
            const QString title = item.value(QStringLiteral("title")).toString();
            titles.insert(items, title);
            if (const auto story = folder.fold(items, title, item.value(QStringLiteral("source")).toString(), at)) {
                ++folded;
                if (verbose)
                    out << "  " << title << "  =  " << titles.value(story->id) << '\n';
            }
        }
        out << path << ": " << items << " items, " << folded << " folded into stories shown already ("
            << QString::number(items > 0 ? 100.0 * folded / items : 0.0, 'f', 1) << " % of all-news rows saved)\n";
    }
    return 0;
}
