#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <iterator>

// Qt's names of the window's languages, in the order of table `language`.
static const char* const QT_LANGUAGES[] = {"en", "zh_CN", "zh_TW", "fr", "de", "ja"};

CQtTranslations::CQtTranslations(QObject* parent) : QObject(parent) {}

CQtTranslations::~CQtTranslations() {
    Apply(0);
}

void CQtTranslations::Apply(int language) {
    if (m_translator != nullptr) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
        m_translator = nullptr;
    }
    if (language <= 0 || language >= static_cast<int>(std::size(QT_LANGUAGES))) {
        return;
    }
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_") + QLatin1String(QT_LANGUAGES[language]),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        m_translator = translator;
    } else {
        delete translator; // not installed: Qt's English stays
    }
}
