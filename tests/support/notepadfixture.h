#pragma once

#include "support/core/settingsfolder.h"

#include <QObject>

class Config;

// The editor's tests: one set of settings for the run, put back to plain editing before each test.
class NotePadFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

protected:
    TestSupport::SettingsFolder m_folder;
    Config *m_config = nullptr;
};
