#pragma once

#include <QTranslator>

namespace TestSupport {

// While it lives, the product speaks English: brisklane_en.qm, from the resources the tests link, is
// installed. The test executables install no translation otherwise (only the editor's and the
// tool's main() do), so every other test sees the Chinese texts whatever the machine's locale.
class EnglishTranslation
{
public:
    EnglishTranslation();
    ~EnglishTranslation();
    EnglishTranslation(const EnglishTranslation &) = delete;
    EnglishTranslation &operator=(const EnglishTranslation &) = delete;

    // False when the compiled translation is missing from the resources.
    bool isLoaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};

} // namespace TestSupport
