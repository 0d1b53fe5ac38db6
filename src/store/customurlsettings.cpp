#include "store/customurlsettings.h"

#include "store/storecontext.h"

#include <algorithm>

QList<std::shared_ptr<CustomUrl>> CustomUrlSettings::urls() const
{
    QList<std::shared_ptr<CustomUrl>> result;
    if (!managedObjectContext())
        return result;
    const auto owned = managedObjectContext()->fetchOwnedBy(CustomUrl::entityName(), *this);
    for (const auto &object : owned)
        result.append(std::static_pointer_cast<CustomUrl>(object));
    std::stable_sort(result.begin(), result.end(), [](const auto &a, const auto &b) {
        return a->createTime() < b->createTime();
    });
    return result;
}

void CustomUrlSettings::addUrlsObject(const std::shared_ptr<CustomUrl> &url)
{
    url->setOwner(std::const_pointer_cast<StoredRecord>(shared_from_this()));
}

void CustomUrlSettings::removeUrlsObject(const std::shared_ptr<CustomUrl> &url)
{
    if (url->owner().get() == this || url->owner() == nullptr)
        url->setOwner(nullptr);
}
