#pragma once

#include <QWidget>

class QLabel;
class QTextBrowser;

// The about page: name, version, licence, the project's page, and the licences of the data
// and libraries Korvane ships with.
class AboutPage final : public QWidget
{
    Q_OBJECT

public:
    explicit AboutPage(QWidget *parent = nullptr);

    static QString projectUrl();
    QLabel *versionLabel() const { return m_version; }

private:
    QLabel *m_version;
    QTextBrowser *m_notices;
};
