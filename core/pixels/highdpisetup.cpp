#include "core/pixels/highdpisetup.h"

#include <QGuiApplication>

void HighDpiSetup::prepare()
{
    // Widgets are laid out in device-independent pixels and drawn at the screen's density.
    QGuiApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    // Icons and style sheet pictures loaded from ":/...png" come back at the screen's density, so the
    // @2x files are drawn as they are instead of the 1x ones being blown up.
    QGuiApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    // Qt 5 rounds the screen's factor to a whole number by default: a 150 % screen would be drawn at
    // 200 %, everything a third larger than the operator set it. Passed through, 150 % stays 150 %.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}
