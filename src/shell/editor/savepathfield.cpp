#include "shell/editor/savepathfield.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

SavePathField::SavePathField(QWidget *parent)
    : QWidget(parent)
    , m_display(new QLineEdit(this))
    , m_chooseButton(new QPushButton(qtTrId("chooseFolder"), this))
    , m_problem(new QLabel(this))
{
    m_display->setReadOnly(true);
    m_display->setPlaceholderText(qtTrId("savePathBesideSource"));
    m_chooseButton->setToolTip(qtTrId("chooseFolderTip"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #d93025;"));
    m_problem->hide();
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->addWidget(m_display, 0, 0);
    layout->addWidget(m_chooseButton, 0, 1);
    layout->addWidget(m_problem, 1, 0, 1, 2);
    connect(m_chooseButton, &QPushButton::clicked, this, &SavePathField::openChooser);
}

void SavePathField::setPath(const QString &path)
{
    m_path = path;
    showPath();
}

bool SavePathField::isMissing() const
{
    return !m_path.isEmpty() && !QFileInfo(expanded(m_path)).isDir();
}

void SavePathField::showPath()
{
    m_display->setText(m_path);
    const bool missing = isMissing();
    m_display->setStyleSheet(missing ? QStringLiteral("color: #d93025;") : QString());
    m_display->setToolTip(missing ? qtTrId("savePathMissing") : expanded(m_path));
    m_problem->setText(qtTrId("savePathMissing"));
    m_problem->setVisible(missing);
}

QString SavePathField::folderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return qtTrId("folderDoesNotExist").arg(folder);
    if (!info.isDir())
        return qtTrId("folderIsAFile").arg(folder);
    if (!info.isWritable())
        return qtTrId("folderNotWritable").arg(folder);
    return QString();
}

QString SavePathField::storedForm(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QString home = QDir::cleanPath(QDir::homePath());
    if (clean == home)
        return QStringLiteral("~");
    if (clean.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + clean.mid(home.size());
    return clean;
}

QString SavePathField::expanded(const QString &stored)
{
    if (stored == QLatin1String("~"))
        return QDir::homePath();
    if (stored.startsWith(QLatin1String("~/")))
        return QDir::homePath() + stored.mid(1);
    return stored;
}

bool SavePathField::choose(const QString &folder)
{
    const QString problem = folderProblem(folder);
    if (!problem.isEmpty()) {
        if (isVisible())
            QMessageBox::warning(this, qtTrId("chooseFolder"), problem);
        return false;
    }
    setPath(storedForm(folder));
    Q_EMIT pathChosen(m_path);
    return true;
}

void SavePathField::openChooser()
{
    QString start = expanded(m_path);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    // A folder typed into the dialog need not exist; choose() refuses it then.
    const QString folder = QFileDialog::getExistingDirectory(this, qtTrId("chooseFolderTitle"), start);
    if (!folder.isEmpty())
        choose(folder);
}
