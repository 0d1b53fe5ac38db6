#include "intake/actiontreenode.h"

ActionTreeNode::ActionTreeNode(Value value)
    : m_value(std::move(value))
{
}

ActionTreeNode *ActionTreeNode::appendChild(Value value)
{
    m_children.push_back(std::make_unique<ActionTreeNode>(std::move(value)));
    return m_children.back().get();
}
