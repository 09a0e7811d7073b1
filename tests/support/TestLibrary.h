#pragma once

class QString;

// Library files for tests: made from the schema the template library is built from, or
// copies of the template itself.
namespace testsupport {

// The statements of data/schema.sql; empty when the file cannot be read.
QString schemaSql();

// Makes path an empty library: the file is created (or emptied) and the schema laid into it
// through a connection of its own, closed again before this returns. False when the file
// cannot be written or the schema cannot be read; a failing statement raises db::DbError.
bool makeEmptyLibrary(const QString& path);

// Copies the template library the build made (Model.dll in FOTARIX_BUILD_DIR) to path, which
// must not exist yet, and makes the copy writable by its owner. False when either fails.
bool copyTemplateLibrary(const QString& path);

}  // namespace testsupport
