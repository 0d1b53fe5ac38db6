#include "shell/editor/formsettingspanel.h"

#include "store/droplistentity.h"
#include "shell/shortcutbindingreporter.h"
#include "store/actionstore.h"
#include "shell/keycombinationedit.h"
#include "shortcuts/globalshortcutregistry.h"
#include "shell/shelllogging.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

FormSettingsPanel::FormSettingsPanel(QWidget *parent)
    : SettingsPanel(parent)
    , m_form(new QFormLayout)
    , m_titleField(new QLineEdit(this))
    , m_titleProblem(new QLabel(this))
    , m_hotKeyButton(new QPushButton(qtTrId("recordHotKey"), this))
    , m_hotKeyField(new KeyCombinationEdit(this))
    , m_hotKeyProblem(new QLabel(this))
{
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Where a field does not fit beside its label it goes below it, so a panel stays as narrow
    // as the editor's column whatever the language.
    m_form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    m_form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_form->setHorizontalSpacing(12);
    m_form->setVerticalSpacing(10);

    m_titleField->setToolTip(qtTrId("panelNameTip"));
    m_titleField->installEventFilter(this);
    m_titleProblem->setText(qtTrId("panelNameEmpty"));
    m_titleProblem->setStyleSheet(QStringLiteral("color: #d93025;"));
    m_titleProblem->setWordWrap(true);
    m_titleProblem->hide();
    auto *titleColumn = new QVBoxLayout;
    titleColumn->setContentsMargins(0, 0, 0, 0);
    titleColumn->setSpacing(4);
    titleColumn->addWidget(m_titleField);
    titleColumn->addWidget(m_titleProblem);
    m_form->addRow(qtTrId("panelName"), titleColumn);

    m_hotKeyButton->setToolTip(qtTrId("recordHotKeyTip"));
    m_hotKeyField->installEventFilter(this);
    auto *hotKeyRow = new QHBoxLayout;
    hotKeyRow->setContentsMargins(0, 0, 0, 0);
    hotKeyRow->addWidget(m_hotKeyButton);
    hotKeyRow->addWidget(m_hotKeyField);
    hotKeyRow->addStretch(1);
    m_hotKeyField->setMinimumWidth(160);
    m_hotKeyProblem->setStyleSheet(QStringLiteral("color: #d93025;"));
    m_hotKeyProblem->setWordWrap(true);
    m_hotKeyProblem->hide();
    auto *hotKeyColumn = new QVBoxLayout;
    hotKeyColumn->setContentsMargins(0, 0, 0, 0);
    hotKeyColumn->setSpacing(4);
    hotKeyColumn->addLayout(hotKeyRow);
    hotKeyColumn->addWidget(m_hotKeyProblem);
    m_form->addRow(qtTrId("panelHotKey"), hotKeyColumn);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 20, 20, 20);
    outer->addLayout(m_form);
    outer->addStretch(1);

    connect(m_titleField, &QLineEdit::editingFinished, this, &FormSettingsPanel::titleEditingFinished);
    connect(m_titleField, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!text.trimmed().isEmpty())
            m_titleProblem->hide();
    });
    connect(m_hotKeyButton, &QPushButton::clicked, this, [this] {
        showHotKeyButton(false);
        m_hotKeyField->setFocus(Qt::OtherFocusReason);
    });
    connect(m_hotKeyField, &KeyCombinationEdit::keyRefused, this, [this] { refuseHotKey(qtTrId("hotKeyNeedsModifier")); });
    connect(m_hotKeyField, &KeyCombinationEdit::keyCombinationChanged, this, &FormSettingsPanel::saveHotkey);
    connect(GlobalShortcutRegistry::instance(), &GlobalShortcutRegistry::bindingChanged, this, [this](const QString &name) {
        if (m_drop && m_drop->hasHotKey() && name == GlobalShortcutRegistry::actionShortcutName(*m_drop))
            showHotKeyBinding();
    });
}

