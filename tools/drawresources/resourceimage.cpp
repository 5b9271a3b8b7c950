#include "resourceimage.h"

#include "chromeicons.h"
#include "layouticons.h"
#include "texticons.h"
#include "toolbaricons.h"

#include <QPainter>

#include <algorithm>

namespace {
const Backdrop kPanel{QColor(69, 69, 69)};
const Backdrop kPanelHover{QColor(86, 86, 86)};
const Backdrop kPanelPressed{QColor(48, 48, 48)};
const Backdrop kScrollBar{QColor(79, 79, 79)};
const Backdrop kCutScrollBar{QColor(24, 24, 24)};
const Backdrop kComboBox{QColor(38, 38, 38)};
const Backdrop kPropertyPanel{QColor(50, 50, 50)};
// The platform menu of an item is light; the check box indicator draws into 10 x 10.
const Backdrop kLightMenu{QColor(239, 239, 239)};
const Backdrop kCheckBox{QColor(38, 38, 38), 10};
const Backdrop kTabBar{QColor(56, 56, 56), 12};
const Backdrop kSelectedTab{QColor(38, 38, 38), 12};
const Backdrop kCornerButton{QColor(56, 56, 56)};
const Backdrop kCornerButtonHover{QColor(86, 86, 86)};
// The text window's tool bar shows its icons at the style's 24 x 24.
const Backdrop kTextToolBar{QColor(26, 26, 26), 24};
const Backdrop kLightTitleBar{QColor(240, 240, 240)};
const Backdrop kDarkTitleBar{QColor(38, 38, 38)};

void addToolbarIcon(QVector<ResourceImage> &list, const QString &name, ResourceImage::DrawFunction draw)
{
    const QVector<Backdrop> states{kPanel, kPanelHover, kPanelPressed};
    list.append({QStringLiteral("osdimage/%1.png").arg(name), QSize(30, 30), 1, draw, states});
    list.append({QStringLiteral("osdimage/%1@2x.png").arg(name), QSize(30, 30), 2, draw, states});
}
} // namespace

