#pragma once

class QIcon;

// The pictures of the album picker's nodes, drawn here so that no image file is needed:
// index 0 (a gold folder) for a top-level album, index 1 (a small photo) for an album below it.
// Each call returns the same shared icon, so icons compare by cacheKey().
namespace albums {

QIcon topAlbumIcon();
QIcon albumIcon();

}  // namespace albums
