#pragma once

#include "support/core/settingsfolder.h"

#include <QObject>

class Config;
class ExportTextImage;

// The text image window's tests: each test gets settings of its own and at most one window, which
// goes when the test ends.
class ExportTextImageFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    QString settingsFile() const { return m_folder.file(); }
    // A window of 600 x 350 whose images may be 560 x 300 at most.
    ExportTextImage *openWindow();

    TestSupport::SettingsFolder m_folder;
    Config *m_config = nullptr;
    ExportTextImage *m_window = nullptr;
};
