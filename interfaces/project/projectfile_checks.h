#pragma once

// Private to the project file: what is checked before anything is written or read, and the range
// check of the reader's numbers.
#include "interfaces/project/projectfile.h"

#include <QString>

class QVariant;

namespace ProjectFileChecks {

// False, with the reason and the entry it concerns, when the state cannot be stored: beyond the
// limits, or with values the file could not give back equal.
bool checkState(const ProjectState &state, ProjectFile::Error *error);
// The header of an SQLite database (the first 100 bytes): why the file is not one, or is cut short;
// empty when it is whole.
QString headerProblem(const QString &path);
// A whole number column within [low, high].
bool integer(const QVariant &v, qint64 low, qint64 high, qint64 *out);

} // namespace ProjectFileChecks
