#pragma once

#include <QString>

#include <memory>

class ActionTreeNode;

// A group heading of the editor's catalog trees.
class ActionTypeModel final
{
public:
    explicit ActionTypeModel(const QString &title);

    QString titleString() const { return m_titleString; }
    void setTitleString(const QString &title) { m_titleString = title; }

    // Each call builds a fresh tree with freshly localised titles.
    static std::unique_ptr<ActionTreeNode> getTextTypeRootTree();
    static std::unique_ptr<ActionTreeNode> getFileTypeRootTree();

private:
    QString m_titleString;
};
