#pragma once

#include "shell/editor/formsettingspanel.h"

#include <QLineEdit>
#include <QPointer>

class CustomUrlListModel;
class QLabel;
class QListView;
class QPushButton;
class QToolButton;

// The custom URL action: its list of URL templates, added, deleted and edited in place, with
// "{text}" inserted at the caret and templates taken from the library of search sites.
class CustomUrlPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit CustomUrlPanel(QWidget *parent = nullptr);

    QListView *urlList() const { return m_list; }
    CustomUrlListModel *urlModel() const { return m_model; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    QPushButton *insertButton() const { return m_insertButton; }
    QToolButton *libraryButton() const { return m_libraryButton; }
    // The field editing a row, while one is open.
    QLineEdit *openEditor() const { return m_editor; }

    void addUrl();
    void deleteSelectedUrl();
    void insertTextPlaceholder();

private:
    void addLibraryUrl(const QString &url);
    void selectRow(int row);

    CustomUrlListModel *m_model;
    QListView *m_list;
    QLabel *m_problem;
    QPushButton *m_addButton;
    QPushButton *m_deleteButton;
    QPushButton *m_insertButton;
    QToolButton *m_libraryButton;
    QPointer<QLineEdit> m_editor;
};
