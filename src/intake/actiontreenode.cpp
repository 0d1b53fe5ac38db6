#include "intake/actiontreenode.h"

ActionTreeNode::ActionTreeNode(RepresentedObject object)
    : m_object(std::move(object))
{
}

ActionTreeNode *ActionTreeNode::appendChild(RepresentedObject object)
{
    m_children.push_back(std::make_unique<ActionTreeNode>(std::move(object)));
    return m_children.back().get();
}
