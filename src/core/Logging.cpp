#include "core/Logging.h"

Q_LOGGING_CATEGORY(lcPage, "tessaly.page", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWorker, "tessaly.worker", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNews, "tessaly.news", QtWarningMsg)
Q_LOGGING_CATEGORY(lcConfig, "tessaly.config", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSchedule, "tessaly.schedule", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCalendar, "tessaly.calendar", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMemory, "tessaly.memory", QtWarningMsg)
Q_LOGGING_CATEGORY(lcQuotes, "tessaly.quotes", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpdate, "tessaly.update", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "tessaly.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNotify, "tessaly.notify", QtWarningMsg)
