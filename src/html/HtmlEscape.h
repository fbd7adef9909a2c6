#pragma once

#include <QString>
#include <QStringView>

// & < > " ' as entities: outside text shown as text, never as markup, inside
// element content and inside quoted attributes alike.
QString htmlEscaped(QStringView text);

// The text that escaped markup stands for: the five entities above and
// numeric character references; anything else stays as it is.
QString htmlUnescaped(QStringView markup);
