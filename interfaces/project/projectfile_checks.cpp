#include "interfaces/project/projectfile_checks.h"

#include "core/geometry/outputscreen.h"
#include "core/pixels/pictureloader.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"
#include "interfaces/project/projectfile_codec.h"

#include <QFile>
#include <QSet>
#include <QVariant>
#include <QtEndian>

#include <cstring>

namespace ProjectFileChecks {

using namespace OsdFileCodec;

bool checkState(const ProjectState &state, ProjectFile::Error *error)
{
    auto fail = [error](int number, const QString &why) {
        error->entryNumber = number;
        error->reason = why;
        return false;
    };
    if (state.entries.size() > ProjectFile::MaxEntries)
        return fail(
            0,
            ProjectFile::tr("%1 个条目，超过上限 %2").arg(state.entries.size()).arg(ProjectFile::MaxEntries));
    if (!OutputScreen::isValidSize(state.screen))
        return fail(
            0,
            ProjectFile::tr("输出屏幕尺寸 %1×%2 无效").arg(state.screen.width()).arg(state.screen.height()));
    if (state.current < 0 || state.current >= qMax(1, state.entries.size()))
        return fail(0, ProjectFile::tr("当前标签 %1 无效").arg(state.current));
    QSet<int> ids;
    QSet<int> numbers;
    for (const ProjectState::Entry &saved : state.entries) {
        const OsdEntry &e = saved.entry;
        if (e.id <= 0 || ids.contains(e.id))
            return fail(e.number, ProjectFile::tr("条目编号 %1 无效或重复").arg(e.id));
        if (e.number <= 0 || numbers.contains(e.number))
            return fail(e.number, ProjectFile::tr("名称编号 %1 无效或重复").arg(e.number));
        ids.insert(e.id);
        numbers.insert(e.number);
        if (e.original.size() > PictureLoader::MaxFileSize)
            return fail(e.number, ProjectFile::tr("图片文件过大（%1 字节，上限 %2 字节）")
                                      .arg(e.original.size())
                                      .arg(PictureLoader::MaxFileSize));
        if (e.original.isEmpty() && !e.source.isNull() && !ProjectFileCodec::storablePixels(e.source))
            return fail(e.number, ProjectFile::tr("图片格式或尺寸无法保存（%1×%2，每像素 %3 位）")
                                      .arg(e.source.width())
                                      .arg(e.source.height())
                                      .arg(e.source.depth()));
        if (e.text.content.toUtf8().size() > OsdFile::MaxTextSize)
            return fail(e.number, ProjectFile::tr("文字内容过长（超过 %1 字节）").arg(OsdFile::MaxTextSize));
        const FontFields font = fontFields(e.text.font);
        if (fontFieldsProblem(font).isError())
            return fail(e.number, ProjectFile::tr("字体无法保存"));
        const QColor colours[] = {e.text.colour,       e.key.begin,          e.key.end,
                                  e.key.fill,          e.key.picked,         saved.output.keyBegin,
                                  saved.output.keyEnd, saved.output.keyFill, saved.output.record.fill};
        for (const QColor &colour : colours) {
            if (!validRawColor(rawColor(colour)))
                return fail(e.number, ProjectFile::tr("颜色无法保存"));
        }
    }
    return true;
}

QString headerProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProjectFile::tr("无法打开文件（%1）").arg(file.errorString());
    const qint64 size = file.size();
    const QByteArray header = file.read(100);
    static const char magic[] = "SQLite format 3";
    if (header.size() < 16 || std::memcmp(header.constData(), magic, 16) != 0)
        return ProjectFile::tr("不是项目文件（不是 SQLite 数据库）");
    if (header.size() < 100)
        return ProjectFile::tr("文件已截断（只有 %1 字节）").arg(size);
    const auto *p = reinterpret_cast<const uchar *>(header.constData());
    const quint32 pageField = qFromBigEndian<quint16>(p + 16);
    const qint64 pageSize = pageField == 1 ? 65536 : pageField;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return ProjectFile::tr("文件已损坏（页大小 %1 无效）").arg(pageSize);
    // The page count in the header is valid while the change counter matches its copy.
    const quint32 pages = qFromBigEndian<quint32>(p + 28);
    const bool countValid = qFromBigEndian<quint32>(p + 24) == qFromBigEndian<quint32>(p + 92) && pages > 0;
    if (size % pageSize != 0 || (countValid && size < qint64(pages) * pageSize))
        return ProjectFile::tr("文件已截断（%1 字节，应为 %2 字节）")
            .arg(size)
            .arg(countValid ? qint64(pages) * pageSize : (size / pageSize + 1) * pageSize);
    return QString();
}

bool integer(const QVariant &v, qint64 low, qint64 high, qint64 *out)
{
    if (v.type() != QVariant::LongLong && v.type() != QVariant::Int)
        return false;
    const qint64 value = v.toLongLong();
    if (value < low || value > high)
        return false;
    *out = value;
    return true;
}

} // namespace ProjectFileChecks
