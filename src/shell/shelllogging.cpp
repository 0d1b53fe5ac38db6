#include "shell/shelllogging.h"

Q_LOGGING_CATEGORY(lcPanels, "korvane.panels", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShell, "korvane.shell", QtInfoMsg)
Q_LOGGING_CATEGORY(lcEditor, "korvane.shell.editor", QtInfoMsg)
Q_LOGGING_CATEGORY(lcGeneral, "korvane.shell.general", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBindings, "korvane.shell.hotkeys", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUpdateView, "korvane.shell.update", QtWarningMsg)
