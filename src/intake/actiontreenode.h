#pragma once

#include "intake/actionmodel.h"
#include "intake/actiontypemodel.h"

#include <QString>

#include <memory>
#include <variant>
#include <vector>

// A node of the editor's catalog trees: the root holds a string, groups an
// ActionTypeModel, leaves an ActionModel.
class ActionTreeNode final
{
public:
    using Value = std::variant<QString, ActionTypeModel, ActionModel>;

    explicit ActionTreeNode(Value value);

    const Value &value() const { return m_value; }
    const std::vector<std::unique_ptr<ActionTreeNode>> &children() const { return m_children; }
    ActionTreeNode *appendChild(Value value);

private:
    Value m_value;
    std::vector<std::unique_ptr<ActionTreeNode>> m_children;
};
