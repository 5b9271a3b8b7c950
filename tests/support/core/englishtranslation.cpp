#include "support/core/englishtranslation.h"

#include "core/text/translationinstaller.h"

#include <QCoreApplication>

namespace TestSupport {

EnglishTranslation::EnglishTranslation()
{
    m_loaded = m_translator.load(TranslationInstaller::resourceFor(LanguageChoice::English)) &&
               QCoreApplication::installTranslator(&m_translator);
}

EnglishTranslation::~EnglishTranslation()
{
    QCoreApplication::removeTranslator(&m_translator);
}

} // namespace TestSupport
