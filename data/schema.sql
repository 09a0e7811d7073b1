-- The photo library: albums in a tree, photos stored whole, named values.
-- Text columns that statements order by use the locale collation every connection registers.
PRAGMA page_size = 65536;
PRAGMA user_version = 1;

CREATE TABLE Album (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    name      TEXT COLLATE LOCALE,
    parent_id INTEGER,
    remark    TEXT
);

CREATE TABLE picture (
    id          INTEGER PRIMARY KEY AUTOINCREMENT,
    album_id    INTEGER,
    pic_name    TEXT COLLATE LOCALE,
    pic_type    TEXT,
    create_date DATETIME,
    modify_date DATETIME,
    file_name   TEXT,
    file_size   INTEGER,
    remark      TEXT COLLATE LOCALE,
    pic_content BLOB
);
-- The photo list and the photo search read these columns of every photo they show. A photo's
-- row also holds the start of its bytes, so a scan of the table reads the photos' pages too;
-- this index holds the listed columns alone and answers those statements by itself. Its text
-- columns are ordered bytewise so that the index does not depend on the user's locale.
CREATE INDEX picture_album_id ON picture(album_id, pic_name COLLATE BINARY,
    remark COLLATE BINARY, create_date, modify_date, file_name, file_size);

CREATE TABLE parameter (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    parent_id INTEGER,
    pvalue    TEXT,
    domain_no TEXT,
    meaning   TEXT
);
CREATE INDEX parameter_domain_no ON parameter(domain_no);
