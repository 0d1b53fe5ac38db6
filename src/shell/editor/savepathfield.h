#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// A folder setting: shows the stored path ("~/Pictures" for a folder in the home folder), in
// red when the folder has disappeared, and lets the user choose another one.
class SavePathField final : public QWidget
{
    Q_OBJECT

public:
    explicit SavePathField(QWidget *parent = nullptr);

    // The path as stored: home-relative ("~/…") when inside the home folder.
    QString path() const { return m_path; }
    void setPath(const QString &path);
    bool isMissing() const;

    // Checks a chosen folder and stores it; false with a message when it cannot serve.
    bool choose(const QString &folder);

    // Why a folder cannot take files, or empty when it can.
    static QString folderProblem(const QString &folder);
    static QString storedForm(const QString &folder);
    static QString expanded(const QString &stored);

Q_SIGNALS:
    void pathChosen(const QString &storedPath);

private:
    void openChooser();
    void showPath();

    QString m_path;
    QLineEdit *m_display;
    QPushButton *m_chooseButton;
    QLabel *m_problem;
};