void FormSettingsPanel::showHotKeyBinding()
{
    const QKeyCombination keys = m_drop ? m_drop->keyCombination().value_or(QKeyCombination()) : QKeyCombination();
    const auto binding = m_drop ? GlobalShortcutRegistry::instance()->binding(GlobalShortcutRegistry::actionShortcutName(*m_drop)) : GlobalShortcutBackend::Binding();
    const QString warning = keys == QKeyCombination() ? QString() : ShortcutBindingReporter::warning(binding);
    m_hotKeyField->setKeyCombination(keys);
    m_hotKeyField->setText(ShortcutBindingReporter::fieldText(keys, binding));
    m_hotKeyField->setToolTip(warning.isEmpty() ? qtTrId("hotKeyFieldTip") : warning);
    m_hotKeyProblem->setText(warning);
    m_hotKeyProblem->setVisible(!warning.isEmpty());
}

// A panel destroyed with the focus in one of its fields (its window closing) would hear that
// field's focus-out, or its list delegate closing an editor, from the base widget's
// destructor, with its own part already gone. The editor hides a panel before it deletes
// it, which saves a field still being edited.
FormSettingsPanel::~FormSettingsPanel()
{
    const auto children = findChildren<QObject *>();
    for (QObject *child : children)
        child->blockSignals(true);
}

void FormSettingsPanel::setAction(const std::shared_ptr<DropListEntity> &drop)
{
    m_drop = drop;
    if (!m_drop)
        return;
    m_titleField->setText(m_drop->title());
    showHotKeyBinding();
    showHotKeyButton(!m_drop->hasHotKey());
    for (const auto &refresh : m_refreshers)
        refresh();
    showSettings();
}

void FormSettingsPanel::focusTitleField()
{
    m_titleField->setFocus(Qt::OtherFocusReason);
    m_titleField->selectAll();
}

bool FormSettingsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_titleField && event->type() == QEvent::FocusOut && m_drop
        && m_titleField->text().trimmed().isEmpty()) {
        // The name may not be left empty: focus comes back until one is typed. Queued, as
        // the widget taking focus has not got it yet.
        m_titleProblem->show();
        QTimer::singleShot(0, m_titleField, [field = m_titleField] { field->setFocus(Qt::OtherFocusReason); });
    }
    if (watched == m_hotKeyField && event->type() == QEvent::FocusOut && m_drop && !m_drop->hasHotKey())
        showHotKeyButton(true);
    return SettingsPanel::eventFilter(watched, event);
}

void FormSettingsPanel::titleEditingFinished()
{
    if (!m_drop)
        return;
    const QString title = m_titleField->text();
    if (title.trimmed().isEmpty()) {
        m_titleProblem->show();
        return;
    }
    if (title != m_drop->title()) {
        m_drop->setTitle(title);
        ActionStore::instance()->saveDataChange();
        Q_EMIT reloadPreview();
    }
    if (m_titleField->hasFocus())
        QTimer::singleShot(100, m_titleField, [field = m_titleField] { field->clearFocus(); });
}

bool FormSettingsPanel::saveHotkey(QKeyCombination value)
{
    if (!m_drop)
        return false;
    auto *store = ActionStore::instance();
    auto *registry = GlobalShortcutRegistry::instance();
    const QString oldName = GlobalShortcutRegistry::actionShortcutName(*m_drop);

    if (value == QKeyCombination()) {
        registry->unregisterShortcut(oldName);
        m_drop->setKeyCombination(value);
        store->saveDataChange();
        showHotKeyBinding();
        showHotKeyButton(true);
        return true;
    }

    if (m_drop->keyCombination() == value)
        return true;
    if (const auto holder = store->fetchDropWith(value)) {
        refuseHotKey(qtTrId("hotKeyUsedByAction").arg(holder->title()));
        return false;
    }

    const bool hadHotKey = m_drop->hasHotKey();
    const qint32 oldKeyCode = m_drop->keyCode();
    const qint32 oldModifiers = m_drop->modifiers();
    if (hadHotKey)
        registry->unregisterShortcut(oldName);
    m_drop->setKeyCombination(value);
    if (!registry->registerActionShortcut(*m_drop)) {
        qCInfo(lcPanels) << "hotkey held by another program:" << GlobalShortcutRegistry::actionShortcutName(*m_drop);
        m_drop->setKeyCode(oldKeyCode);
        m_drop->setModifiers(oldModifiers);
        if (hadHotKey)
            registry->registerActionShortcut(*m_drop);
        refuseHotKey(qtTrId("hotKeyHeldElsewhere"));
        return false;
    }
    store->saveDataChange();
    showHotKeyBinding();
    m_hotKeyField->clearFocus();
    return true;
}

