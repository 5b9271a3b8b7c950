#pragma once

#include <QString>

// The names the text window shows for Qt's named colours (QColor::colorNames()), in the interface
// language: the keywords themselves are English and mean little to a Chinese operator.
namespace ColorNames {

// The shown name of a colour keyword; the keyword itself when it has none.
QString displayName(const QString &keyword);

} // namespace ColorNames
