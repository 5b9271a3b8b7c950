#pragma once

#include "core/document/projectstate.h"

#include <QByteArray>
#include <QImage>

// Project states as the editor holds them, for the tests of project files.
namespace Projects {

// The picture file's bytes ("png", "jpg", "bmp").
QByteArray fileBytes(const QImage &image, const char *format);

// An entry for a picture file's bytes as the editor makes it: the source on the editor's road, a
// new picture record at position.
ProjectState::Entry pictureEntry(int id, const QByteArray &original, const QPoint &position = QPoint());
// A text entry with its rendering as source.
ProjectState::Entry textEntry(int id, const QString &text, const QFont &font, const QColor &colour);

// The OSD file the editor writes for the state (ItemRecords::entryRecord, OsdFile::encode); empty
// when it cannot be encoded.
QByteArray osdFileOf(const ProjectState &state);

} // namespace Projects
