#include "actions/actionslogging.h"

Q_LOGGING_CATEGORY(lcChinese, "korvane.actions.chinese", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFiles, "korvane.actions.files", QtWarningMsg)
Q_LOGGING_CATEGORY(lcImageActions, "korvane.actions.images", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOcr, "korvane.actions.ocr", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShare, "korvane.actions.share", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTextActions, "korvane.actions.text", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpload, "korvane.actions.upload", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlugins, "korvane.plugins", QtWarningMsg)
