#pragma once

#include <QString>

class QTreeWidgetItem;

namespace store {
class PhotoLibrary;
}

// Small lookups on the Album table shared by the album commands and their dialogs. They run
// on the library's scratch query AdoTemp (closed again afterwards) and raise db::DbError from
// the engine.
namespace albums {

// True for an id as ids travel here: decimal digits only (at most 18, so it fits a 64-bit
// integer). Only such texts are put into statements as bare numbers.
bool isIdText(const QString& text);

// Raises albums::TreeError "指定的相册不存在。" unless `id` is an id text.
void requireIdText(const QString& id);

// True when `ancestorId` is a proper ancestor of `albumId`: the walk up the parent chain of
// `albumId` meets it before reaching the top ("0"). The album itself is not compared. A chain
// that breaks off (a parent naming no album, a NULL or non-numeric parent) or runs in a circle
// answers false. Texts that are not ids answer false without a lookup.
bool IsAncestorAlbum(store::PhotoLibrary& library, const QString& ancestorId,
                     const QString& albumId);

// The name of the album with `id`; false when there is no such album.
bool albumNameOf(store::PhotoLibrary& library, const QString& id, QString& name);

// The depth of a tree node: 0 for a top-level node.
int nodeLevel(const QTreeWidgetItem* node);

}  // namespace albums
