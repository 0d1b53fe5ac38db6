#pragma once

#include <QAbstractListModel>

#include <memory>

class CustomUrl;

// The URL templates of one custom-URL action, one row each, edited in place. An edit that
// leaves a row empty is refused; any other is stored and saved at once.
class CustomUrlListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setUrls(const QList<std::shared_ptr<CustomUrl>> &urls);
    void append(const std::shared_ptr<CustomUrl> &url);
    std::shared_ptr<CustomUrl> takeAt(int row);
    std::shared_ptr<CustomUrl> urlAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    void emptyRefused();

private:
    QList<std::shared_ptr<CustomUrl>> m_urls;
};
