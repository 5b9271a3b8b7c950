#include "support/notepadfixture.h"

#include "core/settings/config.h"

void NotePadFixture::initTestCase()
{
    m_config = new Config(m_folder.path());
}

void NotePadFixture::init()
{
    m_config->fontFamily = QStringLiteral("DejaVu Sans Mono");
    m_config->fontSize = 12;
    m_config->showLineNumber = true;
    m_config->tabIndents = false;
    m_config->autoIndent = false;
    m_config->backUnindent = false;
    m_config->spaceTabs = true;
    m_config->whitespaces = false;
    m_config->indentSize = 4;
    m_config->tabSize = 4;
}

void NotePadFixture::cleanupTestCase()
{
    delete m_config;
}
