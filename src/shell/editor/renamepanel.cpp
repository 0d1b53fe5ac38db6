#include "shell/editor/renamepanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <cstdlib>
#include <limits>

RenamePanel::RenamePanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    m_replace = FormSettingsPanel::addCheckBox(qtTrId("renameReplace"), QStringLiteral("needReplace"),
                                               qtTrId("renameReplaceTip"));
    m_replaceFields = {
        addTextField(qtTrId("renameSearch"), QStringLiteral("relpaceSearchString"), qtTrId("renameSearchTip")),
        addTextField(qtTrId("renameReplaceWith"), QStringLiteral("replaceResultString"), qtTrId("renameReplaceWithTip"))};

    m_add = FormSettingsPanel::addCheckBox(qtTrId("renameAdd"), QStringLiteral("needAdd"), qtTrId("renameAddTip"));
    m_addFields = {addTextField(qtTrId("renameAddText"), QStringLiteral("addString"), qtTrId("renameAddTextTip")),
                   addMenu(qtTrId("renameAddPlace"), QStringLiteral("addPlaceType"),
                           {qtTrId("renameAfterName"), qtTrId("renameBeforeName")}, qtTrId("renameAddPlaceTip"))};

    m_customize = FormSettingsPanel::addCheckBox(qtTrId("renameCustomize"), QStringLiteral("needCustomize"),
                                                 qtTrId("renameCustomizeTip"));
    m_customizeFields = {
        addMenu(qtTrId("renameCustomizeType"), QStringLiteral("customizeType"),
                {qtTrId("renameDateAndSequence"), qtTrId("renameNameAndNumber"), qtTrId("renameNameAndLetter"),
                 qtTrId("renameNumberOnly"), qtTrId("renameLetterOnly")},
                qtTrId("renameCustomizeTypeTip")),
        addMenu(qtTrId("renameCustomizePlace"), QStringLiteral("customizePlaceType"),
                {qtTrId("renameAfterName"), qtTrId("renameBeforeName")}, qtTrId("renameCustomizePlaceTip")),
        addTextField(qtTrId("renameCustomizeString"), QStringLiteral("customizeString"), qtTrId("renameCustomizeStringTip"))};

    // The texts that go into every new name take no "/" and no zero byte, typed or pasted.
    const auto *namePart = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^/\\x{0}]*")), this);
    for (QWidget *field : m_replaceFields + QList<QWidget *>{m_addFields.first(), m_customizeFields.last()})
        qobject_cast<QLineEdit *>(field)->setValidator(namePart);

    m_startNumber = new QLineEdit(this);
    m_startNumber->setValidator(new QIntValidator(-std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                                                  m_startNumber));
    m_startNumber->setToolTip(qtTrId("renameStartNumberTip"));
    m_startNumber->setMaximumWidth(140);
    addRow(qtTrId("renameStartNumber"), m_startNumber);
    m_startLetter = new QLineEdit(this);
    m_startLetter->setToolTip(qtTrId("renameStartLetterTip"));
    m_startLetter->setMaximumWidth(140);
    addRow(qtTrId("renameStartLetter"), m_startLetter);
    m_customizeFields << m_startNumber << m_startLetter;

    addRefresher([this] {
        const QSignalBlocker numberBlocker(m_startNumber);
        const QSignalBlocker letterBlocker(m_startLetter);
        m_startNumber->setText(QString::number(setting(QStringLiteral("customizeStartNumber")).toInt()));
        m_startLetter->setText(setting(QStringLiteral("customizeStartLetter")).toString());
        enableRuleFields();
    });
    for (QCheckBox *box : {m_replace, m_add, m_customize})
        connect(box, &QCheckBox::toggled, this, &RenamePanel::enableRuleFields);

    connect(m_replace, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            setRule(m_customize, QStringLiteral("needCustomize"), false);
    });
    connect(m_add, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            setRule(m_customize, QStringLiteral("needCustomize"), false);
    });
    connect(m_customize, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            setRule(m_replace, QStringLiteral("needReplace"), false);
            setRule(m_add, QStringLiteral("needAdd"), false);
        }
    });
    connect(m_startNumber, &QLineEdit::editingFinished, this, [this] {
        bool ok = false;
        const qint64 typed = m_startNumber->text().toLongLong(&ok);
        const qint32 stored = ok ? qint32(std::min<qint64>(std::llabs(typed), std::numeric_limits<qint32>::max())) : 0;
        saveSetting(QStringLiteral("customizeStartNumber"), stored);
        m_startNumber->setText(QString::number(stored));
    });
    connect(m_startLetter, &QLineEdit::editingFinished, this, [this] {
        const QString stored = storedStartLetter(m_startLetter->text());
        saveSetting(QStringLiteral("customizeStartLetter"), stored);
        m_startLetter->setText(stored);
    });
}

QString RenamePanel::storedStartLetter(const QString &typed)
{
    const QChar first = typed.isEmpty() ? QChar() : typed.at(0);
    const bool letter = (first >= QLatin1Char('a') && first <= QLatin1Char('z'))
        || (first >= QLatin1Char('A') && first <= QLatin1Char('Z'));
    return letter ? QString(first) : QStringLiteral("a");
}

void RenamePanel::enableRuleFields()
{
    for (QWidget *field : std::as_const(m_replaceFields))
        field->setEnabled(m_replace->isChecked());
    for (QWidget *field : std::as_const(m_addFields))
        field->setEnabled(m_add->isChecked());
    for (QWidget *field : std::as_const(m_customizeFields))
        field->setEnabled(m_customize->isChecked());
}

void RenamePanel::setRule(QCheckBox *box, const QString &attribute, bool on)
{
    {
        const QSignalBlocker blocker(box);
        box->setChecked(on);
    }
    saveSetting(attribute, on);
    enableRuleFields();
}
