#pragma once

#include <QString>

class QDateTime;

namespace db {

// A text value as a statement literal: single quotes, inner quotes doubled.
QString quoted(const QString& value);

// Dates are stored as "YYYY-MM-DD HH:MM:SS" local time so that they sort and compare.
QString dateTimeText(const QDateTime& value);
QDateTime parseDateTime(const QString& text);

// The current date-time as it goes into statements, quoted.
QString nowLiteral();

}  // namespace db
