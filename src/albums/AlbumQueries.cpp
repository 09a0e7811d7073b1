#include "albums/AlbumQueries.h"

#include <QSet>
#include <QTreeWidgetItem>

#include "albums/TreeError.h"
#include "platform/db/Query.h"
#include "store/PhotoLibrary.h"

namespace albums {
namespace {

// Closes the scratch query when a lookup ends, also when it raises.
class TempClose final {
public:
    explicit TempClose(db::Query& query) : m_query(query) {}
    ~TempClose() { m_query.close(); }
    TempClose(const TempClose&) = delete;
    TempClose& operator=(const TempClose&) = delete;

private:
    db::Query& m_query;
};

}  // namespace

bool isIdText(const QString& text) {
    if (text.isEmpty() || text.size() > 18) return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

void requireIdText(const QString& id) {
    if (!isIdText(id)) throw TreeError(QStringLiteral("指定的相册不存在。"));
}

bool IsAncestorAlbum(store::PhotoLibrary& library, const QString& ancestorId,
                     const QString& albumId) {
    if (!isIdText(ancestorId) || !isIdText(albumId)) return false;
    QSet<QString> visited;
    QString current = albumId;
    while (current != u"0") {
        if (visited.contains(current)) return false;  // a parent cycle that misses the ancestor
        visited.insert(current);
        db::Query& q =
            library.temp(QStringLiteral("select parent_id from Album where id = ") + current);
        const TempClose closer(q);
        q.open();
        if (q.isEmpty()) return false;  // the chain names an album that is gone
        const QString parent = q.asText(QStringLiteral("parent_id"));
        if (parent == ancestorId) return true;
        if (!isIdText(parent)) return false;
        current = parent;
    }
    return false;
}

bool albumNameOf(store::PhotoLibrary& library, const QString& id, QString& name) {
    if (!isIdText(id)) return false;
    db::Query& q = library.temp(QStringLiteral("select name from album where  id = ") + id);
    const TempClose closer(q);
    q.open();
    if (q.isEmpty()) return false;
    name = q.asText(QStringLiteral("name"));
    return true;
}

int nodeLevel(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent()) ++level;
    return level;
}

}  // namespace albums