QVector<ResourceImage> resourceImages()
{
    using namespace ChromeIcons;
    QVector<ResourceImage> list;
    addToolbarIcon(list, QStringLiteral("btn_toolbar_new"), ToolbarIcons::drawNew);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_leadingin"), ToolbarIcons::drawImport);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_leadingout"), ToolbarIcons::drawExport);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_image"), ToolbarIcons::drawPicture);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_text"), ToolbarIcons::drawText);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_overview"), LayoutIcons::drawOverview);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_open"), ToolbarIcons::drawOpen);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_recent"), ToolbarIcons::drawRecent);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_save"), ToolbarIcons::drawSave);
    addToolbarIcon(list, QStringLiteral("btn_toolbar_saveas"), ToolbarIcons::drawSaveAs);

    const QSize s16(16, 16);
    const QVector<Backdrop> panel{kPropertyPanel};
    const std::pair<const char *, ResourceImage::DrawFunction> aligns[] = {
        {"align_left", LayoutIcons::drawAlignLeft},       {"align_hcenter", LayoutIcons::drawAlignHCenter},
        {"align_right", LayoutIcons::drawAlignRight},     {"align_top", LayoutIcons::drawAlignTop},
        {"align_vcenter", LayoutIcons::drawAlignVCenter}, {"align_bottom", LayoutIcons::drawAlignBottom},
    };
    for (const auto &align : aligns) {
        list.append(
            {QStringLiteral("osdimage/%1.png").arg(QLatin1String(align.first)), s16, 1, align.second, panel});
        list.append({QStringLiteral("osdimage/%1@2x.png").arg(QLatin1String(align.first)), s16, 2,
                     align.second, panel});
    }
    list.append({QStringLiteral("osdimage/checked.png"), s16, 1, drawChecked, {kCheckBox, kLightMenu}});
    list.append({QStringLiteral("osdimage/tab_close.png"), s16, 1, drawTabClose, {kTabBar, kSelectedTab}});
    list.append(
        {QStringLiteral("osdimage/tab_close_hover.png"), s16, 1, drawTabCloseHover, {kTabBar, kSelectedTab}});
    list.append(
        {QStringLiteral("osdimage/tab_add.png"), s16, 1, drawTabAdd, {kCornerButton, kCornerButtonHover}});
    list.append({QStringLiteral("osdimage/tab_removeall.png"),
                 s16,
                 1,
                 drawTabRemoveAll,
                 {kCornerButton, kCornerButtonHover}});

    // At rest the bar shows the "_pressed" files; the "_normal" ones appear while held.
    const QVector<Backdrop> bar{kScrollBar};
    list.append({QStringLiteral("scrollbar/left_pressed.png"), s16, 1, drawScrollLeftRest, bar});
    list.append({QStringLiteral("scrollbar/right_pressed.png"), s16, 1, drawScrollRightRest, bar});
    list.append({QStringLiteral("scrollbar/up_pressed.png"), s16, 1, drawScrollUpRest, bar});
    list.append({QStringLiteral("scrollbar/down_pressed.png"), s16, 1, drawScrollDownRest, bar});
    list.append({QStringLiteral("scrollbar/left_normal.png"), s16, 1, drawScrollLeftHeld, bar});
    list.append({QStringLiteral("scrollbar/right_normal.png"), s16, 1, drawScrollRightHeld, bar});
    list.append({QStringLiteral("scrollbar/up_normal.png"), s16, 1, drawScrollUpHeld, bar});
    list.append({QStringLiteral("scrollbar/down_normal.png"), s16, 1, drawScrollDownHeld, bar});

    const QSize s32(32, 32);
    const QVector<Backdrop> textBar{kTextToolBar};
    list.append({QStringLiteral("TextExport/textbold.png"), s32, 1, TextIcons::drawBold, textBar});
    list.append({QStringLiteral("TextExport/textitalic.png"), s32, 1, TextIcons::drawItalic, textBar});
    list.append({QStringLiteral("TextExport/textunder.png"), s32, 1, TextIcons::drawUnderline, textBar});
    list.append({QStringLiteral("TextExport/export.png"), s32, 1, TextIcons::drawSend, textBar});
    list.append(
        {QStringLiteral("TextExport/combBoxDown_normal.png"), QSize(12, 12), 1, drawComboDown, {kComboBox}});
    list.append({QStringLiteral("osdimage/spin_up.png"), QSize(8, 7), 1, drawSpinUp, {kComboBox}});
    list.append({QStringLiteral("osdimage/spin_down.png"), QSize(8, 7), 1, drawSpinDown, {kComboBox}});

    list.append(
        {QStringLiteral("cutpanel/ICON_16.png"), s16, 1, drawCutWindowIcon, {kLightTitleBar, kDarkTitleBar}});
    const QVector<Backdrop> cutBar{kCutScrollBar};
    list.append({QStringLiteral("cutpanel/operArea/topnormal.png"), s16, 1, drawCutTopNormal, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/bottomnormal.png"), s16, 1, drawCutBottomNormal, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/leftnormal.png"), s16, 1, drawCutLeftNormal, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/rightnormal.png"), s16, 1, drawCutRightNormal, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/tophover.png"), s16, 1, drawCutTopHover, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/bottomhover.png"), s16, 1, drawCutBottomHover, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/lefthover.png"), s16, 1, drawCutLeftHover, cutBar});
    list.append({QStringLiteral("cutpanel/operArea/righthover.png"), s16, 1, drawCutRightHover, cutBar});

    // Every picture has its @2x twin, the same drawing at scale 2, so nothing is enlarged and
    // blurred on a high-density screen.
    const int drawn = list.size();
    for (int i = 0; i < drawn; ++i) {
        const ResourceImage &image = list[i];
        if (image.scale != 1)
            continue;
        QString twin = image.path;
        twin.insert(twin.lastIndexOf(QLatin1String(".png")), QLatin1String("@2x"));
        const bool twinned = std::any_of(list.cbegin(), list.cend(),
                                         [&](const ResourceImage &other) { return other.path == twin; });
        if (!twinned)
            list.append({twin, image.baseSize, 2, image.draw, image.backdrops});
    }
    return list;
}

QImage renderResource(const ResourceImage &resource)
{
    QImage image(resource.pixelSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(resource.scale, resource.scale);
    resource.draw(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
