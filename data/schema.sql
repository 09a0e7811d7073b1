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
CREATE INDEX picture_album_id ON picture(album_id);

CREATE TABLE parameter (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    parent_id INTEGER,
    pvalue    TEXT,
    domain_no TEXT,
    meaning   TEXT
);
CREATE INDEX parameter_domain_no ON parameter(domain_no);
