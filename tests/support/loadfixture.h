#pragma once

#include <QObject>
#include <QTemporaryDir>

// The load tests: a folder for their files, the window's developer lines silenced, and a data
// model emptied before each test.
class LoadFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();

protected:
    QTemporaryDir m_dir;
};
