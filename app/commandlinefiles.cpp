#include "app/commandlinefiles.h"

#include "interfaces/device/osdfile.h"

#include <QDir>

CommandLineFiles::Checked CommandLineFiles::check(const QStringList &files)
{
    Checked checked;
    for (const QString &file : files) {
        // Read whole, as the import will: a damaged file is refused here, not in the middle of it.
        OsdFile::Contents contents;
        OsdFileError reason;
        if (OsdFile::read(file, &contents, &reason))
            checked.readable.append(file);
        else
            checked.refusals.append(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), reason.message()));
    }
    return checked;
}

QString CommandLineFiles::report(const QStringList &refusals)
{
    return tr("命令行中的 %n 个文件无法打开:\n%1", nullptr, refusals.size())
        .arg(refusals.join(QLatin1Char('\n')));
}