void FormSettingsPanel::refuseHotKey(const QString &reason)
{
    showHotKeyBinding();
    m_hotKeyField->setToolTip(reason);
    if (m_hotKeyField->isVisible())
        QToolTip::showText(m_hotKeyField->mapToGlobal(QPoint(0, m_hotKeyField->height())), reason, m_hotKeyField);
}

void FormSettingsPanel::showHotKeyButton(bool show)
{
    m_hotKeyButton->setVisible(show);
    m_hotKeyField->setVisible(!show);
}

void FormSettingsPanel::addRow(const QString &label, QWidget *field)
{
    m_form->addRow(label, field);
}

void FormSettingsPanel::addRow(QWidget *field)
{
    m_form->addRow(QString(), field);
}

void FormSettingsPanel::addRow(const QString &label, QLayout *field)
{
    m_form->addRow(label, field);
}

void FormSettingsPanel::addRow(QLayout *field)
{
    m_form->addRow(QString(), field);
}

std::shared_ptr<StoredRecord> FormSettingsPanel::settings() const
{
    return m_drop ? m_drop->settings() : nullptr;
}

QVariant FormSettingsPanel::setting(const QString &attribute) const
{
    const auto record = settings();
    return record ? record->value(attribute) : QVariant();
}

void FormSettingsPanel::saveSetting(const QString &attribute, const QVariant &value)
{
    const auto record = settings();
    if (!record)
        return;
    if (!record->setValue(attribute, value)) {
        qCWarning(lcPanels) << "setting not stored:" << attribute;
        return;
    }
    ActionStore::instance()->saveDataChange();
}

void FormSettingsPanel::addRefresher(const std::function<void()> &refresh)
{
    m_refreshers.push_back(refresh);
}

QCheckBox *FormSettingsPanel::addCheckBox(const QString &text, const QString &attribute, const QString &toolTip)
{
    auto *box = new QCheckBox(text, this);
    box->setToolTip(toolTip);
    addRow(box);
    addRefresher([this, box, attribute] {
        const QSignalBlocker blocker(box);
        box->setChecked(setting(attribute).toBool());
    });
    connect(box, &QCheckBox::toggled, this, [this, attribute](bool checked) { saveSetting(attribute, checked); });
    return box;
}

QComboBox *FormSettingsPanel::addMenu(const QString &label, const QString &attribute, const QStringList &items,
                                      const QString &toolTip)
{
    auto *menu = new QComboBox(this);
    menu->addItems(items);
    menu->setToolTip(toolTip);
    menu->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *row = new QHBoxLayout;
    row->addWidget(menu);
    row->addStretch(1);
    addRow(label, row);
    addRefresher([this, menu, attribute] {
        const QSignalBlocker blocker(menu);
        const int index = setting(attribute).toInt();
        menu->setCurrentIndex(index >= 0 && index < menu->count() ? index : 0);
    });
    connect(menu, &QComboBox::activated, this, [this, attribute](int index) { saveSetting(attribute, index); });
    return menu;
}

QLineEdit *FormSettingsPanel::addTextField(const QString &label, const QString &attribute, const QString &toolTip,
                                           bool secret)
{
    auto *field = new QLineEdit(this);
    field->setToolTip(toolTip);
    if (secret)
        field->setEchoMode(QLineEdit::Password);
    addRow(label, field);
    addRefresher([this, field, attribute] {
        const QSignalBlocker blocker(field);
        field->setText(setting(attribute).toString());
    });
    connect(field, &QLineEdit::editingFinished, this, [this, field, attribute] {
        if (setting(attribute).toString() != field->text())
            saveSetting(attribute, field->text());
    });
    return field;
}
