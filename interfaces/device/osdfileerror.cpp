#include "interfaces/device/osdfileerror.h"

#include <limits>

namespace {

// The count that picks a translation's plural form; every count past the int range is "many".
int plural(qint64 count)
{
    return int(qBound<qint64>(0, count, std::numeric_limits<int>::max()));
}

} // namespace

OsdFileError OsdFileError::fromSystem(Code code, const QString &reason)
{
    OsdFileError error(code);
    error.systemReason = reason;
    return error;
}

OsdFileError OsdFileError::atRecord(int index) const
{
    OsdFileError error = *this;
    error.record = index;
    return error;
}

QString OsdFileError::message() const
{
    const auto at = [this](int k) { return k < detail.size() ? detail.at(k) : qint64(0); };
    QString text;
    switch (code) {
    case None:
        return QString();
    case FileNotFound:
        text = tr("文件不存在");
        break;
    case NotRegularFile:
        text = tr("不是普通文件");
        break;
    case CannotOpen:
        text = tr("无法打开文件（%1）").arg(systemReason);
        break;
    case FileTooLarge:
        text = at(0) < 0 ? tr("文件过大（超过 %1 字节的上限）").arg(at(1))
                         : tr("文件过大（%1 字节，上限 %2 字节）").arg(at(0)).arg(at(1));
        break;
    case Empty:
        text = tr("文件为空");
        break;
    case NotOsdFile:
        text = tr("不是OSD文件（文件标识不符）");
        break;
    case HeaderTruncated:
        text = tr("文件已截断（只有 %1 字节）", nullptr, plural(at(0))).arg(at(0));
        break;
    case UnsupportedVersion:
        text = tr("文件格式版本 %1 不受支持（支持版本 %2）").arg(at(0)).arg(at(1));
        break;
    case BadHeaderFlags:
        text = tr("文件头标志位无效");
        break;
    case Truncated:
        text = tr("文件已截断（应为 %1 字节，实际 %2 字节）").arg(at(0)).arg(at(1));
        break;
    case ExtraBytes:
        text = tr("文件末尾有多余数据（应为 %1 字节，实际 %2 字节）").arg(at(0)).arg(at(1));
        break;
    case ShrankWhileReading:
        text = tr("文件在读取时变短");
        break;
    case ReadFailed:
        text = tr("读取失败（%1）").arg(systemReason);
        break;
    case RecordCountMismatch:
        text = tr("记录数 %1 与文件大小不符").arg(at(0));
        break;
    case BytesAfterRecords:
        text = tr("记录之后有 %1 字节多余数据", nullptr, plural(at(0))).arg(at(0));
        break;
    case ChecksumMismatch:
        text = tr("文件已损坏（校验和不符）");
        break;
    case OutOfMemory:
        text = tr("内存不足，无法读取文件");
        break;
    case DataPastEnd:
        text = tr("数据超出文件末尾");
        break;
    case BadRecordFlags:
        text = tr("标志位 0x%1 无效").arg(at(0), 2, 16, QLatin1Char('0'));
        break;
    case BadSize:
        text = tr("尺寸 %1×%2 无效").arg(at(0)).arg(at(1));
        break;
    case BadCompletionWidth:
        text = tr("补齐宽度 %1 无效").arg(at(0));
        break;
    case BadKeyValues:
        text = tr("颜色值 (%1,%2,%3) 无效").arg(at(0)).arg(at(1)).arg(at(2));
        break;
    case BadFillColor:
        text = tr("填充色无效");
        break;
    case PixelLengthMismatch:
        text = tr("像素数据长度 %1 与尺寸不符（应为 %2）").arg(at(0)).arg(at(1));
        break;
    case PixelDataPastEnd:
        text = tr("像素数据超出文件末尾");
        break;
    case PixelDataTooLarge:
        text = tr("像素数据过大（%1 字节，上限 %2 字节）").arg(at(0)).arg(at(1));
        break;
    case SourcePastEnd:
        text = tr("文字数据超出文件末尾");
        break;
    case TextTooLong:
        text = at(0) < 0 ? tr("文字内容过长（上限 %1 字节）").arg(at(1))
                         : tr("文字内容过长（%1 字节，上限 %2 字节）").arg(at(0)).arg(at(1));
        break;
    case TextNotUtf8:
        text = tr("文字内容不是有效的UTF-8");
        break;
    case FontNameTooLong:
        text = tr("字体名称过长（上限 %1 字节）").arg(at(0));
        break;
    case FontNameNotUtf8:
        text = tr("字体名称不是有效的UTF-8");
        break;
    case FontNameCountMismatch:
        text = tr("字体名称个数 %1 与文件大小不符").arg(at(0));
        break;
    case BadFontResolveMask:
        text = tr("字体设置位无效");
        break;
    case BadFontSize:
        text = tr("字号无效");
        break;
    case BadFontWeight:
        text = tr("字重 %1 无效").arg(at(0));
        break;
    case BadFontStyle:
        text = tr("字形 %1 无效").arg(at(0));
        break;
    case BadFontStyleHint:
        text = tr("字体类别 %1 无效").arg(at(0));
        break;
    case BadFontStyleStrategy:
        text = tr("字体匹配方式无效");
        break;
    case BadFontStretch:
        text = tr("字体拉伸 %1 无效").arg(at(0));
        break;
    case BadCapitalization:
        text = tr("大小写方式 %1 无效").arg(at(0));
        break;
    case BadFontSpacing:
        text = tr("字距无效");
        break;
    case BadHintingPreference:
        text = tr("字体微调方式 %1 无效").arg(at(0));
        break;
    case BadFontFlags:
        text = tr("字体标志位无效");
        break;
    case BadTextColor:
        text = tr("文字颜色无效");
        break;
    case ListsDiffer:
        text = tr("记录数 %1 与文字数据数 %2 不一致").arg(at(0)).arg(at(1));
        break;
    case NullRecord:
        text = tr("记录为空");
        break;
    case CannotCreate:
        text = tr("无法创建文件（%1）").arg(systemReason);
        break;
    case WriteFailed:
        text = tr("写入失败（%1）").arg(systemReason);
        break;
    case NotStarted:
        text = tr("文件尚未开始写入");
        break;
    case LengthBelowCount:
        text = tr("文件长度 %1 容不下 %2 条记录", nullptr, plural(at(1))).arg(at(0)).arg(at(1));
        break;
    case MoreRecordsThanStated:
        text = tr("记录多于文件头所写的 %1 条").arg(at(0));
        break;
    case RecordPastStatedLength:
        text = tr("记录长度 %1 字节，超出文件头所写的文件长度 %2 字节").arg(at(0)).arg(at(1));
        break;
    case FewerRecordsThanStated:
        text = tr("只写了 %1 条记录，文件头写的是 %2 条", nullptr, plural(at(0))).arg(at(0)).arg(at(1));
        break;
    case RecordsShortOfStatedLength:
        text = tr("记录共 %1 字节，与文件头所写的文件长度 %2 字节不符").arg(at(0)).arg(at(1));
        break;
    case Cancelled:
        text = tr("写入已取消");
        break;
    }
    if (record >= 0)
        return tr("第 %1 条记录：%2").arg(record + 1).arg(text);
    return text;
}
