#include "worker/ParsePass.h"

#include "worker/PageText.h"

namespace {

QString description(int number)
{
    return number == ParsePass::NoElement ? QStringLiteral("对象变量或 With 块变量未设置")
                                          : QStringLiteral("无效的过程调用或参数");
}

} // namespace

ParsePass::ParsePass(QString parserName, const QString &known)
    : m_parserName(std::move(parserName))
    , m_known(known)
{
}

bool ParsePass::isKnown(const QString &title) const
{
    return PageText::occursIn(m_known, title);
}

void ParsePass::report(const QString &time, const QString &info, const QString &href, const QString &snippet)
{
    m_new = true;
    m_reported.insert(snippet);
    m_snippets.prepend(snippet);
    if (m_snippets.size() > PopupRows)
        m_snippets.removeLast();
    ParseEvent event;
    event.kind = ParseEvent::Msg;
    event.cellTime = time;
    event.cellInfo = info;
    event.href = href;
    event.popup = m_snippets.join(u'~');
    m_events.push_back(std::move(event));
}

HtmlElement ParsePass::require(const HtmlElement &element, int step)
{
    if (element.isNull())
        fail(step, NoElement);
    return element;
}

void ParsePass::fail(int step, int number)
{
    throw Failure{step, number, description(number)};
}

ParseEvents ParsePass::complete()
{
    ParseEvent event;
    event.kind = ParseEvent::Complete;
    event.isNew = m_new;
    m_events.push_back(std::move(event));
    return std::move(m_events);
}

ParseEvents ParsePass::failed(const Failure &failure)
{
    ParseEvent event;
    event.kind = ParseEvent::Error;
    // The FXark parser numbers no steps and names no module.
    event.message = m_parserName.isEmpty()
        ? QStringLiteral("第#0行,\r\n错误码:") + failure.description
        : QStringLiteral("发生错误在模块[") + m_parserName + QStringLiteral("]第#") + QString::number(failure.step)
            + QStringLiteral("行,\r\n错误码:") + QString::number(failure.number);
    m_events.push_back(std::move(event));
    return std::move(m_events);
}
