#include "shell/editor/customurllistmodel.h"

#include "store/customurl.h"
#include "store/actionstore.h"

namespace {

// Rows show the start of a long template; the editor gets all of it.
constexpr int kShownLength = 512;

} // namespace

void CustomUrlListModel::setUrls(const QList<std::shared_ptr<CustomUrl>> &urls)
{
    beginResetModel();
    m_urls = urls;
    endResetModel();
}

void CustomUrlListModel::append(const std::shared_ptr<CustomUrl> &url)
{
    beginInsertRows(QModelIndex(), int(m_urls.size()), int(m_urls.size()));
    m_urls.append(url);
    endInsertRows();
}

std::shared_ptr<CustomUrl> CustomUrlListModel::takeAt(int row)
{
    if (row < 0 || row >= m_urls.size())
        return nullptr;
    beginRemoveRows(QModelIndex(), row, row);
    auto url = m_urls.takeAt(row);
    endRemoveRows();
    return url;
}

std::shared_ptr<CustomUrl> CustomUrlListModel::urlAt(int row) const
{
    return row >= 0 && row < m_urls.size() ? m_urls.at(row) : nullptr;
}

int CustomUrlListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_urls.size());
}

QVariant CustomUrlListModel::data(const QModelIndex &index, int role) const
{
    const auto url = urlAt(index.row());
    if (!url)
        return QVariant();
    if (role == Qt::EditRole)
        return url->url();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const QString text = url->url();
        return text.size() > kShownLength ? text.left(kShownLength) + QChar(0x2026) : text;
    }
    return QVariant();
}

bool CustomUrlListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const auto url = urlAt(index.row());
    if (!url || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (text.trimmed().isEmpty()) {
        Q_EMIT emptyRefused();
        return false;
    }
    if (text != url->url()) {
        url->setUrl(text);
        ActionStore::instance()->saveDataChange();
        Q_EMIT dataChanged(index, index);
    }
    return true;
}

Qt::ItemFlags CustomUrlListModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}
