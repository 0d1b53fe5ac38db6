#include "net/netlogging.h"

Q_LOGGING_CATEGORY(lcNetwork, "korvane.net", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApi, "korvane.net.api", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOss, "korvane.net.oss", QtWarningMsg)
Q_LOGGING_CATEGORY(lcQiniu, "korvane.net.qiniu", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCosSign, "korvane.net.sign", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpClient, "korvane.net.upclient", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpdate, "korvane.net.update", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUploadReply, "korvane.net.upload", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUpYun, "korvane.net.upyun", QtWarningMsg)
