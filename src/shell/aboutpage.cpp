#include "shell/aboutpage.h"

#include "platform/settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

AboutPage::AboutPage(QWidget *parent)
    : QWidget(parent)
    , m_version(new QLabel(qtTrId("currentVersion").arg(QCoreApplication::applicationVersion())))
    , m_notices(new QTextBrowser)
{
    setObjectName(QStringLiteral("about"));
    auto *icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(72, 72));
    icon->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(QStringLiteral("Korvane"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *summary = new QLabel(qtTrId("aboutSummary"));
    summary->setWordWrap(true);
    const QString link = projectUrl().toHtmlEscaped();
    auto *home = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(link, qtTrId("aboutHomePage")));
    home->setOpenExternalLinks(true);
    home->setToolTip(projectUrl());
    auto *licence = new QLabel(qtTrId("aboutLicence"));
    licence->setWordWrap(true);

    m_notices->setOpenExternalLinks(true);
    m_notices->setFrameShape(QFrame::StyledPanel);
    m_notices->setHtml(qtTrId("aboutThirdParty"));

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(name);
    texts->addWidget(m_version);
    texts->addWidget(summary);
    texts->addWidget(licence);
    texts->addWidget(home);
    texts->addSpacing(6);
    texts->addWidget(m_notices, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(20);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
}

QString AboutPage::projectUrl()
{
    return Korvane::Settings::aboutProjectUrl.read();
}
