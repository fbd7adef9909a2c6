#pragma once

#include <QLoggingCategory>

// The program's diagnostics, off by default; switch them on with
// QT_LOGGING_RULES="tessaly.*.info=true". Each logs with qCInfo.
Q_DECLARE_LOGGING_CATEGORY(lcPage)   // tessaly.page: page messages, missing elements, page console
Q_DECLARE_LOGGING_CATEGORY(lcWorker) // tessaly.worker: the worker server's starts, ends and restarts
Q_DECLARE_LOGGING_CATEGORY(lcNews)   // tessaly.news: fetch scheduling
Q_DECLARE_LOGGING_CATEGORY(lcConfig) // tessaly.config: loading and saving tavrin.xml
Q_DECLARE_LOGGING_CATEGORY(lcSchedule) // tessaly.schedule: due tasks without a job
Q_DECLARE_LOGGING_CATEGORY(lcCalendar) // tessaly.calendar: pages kept out of the stored week, result polling
Q_DECLARE_LOGGING_CATEGORY(lcMemory) // tessaly.memory: memory handed back to the system
Q_DECLARE_LOGGING_CATEGORY(lcQuotes) // tessaly.quotes: the broker's page: navigations refused, starts given up
Q_DECLARE_LOGGING_CATEGORY(lcUpdate) // tessaly.update: what the product site's descriptor said, why a download failed
Q_DECLARE_LOGGING_CATEGORY(lcSettings) // tessaly.settings: what the settings dialog stored
Q_DECLARE_LOGGING_CATEGORY(lcNotify) // tessaly.notify: notifications shown, held back over a full-screen window
