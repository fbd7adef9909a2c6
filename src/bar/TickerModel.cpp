#include "bar/TickerModel.h"

TickerModel::Shown TickerModel::add(const NewsRow &row)
{
    if (m_items.size() >= MaxItems)
        m_items.removeFirst();
    m_items.append(row);
    m_current = m_items.size();
    return shown();
}

TickerModel::Shown TickerModel::rotate()
{
    if (m_items.isEmpty())
        return {};
    if (--m_current <= 0)
        m_current = m_items.size();
    return shown();
}

TickerModel::Shown TickerModel::shown() const
{
    return {m_items.at(m_current - 1), m_current == m_items.size()};
}
