#include "actions/text/customurllibrary.h"

#include <QCoreApplication>

namespace {

CustomUrlLibrary::Entry site(const char *name, const char *url)
{
    return {QString::fromUtf8(name), false, QString::fromUtf8(url)};
}

CustomUrlLibrary::Entry keyed(const char *key, const char *url)
{
    return {QString::fromUtf8(key), true, QString::fromUtf8(url)};
}

} // namespace

const QList<CustomUrlLibrary::Entry> &CustomUrlLibrary::entries()
{
    static const QList<Entry> library{
        site("Google", "https://www.google.com/search?q={text}"),
        site("YouTube", "https://m.youtube.com/results?q={text}"),
        site("Amazon", "https://www.amazon.com/gp/aw/s/?k={text}"),
        site("Wikipedia", "https://en.wikipedia.org/wiki/{text}"),
        site("DuckDuckGo", "https://duckduckgo.com/?q={text}"),
        site("YAHOO", "https://search.yahoo.com/search?p={text}"),
        site("Twitter", "https://twitter.com/search?q={text}"),
        site("Facebook", "https://www.facebook.com/search/results/?q={text}"),
        site("Instagram", "https://www.instagram.com/explore/tags/{text}"),
        site("Tumblr", "https://www.tumblr.com/search/{text}"),
        site("Pinterest", "https://www.pinterest.com/search/?q={text}"),
        site("eBay", "https://www.ebay.com/sch/i.html?_nkw={text}"),
        site("Bing Image", "https://www.bing.com/images/search?q={text}"),
        site("Dribbble", "https://dribbble.com/search?q={text}"),
        site("Behance", "https://www.behance.net/search?search={text}"),
        site("Github", "https://github.com/search?q={text}"),
        site("Stack Overflow", "https://stackoverflow.com/search?q={text}"),
        site("Bing", "https://www.bing.com/search?q={text}"),
        keyed("Baidu", "https://www.baidu.com/s?word={text}"),
        keyed("Weibo", "https://s.weibo.com/weibo/{text}"),
        keyed("Wechat", "https://weixin.sogou.com/weixinwap?query={text}"),
        keyed("Zhihu", "https://www.zhihu.com/search?type=question&amp;q={text}"),
        keyed("Taobao", "https://s.m.taobao.com/h5?q={text}"),
        keyed("JD", "https://search.jd.com/Search?keyword={text}&enc=utf-8&wq={text}"),
        keyed("Translate to English", "https://translate.google.com/m/translate#auto/en/{text}"),
        keyed("Translate to Chinese", "https://translate.google.com/m/translate#auto/zh-CN/{text}"),
        keyed("Search Flathub", "https://flathub.org/apps/search?q={text}"),
        keyed("Send Email", "mailto:someone@example.com?subject=title&body={text}"),
    };
    return library;
}

QString CustomUrlLibrary::displayName(const Entry &entry)
{
    return entry.nameIsKey ? qtTrId(entry.name.toUtf8().constData()) : entry.name;
}
