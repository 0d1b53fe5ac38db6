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
    using RepresentedObject = std::variant<QString, ActionTypeModel, ActionModel>;

    explicit ActionTreeNode(RepresentedObject object);

    const RepresentedObject &representedObject() const { return m_object; }
    const std::vector<std::unique_ptr<ActionTreeNode>> &children() const { return m_children; }
    ActionTreeNode *appendChild(RepresentedObject object);

private:
    RepresentedObject m_object;
    std::vector<std::unique_ptr<ActionTreeNode>> m_children;
};
